#include "analysis_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis_fields.h"
#include "caption_parts.h"
#include "crossed_design.h"
#include "input_checks.h"
#include "number_pattern.h"
#include "number_reader.h"
#include "record_set.h"
#include "session.h"
#include "twips.h"
#include "twips_placement.h"
#include "typing_limit.h"

namespace {

struct ReferenceMode {
    const char* item;
    bool value;   // Text4
    bool limits;  // Text6, Text7
    const char* valueCaption;
};

const ReferenceMode kModes[] = {
    {"Tolerancja badanej charakterystyki, nieznane Cp", true, true, "Założone Cp"},
    {"Tolerancja badanej charakterystyki, znane Cp", true, true, "Cp procesu"},
    {"Znane odchylenie standardowe procesu S", true, false, "Odchylenie S"},
    {"Zmienność całkowita TV", false, false, ""},
    {"Tolerancja charakterystyki", false, true, ""},
};

// The fields the editor writes, in the order it writes them, with their controls; an
// edit writes the same list from "Temperatura" on (number, N, K, R and date stay).
struct FieldControl {
    const char* field;
    const char* control;
};
const FieldControl kFields[] = {
    {"Numer", "Text11"},      {"LiczbaN", "Combo1"},   {"LiczbaK", "Combo2"},
    {"LiczbaR", "Combo3"},    {"Data", "Text12"},      {"Temperatura", "Text13"},
    {"Wilgotnosc", "Text14"}, {"NazwaC", "Text1"},     {"NUmerC", "Text2"},
    {"Parametr", "Text3"},    {"WN", "Text4"},         {"GWG", "Text6"},
    {"DWG", "Text7"},         {"Jednostka", "Text5"},  {"NazwaP", "Text8"},
    {"NumerP", "Text9"},      {"ZakresP", "Text10"},   {"BladP", "Text15"},
    {"NazwaT", "Combo4"},     {"Wzorzec", "Text16"},   {"Rozdzielczosc", "Text17"},
    {"ZmProc", "Text18"},     {"Akceptacja", "Text19"}};
constexpr std::size_t kFirstEditedField = 5;
constexpr std::size_t kDateField = 4;
const char* const kLockedInEdit[] = {"Text11", "Combo1", "Combo2", "Combo3", "Text12"};
// The fields of one kind only.
const char* const kCrossedOnly[] = {"LiczbaN", "LiczbaK", "LiczbaR", "WN"};
const char* const kType1Only[] = {"Wzorzec", "Rozdzielczosc"};

bool belongsTo(const char* field, StudyKind kind) {
    const auto named = [field](const char* f) { return qstrcmp(f, field) == 0; };
    return kind == StudyKind::Crossed
               ? std::none_of(std::begin(kType1Only), std::end(kType1Only), named)
               : std::none_of(std::begin(kCrossedOnly), std::end(kCrossedOnly), named);
}

// The field a control writes; "" for none.
const char* fieldOf(const char* control) {
    for (const FieldControl& f : kFields) {
        if (qstrcmp(f.control, control) == 0) {
            return f.field;
        }
    }
    return "";
}

QString missing(const char* what) {
    return QString::fromUtf8("Nie wprowadzono %1 - Popraw").arg(QString::fromUtf8(what));
}

}  // namespace

