#include "settings_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "input_checks.h"
#include "number_pattern.h"
#include "number_reader.h"
#include "pattern_check.h"
#include "record_set.h"
#include "session.h"
#include "type1_study.h"
#include "typing_limit.h"

namespace {

// The captions of the numeric fields, shown beside their boxes and named in a refusal.
const char* const kLevelCaption = "Dokładność";
const char* const kAcceptCaption = "Akceptacja systemu gdy R&R mniejsze do";
const char* const kPartialCaption = "Warunkowa akceptacja systemu gdy R&R mniejsze do";
const char* const kResolutionCaption = "Akceptacja systemu gdy rozdzielczość większa od";
const char* const kPartialResolutionCaption = "Warunkowa akceptacja gdy rozdzielczość większa od";
const char* const kToleranceCaption = "Gdy poziomem odnesienia jest tolerancja, ustal RF na";
const char* const kType1KCaption = "Udział tolerancji K";

QLineEdit* makeBox(const char* name, int characters, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    const QFontMetrics metrics(box->font());
    box->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('0')) * characters + metrics.height());
    return box;
}

QLabel* makeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

Trans::Trans(Session& session, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Trans"));
    setWindowTitle(QString::fromUtf8(kCaption));

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildFormatsFrame(), 1);
    top->addWidget(buildLevelFrame());
    layout->addLayout(top);
    layout->addWidget(buildFirmaRow());
    layout->addWidget(buildLimitsFrame());
    layout->addWidget(buildToleranceFrame());
    layout->addWidget(buildType1Frame());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    fields_ = {{"FD", date_},         {"FP", number_},
               {"Proc", level_},      {"Firma", firma_},
               {"POK", accept_},      {"PSR", partial_},
               {"IK1", resolution_},  {"IK2", partialResolution_},
               {"FRTol", tolerance_}, {"Typ1K", type1K_},
               {"Typ1L", type1L_}};
    setFocusOrder();
    load();
    date_->setFocus();
}

QWidget* Trans::buildFormatsFrame() {
    auto* frame = new QGroupBox(QString::fromUtf8("Obowiązujące formaty"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    date_ = makeBox("Text5", 12, frame);
    number_ = makeBox("Text6", 12, frame);
    TypingLimit::apply(date_, Session::kPatternLength);
    TypingLimit::apply(number_, Session::kPatternLength);
    grid->addWidget(makeLabel(QStringLiteral("Zapis daty"), frame), 0, 0);
    grid->addWidget(date_, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Zapis liczb"), frame), 1, 0);
    grid->addWidget(number_, 1, 1);
    grid->setColumnStretch(0, 1);
    return frame;
}

QWidget* Trans::buildLevelFrame() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame3"));
    auto* row = new QHBoxLayout(frame);
    level_ = new QComboBox(frame);
    level_->setObjectName(QStringLiteral("Combo1"));
    level_->setEditable(true);
    level_->setInsertPolicy(QComboBox::NoInsert);
    level_->setCompleter(nullptr);
    level_->addItems({QStringLiteral("95"), QStringLiteral("99")});
    level_->setMinimumContentsLength(4);
    row->addWidget(makeLabel(QString::fromUtf8(kLevelCaption), frame));
    row->addWidget(level_);
    row->addWidget(makeLabel(QStringLiteral("%"), frame));
    return frame;
}

QWidget* Trans::buildFirmaRow() {
    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    firma_ = new QLineEdit(holder);
    firma_->setObjectName(QStringLiteral("Text8"));
    row->addWidget(makeLabel(QStringLiteral("Firma:"), holder));
    row->addWidget(firma_, 1);
    return holder;
}

QWidget* Trans::buildLimitsFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Ustawienia ocen"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(frame);
    accept_ = makeBox("Text2", 7, frame);
    partial_ = makeBox("Text3", 7, frame);
    resolution_ = makeBox("Text4", 7, frame);
    partialResolution_ = makeBox("Text7", 7, frame);
    const struct {
        const char* caption;
        QLineEdit* box;
        const char* unit;
    } rows[] = {
        {kAcceptCaption, accept_, "%"},
        {kPartialCaption, partial_, "%"},
        {kResolutionCaption, resolution_, ""},
        {kPartialResolutionCaption, partialResolution_, ""},
    };
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeLabel(QString::fromUtf8(row.caption), frame), r, 0);
        grid->addWidget(row.box, r, 1);
        grid->addWidget(makeLabel(QString::fromUtf8(row.unit), frame), r, 2);
        ++r;
    }
    grid->setColumnStretch(0, 1);
    return frame;
}