NowaA::NowaA(Session& session, Dialogs& dialogs, Mode mode, QWidget* parent)
    : QDialog(parent), session_(session), dialogs_(dialogs), mode_(mode) {
    setObjectName(QStringLiteral("NowaA"));
    setWindowTitle(QString::fromUtf8(mode == Mode::New ? kNewCaption : kEditCaption));
    layOut();
    // The window opens with N = 10, K = 2, R = 2 and the first reference mode.
    list("Combo1")->setCurrentIndex(list("Combo1")->count() - 1);
    list("Combo2")->setCurrentIndex(0);
    list("Combo3")->setCurrentIndex(0);
    list("Combo5")->setCurrentIndex(0);
    // The reference mode shows and hides inputs and recaptions element 0; the others
    // keep their places.
    int widestCaption = 0;
    for (const ReferenceMode& m : kModes) {
        widestCaption =
            qMax(widestCaption,
                 labels_[0]->fontMetrics().horizontalAdvance(QString::fromUtf8(m.valueCaption)));
    }
    labels_[0]->setMinimumWidth(widestCaption);
    for (QWidget* w : std::initializer_list<QWidget*>{box("Text4"), box("Text6"), box("Text7"),
                                                      labels_[0], labels_[5], labels_[6]}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    setReferenceMode(0);
    setKind(StudyKind::Crossed);
    centreOnScreen();
}

QLineEdit* NowaA::box(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

QComboBox* NowaA::list(const char* name) const {
    return findChild<QComboBox*>(QString::fromLatin1(name));
}

QString NowaA::controlText(const char* name) const {
    if (QLineEdit* edit = box(name)) {
        return edit->text();
    }
    return list(name)->currentText();
}

void NowaA::fixCounts(int parts, int appraisers, int trials) {
    const std::pair<const char*, int> counts[] = {
        {"Combo1", parts}, {"Combo2", appraisers}, {"Combo3", trials}};
    for (const auto& [name, count] : counts) {
        QComboBox* combo = list(name);
        combo->setCurrentIndex(combo->findText(QString::number(count)));
        combo->setEnabled(false);
    }
}

QString NowaA::analysisNumber() const {
    return box("Text11")->text();
}

void NowaA::propose(const QString& number, const QString& date) {
    TypingLimit::put(box("Text11"), number);
    TypingLimit::put(box("Text12"), date);
}

void NowaA::fillFrom(const RecordSet& analysis) {
    const RegionalSettings& rs = session_.regional();
    for (const FieldControl& fc : kFields) {
        const QString text = analysis.field(QString::fromLatin1(fc.field)).toText(rs);
        if (QLineEdit* edit = box(fc.control)) {
            TypingLimit::put(edit, text);
        } else if (qstrcmp(fc.control, "Combo4") != 0) {
            list(fc.control)->setCurrentText(text);  // selects the matching item
        }
    }
    const Value kindField = analysis.field(QStringLiteral("Rodzaj"));
    setKind(kindField.isText() ? kindNamed(kindField.text()).value_or(StudyKind::Crossed)
                               : StudyKind::Crossed);
    const Value mode = analysis.field(QStringLiteral("CoRef"));
    if (mode.number() >= 0 && mode.number() <= 4) {
        list("Combo5")->setCurrentIndex(static_cast<int>(mode.number()));
    }
    for (const char* name : kLockedInEdit) {
        findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(false);
    }
}

void NowaA::fillFields(const QVector<std::pair<QString, QString>>& fields,
                       std::optional<QChar> decimal) {
    const RegionalSettings& rs = session_.regional();
    for (const auto& [name, given] : fields) {
        if (name.compare(QLatin1String("CoRef"), Qt::CaseInsensitive) == 0) {
            const auto mode = AnalysisFields::readNumber(given);
            if (mode && *mode >= 0 && *mode <= 4) {
                list("Combo5")->setCurrentIndex(static_cast<int>(*mode));
            }
            continue;
        }
        const auto fc = std::find_if(std::begin(kFields), std::end(kFields), [&](auto& f) {
            return name.compare(QLatin1String(f.field), Qt::CaseInsensitive) == 0;
        });
        // the number and the counts are not the file's to give; the date is
        const auto index = static_cast<std::size_t>(fc - std::begin(kFields));
        if (fc == std::end(kFields) || (index < kFirstEditedField && index != kDateField)) {
            continue;
        }
        const auto number = AnalysisFields::readNumber(given, decimal);
        if (QLineEdit* edit = box(fc->control)) {
            TypingLimit::put(edit, number ? formatGeneralNumber(*number, rs) : given);
        } else if (const int item = list(fc->control)->findText(given); item >= 0) {
            list(fc->control)->setCurrentIndex(item);  // a profile that exists here
        }
    }
}

void NowaA::fillProfiles(RecordSet& profiles, const QString& selectedName) {
    QComboBox* combo = list("Combo4");
    combo->clear();
    combo->addItem(QStringLiteral("Brak"));
    int selected = 0;
    for (profiles.moveFirst(); !profiles.isEof(); profiles.moveNext()) {
        const QString name = profiles.field(QStringLiteral("Nazwa")).toText(session_.regional());
        combo->addItem(name);
        if (!selectedName.isNull() && name == selectedName) {
            selected = combo->count() - 1;  // the last of equal names wins
        }
    }
    combo->setCurrentIndex(selected);
}

QString NowaA::profileTransmission(const QString& name) {
    if (name == QLatin1String("Brak")) {
        return QStringLiteral("X");
    }
    RecordSet& profiles = session_.profiles();
    profiles.moveFirst();
    if (profiles.find(QStringLiteral("Nazwa"), Value(name))) {
        return profiles.field(QStringLiteral("Transmisja")).toText(session_.regional());
    }
    return QStringLiteral("X");
}

void NowaA::storeInto(RecordSet& analysis) {
    const std::size_t first = isNewMode() ? 0 : kFirstEditedField;
    for (std::size_t i = first; i < std::size(kFields); ++i) {
        if (!belongsTo(kFields[i].field, kind_)) {
            continue;
        }
        // A text the field cannot hold (a hidden box left with letters) is not stored.
        (void)analysis.setField(QString::fromLatin1(kFields[i].field),
                                Value(controlText(kFields[i].control)));
    }
    if (kind_ != StudyKind::Crossed) {
        if (isNewMode()) {
            (void)analysis.setField(QStringLiteral("Rodzaj"), Value(nameOf(kind_)));
        }
    } else {
        (void)analysis.setField(QStringLiteral("CoRef"), Value(list("Combo5")->currentIndex()));
    }
    (void)analysis.setField(QStringLiteral("Setings"),
                            Value(profileTransmission(controlText("Combo4"))));
}

QLineEdit* NowaA::addBox(const char* name, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0) {
        TypingLimit::apply(edit, maxLength);
    }
    return edit;
}

QComboBox* NowaA::addList(const char* name, const QStringList& items) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

QComboBox* NowaA::addCountList(const char* name, int first, int last) {
    QStringList counts;
    for (int count = first; count <= last; ++count) {
        counts << QString::number(count);
    }
    return addList(name, counts);
}

QLabel* NowaA::addLabel(int index, const QString& caption) {
    auto* label = new QLabel(CaptionParts::split(caption).label, this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setProperty("caption", caption);
    labels_[static_cast<std::size_t>(index)] = label;
    return label;
}

namespace {

// The editor's controls in their tab order, each with its group box, its place in the
// group's grid and its caption (Label1 element): a box, a list of counts (the crossed
// study's limits), the reference modes or the gauge profiles. The values of the reference
// stand in one line under the reference mode. A caption padded before a unit puts the
// unit after the box.
enum class Control { Box, Parts, Appraisers, Trials, Reference, Profiles, ReferenceValue };

}  // namespace

struct NowaA::Place {
    int group;
    int row;
    int column;
    int label;
    const char* caption;
    const char* name;
    Control control;
};

namespace {

const char* const kGroups[] = {"Parametry analizy", "Opis części", "Opis przyrządu"};

const NowaA::Place kPlaces[] = {
    {0, 0, 0, 11, "Numer analizy :", "Text11", Control::Box},
    {0, 0, 3, 15, "Liczba części N :", "Combo1", Control::Parts},
    {0, 1, 3, 16, "Liczba oceniających K :", "Combo2", Control::Appraisers},
    {0, 2, 3, 17, "Liczba powtórzeń R :", "Combo3", Control::Trials},
    {0, 1, 0, 12, "Data :", "Text12", Control::Box},
    {0, 2, 0, 13, "Temperatura :              °C", "Text13", Control::Box},
    {0, 3, 0, 14, "Wilgotność :              %", "Text14", Control::Box},
    {1, 0, 0, 1, "Nazwa :", "Text1", Control::Box},
    {1, 1, 0, 2, "Numer :", "Text2", Control::Box},
    {1, 2, 0, 3, "Charakterystyka :", "Text3", Control::Box},
    {1, 3, 0, 4, "Jednostka :", "Text5", Control::Box},
    {1, 4, 0, 7, "RF przyjmij z :", "Combo5", Control::Reference},
    {1, 5, 0, 0, "", "Text4", Control::ReferenceValue},
    {1, 5, 0, 5, "GWG", "Text6", Control::ReferenceValue},
    {1, 5, 0, 6, "DWG", "Text7", Control::ReferenceValue},
    {2, 0, 0, 8, "Nazwa :", "Text8", Control::Box},
    {2, 1, 0, 9, "Numer :", "Text9", Control::Box},
    {2, 2, 0, 10, "Zakres :", "Text10", Control::Box},
    {2, 3, 0, 18, "Błąd wskazań :", "Text15", Control::Box},
    {2, 4, 0, 19, "Transmisja danych : ", "Combo4", Control::Profiles},
    {1, 6, 0, 20, "Wzorzec xm :", "Text16", Control::Box},
    {2, 5, 0, 21, "Rozdzielczość :", "Text17", Control::Box},
    {1, 7, 0, 22, "Zmienność procesu PV :", "Text18", Control::Box},
    {1, 8, 0, 23, "Decyzja przyjęcia :", "Text19", Control::Box},
};

}  // namespace

QWidget* NowaA::addControl(const Place& place) {
    switch (place.control) {
        case Control::Parts:
            return addCountList(place.name, CrossedDesign::kFewestParts, CrossedDesign::kMostParts);
        case Control::Appraisers:
            return addCountList(place.name, CrossedDesign::kFewestAppraisers,
                                CrossedDesign::kMostAppraisers);
        case Control::Trials:
            return addCountList(place.name, CrossedDesign::kFewestTrials,
                                CrossedDesign::kMostTrials);
        case Control::Reference: {
            QStringList modes;
            for (const ReferenceMode& m : kModes) {
                modes << QString::fromUtf8(m.item);
            }
            QComboBox* reference = addList(place.name, modes);
            connect(reference, qOverload<int>(&QComboBox::currentIndexChanged), this,
                    &NowaA::setReferenceMode);
            return reference;
        }
        case Control::Profiles:
            return addList(place.name, {});
        case Control::Box:
        case Control::ReferenceValue:
            break;
    }
    return addBox(place.name, AnalysisFields::maxLength(fieldOf(place.name)));
}

void NowaA::layOut() {
    auto* outer = new QVBoxLayout(this);
    QGridLayout* grids[std::size(kGroups)] = {};
    for (std::size_t g = 0; g < std::size(kGroups); ++g) {
        auto* group = new QGroupBox(QString::fromUtf8(kGroups[g]), this);
        grids[g] = new QGridLayout(group);
        outer->addWidget(group);
    }
    auto* referenceValues = new QHBoxLayout;
    grids[1]->addLayout(referenceValues, 5, 0, 1, 3);
    QWidget* previous = nullptr;
    for (const NowaA::Place& place : kPlaces) {
        const QString caption = QString::fromUtf8(place.caption);
        QLabel* label = addLabel(place.label, caption);
        QWidget* control = addControl(place);
        QGridLayout* grid = grids[place.group];
        const QString unit = CaptionParts::split(caption).unit;
        if (place.control == Control::ReferenceValue) {
            referenceValues->addWidget(label);
            referenceValues->addWidget(control);
        } else if (unit.isEmpty()) {
            grid->addWidget(label, place.row, place.column);
            grid->addWidget(control, place.row, place.column + 1, 1, 2);
        } else {
            grid->addWidget(label, place.row, place.column);
            grid->addWidget(control, place.row, place.column + 1);
            grid->addWidget(new QLabel(unit), place.row, place.column + 2);
        }
        if (previous) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
    grids[2]->addLayout(addButtons(previous), 0, 3, 5, 1);
    box("Text11")->setFocus();
}

// "Zapisz" and "Anuluj" beside the instrument, last in the tab order.
QLayout* NowaA::addButtons(QWidget* previous) {
    auto* buttons = new QVBoxLayout;
    auto* save = new QPushButton(QStringLiteral("&Zapisz"), this);
    save->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(save, &QPushButton::clicked, this, &NowaA::save);
    connect(cancel, &QPushButton::clicked, this, &NowaA::reject);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addStretch();
    setTabOrder(previous, save);
    setTabOrder(save, cancel);
    return buttons;
}

void NowaA::centreOnScreen() {
    const QSize designed(Twips::toPixels(7035, logicalDpiX()),
                         Twips::toPixels(4455, logicalDpiY()));
    resize(designed.expandedTo(sizeHint()));
    ::centreOnScreen(this, width(), height());
}

void NowaA::setReferenceMode(int mode) {
    if (mode < 0 || mode >= 5) {
        return;
    }
    const ReferenceMode& m = kModes[mode];
    box("Text4")->setVisible(m.value);
    labels_[0]->setVisible(m.value);
    labels_[0]->setText(QString::fromUtf8(m.valueCaption));
    for (const char* name : {"Text6", "Text7"}) {
        box(name)->setVisible(m.limits);
    }
    labels_[5]->setVisible(m.limits);
    labels_[6]->setVisible(m.limits);
}

void NowaA::setKind(StudyKind kind) {
    kind_ = kind;
    const bool crossed = kind == StudyKind::Crossed;
    for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo5"}) {
        list(name)->setVisible(crossed);
    }
    for (const int label : {15, 16, 17, 7}) {
        labels_[static_cast<std::size_t>(label)]->setVisible(crossed);
    }
    const bool type1 = kind == StudyKind::Type1;
    const bool linearity = kind == StudyKind::Linearity;
    for (const char* name : {"Text16", "Text17"}) {
        box(name)->setVisible(type1);
    }
    labels_[20]->setVisible(type1);
    labels_[21]->setVisible(type1);
    box("Text18")->setVisible(linearity);
    labels_[22]->setVisible(linearity);
    const bool attribute = kind == StudyKind::Attribute;
    box("Text19")->setVisible(attribute);
    labels_[23]->setVisible(attribute);
    if (crossed) {
        setReferenceMode(list("Combo5")->currentIndex());
    } else {
        // both tolerance limits, no reference value
        box("Text4")->setVisible(false);
        labels_[0]->setVisible(false);
        for (const char* name : {"Text6", "Text7"}) {
            box(name)->setVisible(true);
        }
        labels_[5]->setVisible(true);
        labels_[6]->setVisible(true);
    }
    const char* caption = mode_ == Mode::New ? kNewCaption : kEditCaption;
    const char* kindName = type1       ? "badanie typu 1"
                           : linearity ? "obciążenie i liniowość"
                                       : "zgodność oceny atrybutowej";
    setWindowTitle(crossed ? QString::fromUtf8(caption)
                           : QString::fromUtf8("%1 — %2").arg(QString::fromUtf8(caption),
                                                              QString::fromUtf8(kindName)));
}

// A type-1 study: the master's value, at least one tolerance limit (the other is zero), a
// positive tolerance, and a resolution that is a positive number when given.
bool NowaA::checkType1Fields() {
    using namespace InputChecks;
    const RegionalSettings& rs = session_.regional();
    if (!requireNumber(box("Text16"), missing("WARTOŚCI WZORCA"), dialogs_, rs)) {
        return false;
    }
    const bool upper = !box("Text6")->text().trimmed().isEmpty();
    const bool lower = !box("Text7")->text().trimmed().isEmpty();
    if (!upper && !lower) {
        refuse(box("Text6"), missing("GRANIC TOLERANCJI (GWG lub DWG)"), dialogs_);
        return false;
    }
    for (const auto& [name, given] : {std::pair{"Text6", upper}, std::pair{"Text7", lower}}) {
        if (given && !requireNumber(box(name), missing("LICZBY"), dialogs_, rs)) {
            return false;
        }
    }
    const double usl = upper ? readDecimalText(box("Text6")->text()) : 0;
    const double lsl = lower ? readDecimalText(box("Text7")->text()) : 0;
    if (usl - lsl <= 0) {
        refuse(box(upper ? "Text6" : "Text7"),
               QString::fromUtf8("Tolerancja GWG − DWG nie jest dodatnia (brakująca granica to "
                                 "zero) - Popraw !"),
               dialogs_, false);
        return false;
    }
    const QString resolution = box("Text17")->text().trimmed();
    if (resolution.isEmpty()) {
        return true;
    }
    if (!requireNumber(box("Text17"), missing("ROZDZIELCZOŚCI"), dialogs_, rs)) {
        return false;
    }
    if (readDecimalText(resolution) <= 0) {
        refuse(box("Text17"), QString::fromUtf8("Rozdzielczość musi być liczbą dodatnią - Popraw"),
               dialogs_);
        return false;
    }
    return true;
}

// Bias and linearity: the limits and the process variation are optional; given, they
// are numbers, the limits in order and the variation positive.
bool NowaA::checkLinearityFields() {
    using namespace InputChecks;
    const RegionalSettings& rs = session_.regional();
    for (const char* name : {"Text6", "Text7", "Text18"}) {
        if (!box(name)->text().trimmed().isEmpty() &&
            !requireNumber(box(name), missing("LICZBY"), dialogs_, rs)) {
            return false;
        }
    }
    const QString upper = box("Text6")->text().trimmed();
    const QString lower = box("Text7")->text().trimmed();
    if (!upper.isEmpty() && !lower.isEmpty() && readDecimalText(lower) >= readDecimalText(upper)) {
        refuse(box("Text6"),
               QString::fromUtf8("Nieprawidłowe wartości %1 i %2 - Popraw !")
                   .arg(labels_[5]->text(), labels_[6]->text()),
               dialogs_, false);
        return false;
    }
    const QString variation = box("Text18")->text().trimmed();
    if (!variation.isEmpty() && readDecimalText(variation) <= 0) {
        refuse(box("Text18"),
               QString::fromUtf8("Zmienność procesu musi być liczbą dodatnią - Popraw"), dialogs_);
        return false;
    }
    return true;
}

bool NowaA::Sprawdz() {
    using namespace InputChecks;
    const RegionalSettings& rs = session_.regional();
    if (isNewMode()) {
        if (!requireText(box("Text11"), missing("NUMERU ANALIZY"), dialogs_)) {
            return false;
        }
        RecordSet& analyses = session_.analyses();
        analyses.moveFirst();
        if (analyses.find(QStringLiteral("Numer"), Value(box("Text11")->text()))) {
            refuse(box("Text11"),
                   QString::fromUtf8("Zarejestrowano analizę o podanym numerze - Popraw"),
                   dialogs_);
            return false;
        }
    }
    // A stored empty date cannot be corrected in the disabled box, so it is not asked for.
    if (box("Text12")->isEnabled() &&
        !requireText(box("Text12"), missing("DATY ANALIZY"), dialogs_)) {
        return false;
    }
    const std::pair<const char*, const char*> required[] = {
        {"Text1", "NAZWY CZĘŚCI"},    {"Text2", "NUMERU CZĘŚCI"},    {"Text3", "CHARAKTERYSTYKI"},
        {"Text8", "NAZWY PRZYRZĄDU"}, {"Text9", "NUMERU PRZYRZĄDU"}, {"Text15", "BŁĘDU WSKAZAŃ"}};
    for (const auto& [name, what] : required) {
        if (!requireText(box(name), missing(what), dialogs_)) {
            return false;
        }
    }
    if (kind_ == StudyKind::Type1) {
        return checkType1Fields();
    }
    if (kind_ == StudyKind::Linearity) {
        return checkLinearityFields();
    }
    if (kind_ == StudyKind::Attribute) {
        return true;  // the accept category is a text, any or none
    }
    const std::pair<const char*, int> numeric[] = {{"Text4", 0}, {"Text6", 5}, {"Text7", 6}};
    for (const auto& [name, label] : numeric) {
        const QString message = QString::fromUtf8("Nie wprowadzono - %1 - Popraw")
                                    .arg(labels_[static_cast<std::size_t>(label)]->text());
        if (!box(name)->isHidden() && !requireNumber(box(name), message, dialogs_, rs)) {
            return false;
        }
    }
    if (!box("Text6")->isHidden() && !box("Text7")->isHidden()) {
        const float upper = readDecimalText(box("Text6")->text());
        const float lower = readDecimalText(box("Text7")->text());
        if (lower >= upper) {
            refuse(box("Text6"),
                   QString::fromUtf8("Nieprawidłowe wartości %1 i %2 - Popraw !")
                       .arg(labels_[5]->text(), labels_[6]->text()),
                   dialogs_, false);
            return false;
        }
    }
    return true;
}

void NowaA::save() {
    if (Sprawdz()) {
        session_.shared().dialogResult = true;
        accept();
    }
}

void NowaA::reject() {
    session_.shared().dialogResult = false;
    QDialog::reject();
}