QWidget* Trans::buildToleranceFrame() {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame4"));
    auto* row = new QHBoxLayout(frame);
    tolerance_ = makeBox("Text9", 3, frame);
    TypingLimit::apply(tolerance_, 2);
    row->addWidget(makeLabel(QString::fromUtf8(kToleranceCaption), frame));
    row->addWidget(tolerance_);
    row->addWidget(makeLabel(QStringLiteral("% tolerancji"), frame), 1);
    return frame;
}

// The type-1 study's share of the tolerance K and the standard deviations L its spread
// counts (empty in the file: 20 % and 6).
QWidget* Trans::buildType1Frame() {
    auto* frame = new QGroupBox(QStringLiteral("Badanie typu 1"), this);
    frame->setObjectName(QStringLiteral("Frame5"));
    auto* row = new QHBoxLayout(frame);
    type1K_ = makeBox("Text10", 5, frame);
    TypingLimit::apply(type1K_, 4);
    type1L_ = new QComboBox(frame);
    type1L_->setObjectName(QStringLiteral("Combo2"));
    type1L_->addItems({QStringLiteral("6"), QStringLiteral("4")});
    auto* kLabel = makeLabel(QString::fromUtf8("Udział tolerancji &K :"), frame);
    kLabel->setBuddy(type1K_);
    auto* lLabel = makeLabel(QString::fromUtf8("Rozrzut &L (odchylenia s) :"), frame);
    lLabel->setBuddy(type1L_);
    row->addWidget(kLabel);
    row->addWidget(type1K_);
    row->addWidget(makeLabel(QStringLiteral("%"), frame));
    row->addSpacing(20);
    row->addWidget(lLabel);
    row->addWidget(type1L_);
    row->addStretch(1);
    return frame;
}

void Trans::setFocusOrder() {
    QWidget* const order[] = {
        date_,      number_, level_,  accept_, partial_, resolution_, partialResolution_,
        tolerance_, type1K_, type1L_, firma_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

QString Trans::textOf(const QWidget* control) {
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    return static_cast<const QLineEdit*>(control)->text();
}

void Trans::putText(QWidget* control, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int item = combo->findText(text);
        if (item >= 0) {
            combo->setCurrentIndex(item);
        }
        combo->setEditText(text);
        return;
    }
    TypingLimit::put(static_cast<QLineEdit*>(control), text);
}

void Trans::load() {
    const RecordSet& row = session_.settingsRow();
    for (const Field& f : fields_) {
        putText(f.control, row.field(QString::fromLatin1(f.name)).toText(session_.regional()));
    }
    // An empty field shows its default and stays empty unless the default is changed.
    defaults_.clear();
    const struct {
        const char* name;
        QWidget* control;
        QString text;
    } defaults[] = {{"Typ1K", type1K_, QString::number(Type1::kDefaultK)},
                    {"Typ1L", type1L_, QString::number(Type1::kDefaultL)}};
    for (const auto& d : defaults) {
        if (row.field(QString::fromLatin1(d.name)).isEmpty()) {
            defaults_.insert(QString::fromLatin1(d.name), d.text);
            putText(d.control, d.text);
        }
    }
}

bool Trans::checkNumberPattern() {
    if (!InputChecks::requireText(number_, QStringLiteral("Nie podano zapisu liczb - Popraw"),
                                  dialogs_)) {
        return false;
    }
    const QString pattern = number_->text();
    const RegionalSettings& rs = session_.regional();
    const std::optional<ChangedNumber> changed = findChangedNumber(NumberPattern(pattern), rs);
    if (!changed) {
        return true;
    }
    const QString sample = formatGeneralNumber(changed->sample, rs);
    const QString message = changed->readable
                                ? QString::fromUtf8(
                                      "Zapis liczb „%1” zamienia %2 w „%3”; pokazane liczby "
                                      "różniłyby się od zapisanych i wyniki byłyby błędne - Popraw")
                                : QString::fromUtf8(
                                      "Zapis liczb „%1” zamienia liczbę %2 w tekst „%3”, którego "
                                      "program nie odczyta jako liczby; wyniki analiz byłyby "
                                      "puste - Popraw");
    InputChecks::refuse(number_, message.arg(pattern, sample, changed->shown), dialogs_);
    return false;
}

bool Trans::checkFields() {
    if (!InputChecks::requireText(date_, QStringLiteral("Nie podano zapisu daty - Popraw"),
                                  dialogs_) ||
        !checkNumberPattern()) {
        return false;
    }
    const struct {
        QLineEdit* box;  // the drop-down's own edit line for the level
        const char* caption;
    } numbers[] = {
        {level_->lineEdit(), kLevelCaption},
        {accept_, kAcceptCaption},
        {partial_, kPartialCaption},
        {resolution_, kResolutionCaption},
        {partialResolution_, kPartialResolutionCaption},
        {tolerance_, kToleranceCaption},
        {type1K_, kType1KCaption},
    };
    for (const auto& n : numbers) {
        if (!InputChecks::requireNumber(n.box,
                                        QString::fromUtf8("Pole „%1” musi zawierać liczbę - Popraw")
                                            .arg(QString::fromUtf8(n.caption)),
                                        dialogs_, session_.regional())) {
            return false;
        }
    }
    return checkRanges();
}

// The factor tables know 95 % and 99 % only, and a tolerance share outside 1..99 makes
// the percentages empty or negative.
bool Trans::checkRanges() {
    const RegionalSettings& rs = session_.regional();
    const double level = readLocaleNumber(level_->currentText(), rs).value_or(0);
    if (level != 95 && level != 99) {
        InputChecks::refuse(level_->lineEdit(),
                            QString::fromUtf8("Pole „%1” przyjmuje tylko 95 lub 99 - Popraw")
                                .arg(QString::fromUtf8(kLevelCaption)),
                            dialogs_);
        return false;
    }
    const double share = readLocaleNumber(tolerance_->text(), rs).value_or(0);
    if (share < 1 || share > 99) {
        InputChecks::refuse(tolerance_,
                            QString::fromUtf8("Pole „%1” przyjmuje liczby od 1 do 99 - Popraw")
                                .arg(QString::fromUtf8(kToleranceCaption)),
                            dialogs_);
        return false;
    }
    const double k = readLocaleNumber(type1K_->text(), rs).value_or(0);
    if (k < 1 || k > 50) {
        InputChecks::refuse(type1K_,
                            QString::fromUtf8("Pole „%1” przyjmuje liczby od 1 do 50 - Popraw")
                                .arg(QString::fromUtf8(kType1KCaption)),
                            dialogs_);
        return false;
    }
    return true;
}

bool Trans::store(QString* cause) {
    RecordSet& row = session_.settingsRow();
    for (const Field& f : fields_) {
        const QString name = QString::fromLatin1(f.name);
        if (defaults_.contains(name) && defaults_.value(name) == textOf(f.control)) {
            continue;  // a default shown, not chosen
        }
        if (!row.setField(name, Value(textOf(f.control)))) {
            *cause = row.lastError();
            row.cancelUpdate();
            return false;
        }
    }
    if (!row.update()) {
        *cause = row.lastError();
        row.cancelUpdate();
        return false;
    }
    session_.shared().refreshAfterSettingsWindow(row);
    return true;
}

void Trans::reject() {
    if (!checkFields()) {
        return;  // the window stays, the focus in the field to correct
    }
    QString cause;
    saved_ = store(&cause);
    if (!saved_) {
        dialogs_.beep();
        const bool leave = dialogs_.askYesNo(
            QString::fromUtf8("Nie udało się zapisać ustawień w bazie danych; obowiązują "
                              "dotychczasowe.\n\nPrzyczyna: %1\n\nZamknąć okno bez zapisu?")
                .arg(cause),
            QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
        if (!leave) {
            return;
        }
    }
    QDialog::reject();
}
