#include "series_editor.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "excerpt.h"
#include "gauge_source.h"
#include "input_checks.h"
#include "number_pattern.h"
#include "number_reader.h"
#include "record_sets.h"
#include "session.h"
#include "twips.h"
#include "twips_placement.h"
#include "typing_limit.h"

namespace {

// "1 odczyt", "3 odczyty", "5 odczytów", as Polish counts them.
QString readingsCount(int n) {
    const int tens = n % 100;
    const int ones = n % 10;
    const char* word = n == 1                                                 ? "odczyt"
                       : (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) ? "odczyty"
                                                                              : "odczytów";
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

constexpr int kWidth = 3225;
constexpr int kDesignHeight = 2565;
constexpr int kBoxLeft = 2040;
constexpr int kFirstBoxTop = 360;
constexpr int kBoxStep = 330;
constexpr int kButtonHeight = 375;
// The layout's height is the outer one; its caption bar and borders took about this.
constexpr int kFrameHeight = 390;

}  // namespace

Dane::Dane(Session& session, Dialogs& dialogs, Mode mode, int parts, QWidget* parent)
    : QDialog(parent), session_(session), dialogs_(dialogs), mode_(mode) {
    const QString caption = QString::fromUtf8(mode == Mode::New ? kNewCaption : kEditCaption);
    setObjectName(QStringLiteral("Dane"));
    setWindowTitle(caption);
    // The layout was drawn for a compact 8-point font; a larger one would not fit it.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);
    // Centred with the design size first; the height then follows N, the top stays.
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    centreOnScreen(this, Twips::toPixels(kWidth, dpiX), Twips::toPixels(kDesignHeight, dpiY));

    auto* operatorLabel = new QLabel(QStringLiteral("Operator :"), this);
    operatorLabel->setObjectName(QStringLiteral("Label1_13"));
    placeInTwips(operatorLabel, 60, 60, 900, 240);
    appraiser_ = new QLineEdit(this);
    appraiser_->setObjectName(QStringLiteral("Text1"));
    TypingLimit::apply(appraiser_, 30);
    // 120 twips right of the layout's place, same right edge: "Operator :" needs the room
    // in today's fonts.
    placeInTwips(appraiser_, 960, 30, 2205, 285);
    auto* dataLabel = new QLabel(QStringLiteral("Dane pomiarowe :"), this);
    dataLabel->setObjectName(QStringLiteral("Label1_0"));
    placeInTwips(dataLabel, 60, 390, 1700, 240);

    const int n = qBound(1, parts, 10);
    QWidget* previous = appraiser_;
    for (int i = 0; i < n; ++i) {
        const int top = kFirstBoxTop + i * kBoxStep;
        auto* number = new QLabel(QString::number(i + 1), this);
        number->setObjectName(QStringLiteral("Label2_%1").arg(i));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        placeInTwips(number, 1800, top + 30, 210, 195);
        auto* value = new QLineEdit(this);
        value->setObjectName(QStringLiteral("Text2_%1").arg(i));
        value->installEventFilter(this);
        placeInTwips(value, kBoxLeft, top, 1125, 285);
        setTabOrder(previous, value);
        previous = value;
        values_ << value;
    }
    stored_.resize(n);
    shownStored_.resize(n);
    buttonTop_ = kFirstBoxTop + (n - 1) * kBoxStep + 390;
    auto* save = new QPushButton(QStringLiteral("&Zapisz"), this);
    save_ = save;
    save->installEventFilter(this);
    save->setObjectName(QStringLiteral("Command1"));
    placeInTwips(save, 510, buttonTop_, 1005, kButtonHeight);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    placeInTwips(cancel, 1710, buttonTop_, 1005, kButtonHeight);
    setTabOrder(previous, save);
    setTabOrder(save, cancel);
    connect(save, &QPushButton::clicked, this, &Dane::save);
    connect(cancel, &QPushButton::clicked, this, &Dane::reject);

    height_ = editorHeight();
    setFixedSize(qMax(Twips::toPixels(kWidth, dpiX), widthForCaption(caption)),
                 Twips::toPixels(height_ - kFrameHeight, dpiY));
    appraiser_->setFocus();
}

// The layout's width cuts the caption in today's title bars ("Nowa s… danych"): the
// window grows to hold it beside the title bar's buttons.
int Dane::widthForCaption(const QString& caption) const {
    QFont title = QApplication::font();
    title.setBold(true);
    constexpr int kTitleBarButtons = 110;
    return QFontMetrics(title).horizontalAdvance(caption) + kTitleBarButtons;
}

// A value box that gets the focus selects its whole text, so typing replaces it. Enter
// in a value box moves to the next one (a keyboard-wedge gauge types a value and
// Enter); "Zapisz" stays on Alt+Z and on Enter from the button.
bool Dane::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::KeyPress && box && values_.contains(box)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            acceptOtherDecimal(box);
            moveFocusAfter(box);
            return true;
        }
    }
    if (watched == save_ && event->type() == QEvent::KeyPress) {
        return keyOnSaveButton(static_cast<QKeyEvent*>(event));
    }
    if (watched == save_ && event->type() == QEvent::FocusIn) {
        typedOnButton_.clear();
    }
    if (event->type() == QEvent::FocusIn && box) {
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        box->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

// A wedge gauge's reading after the last box types its characters on "Zapisz" and ends
// with Enter: that Enter must not store the series unchecked. Enter with nothing typed
// stores, as Alt+Z and a click do.
bool Dane::keyOnSaveButton(QKeyEvent* key) {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && !typedOnButton_.isEmpty()) {
        dialogs_.beep();
        setStatus(QString::fromUtf8("odczyt %1 po ostatnim polu pominięto — sprawdź dane i "
                                    "zapisz (Alt+Z)")
                      .arg(quotedExcerpt(typedOnButton_)));
        typedOnButton_.clear();
        return true;
    }
    const bool typed = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                       !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) &&
                       (key->key() != Qt::Key_Space || !typedOnButton_.isEmpty());
    if (typed) {
        typedOnButton_ += key->text();
        return true;
    }
    return false;
}

void Dane::showStoredValue(int i, const Value& stored, const QString& shown) {
    stored_[i] = stored;
    shownStored_[i] = shown;
    values_[i]->setText(shown);
}

Value Dane::valueToStore(int i) const {
    const QString typed = values_[i]->text();
    if (!shownStored_[i].isNull() && typed == shownStored_[i]) {
        return stored_[i];
    }
    return Value(typed);
}

bool Dane::appraiserHasAllTrials() {
    const QString numer =
        session_.analyses().field(QStringLiteral("Numer")).toText(session_.regional());
    const auto count = RecordSets::countSeries(session_.database(), numer, appraiser_->text());
    if (!count) {
        return false;  // the count could not be read: this check gives no verdict
    }
    const Value trials = session_.analyses().field(QStringLiteral("LiczbaR"));
    if (compareValues(Value(*count), trials) != 0) {
        return false;
    }
    InputChecks::refuse(appraiser_,
                        QStringLiteral("Dla podanego operatora wykonano %1 serie pomiarowe.\r"
                                       "Wprowadz innego OPERATORA")
                            .arg(*count),
                        dialogs_);
    return true;
}

bool Dane::tooManyAppraisers() {
    RecordSet* series = session_.series();
    if (!series) {
        return false;
    }
    const Value name(appraiser_->text());
    series->moveFirst();
    int appraisers = series->find(QStringLiteral("Operator"), name) ? 0 : 1;
    Value previous;
    bool first = true;
    for (series->moveFirst(); !series->isEof(); series->moveNext()) {
        const Value current = series->field(QStringLiteral("Operator"));
        if (first || current != previous) {
            ++appraisers;
        }
        first = false;
        previous = current;
    }
    const Value limit = session_.analyses().field(QStringLiteral("LiczbaK"));
    if (compareValues(Value(appraisers), limit) <= 0) {
        return false;
    }
    InputChecks::refuse(appraiser_,
                        QString::fromUtf8("W prowadzonym sprawdzeniu występuje już %1 operatorów.\r"
                                          "Wprowadz innego OPERATORA")
                            .arg(limit.toText(session_.regional())),
                        dialogs_);
    return true;
}

// A value typed with the other decimal than the desktop's (a wedge gauge types it so)
// is written with the desktop's, so the numeric check reads it as the number it is; a text
// that reads as it stands is left alone. On a desktop whose decimal is ".", a "," followed
// by exactly three digits may be grouping ("1,250") as well as a decimal ("0,125"): such a
// value is not guessed at.
bool Dane::acceptOtherDecimal(QLineEdit* box) {
    const RegionalSettings& rs = session_.regional();
    const QChar decimal = rs.decimalSeparator();
    const QChar other = decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    const QString text = box->text().trimmed();
    if (text.contains(decimal) || text.count(other) != 1) {
        return true;
    }
    static const QRegularExpression threeDigits(QStringLiteral(",\\d{3}$"));
    if (other == QLatin1Char(',') && threeDigits.match(text).hasMatch()) {
        return false;
    }
    if (other == QLatin1Char('.') && isNumeric(text, rs)) {
        return true;
    }
    QString regional = text;
    regional.replace(other, decimal);
    if (isNumeric(regional, rs)) {
        box->setText(regional);
    }
    return true;
}

void Dane::moveFocusAfter(QLineEdit* box) {
    const int next = static_cast<int>(values_.indexOf(box)) + 1;
    if (next > 0 && next < values_.size()) {
        values_[next]->setFocus();
    } else {
        save_->setFocus();
    }
}

namespace {

constexpr int kStatusHeight = 720;  // at least; a longer text makes the line taller
constexpr int kStatusWidth = 4800;

}  // namespace

void Dane::addStatusLine() {
    if (status_) {
        return;
    }
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusPrzyrzadu"));
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int top = buttonTop_ + kButtonHeight + 90;
    placeInTwips(status_, 60, top, kStatusWidth - 120, kStatusHeight);
    setFixedWidth(qMax(width(), Twips::toPixels(kStatusWidth, logicalDpiX())));
}

int Dane::editorHeight() const {
    return 2 * kButtonHeight + buttonTop_ + 180;
}

void Dane::setStatus(const QString& text) {
    addStatusLine();
    const QString line = gaugeDescription_.isEmpty()
                             ? text
                             : QString::fromUtf8("Przyrząd: %1 — %2").arg(gaugeDescription_, text);
    status_->setText(line);
    status_->setToolTip(line);
    fitStatusLine();
}

// The line wraps and the editor grows to show it whole: the remedy of a refused port
// ("dodaj użytkownika do grupy dialout") must not be cut off.
void Dane::fitStatusLine() {
    const double dpiY = logicalDpiY();
    const int needed =
        qMax(Twips::toPixels(kStatusHeight, dpiY), status_->heightForWidth(status_->width()));
    status_->resize(status_->width(), needed);
    height_ = editorHeight() + static_cast<int>(Twips::fromDevice(needed, dpiY)) + 90;
    setFixedHeight(Twips::toPixels(height_ - kFrameHeight, dpiY));
}

void Dane::attachGauge(GaugeSource* gauge, const QString& description) {
    gaugeDescription_ = description;
    setStatus(QString::fromUtf8("czekam na pomiar"));
    connect(gauge, &GaugeSource::reading, this, &Dane::takeReading);
    connect(gauge, &GaugeSource::failed, this, [this](const QString& why) {
        dialogs_.beep();
        setStatus(why);
    });
}

void Dane::showGaugeProblem(const QString& description, const QString& problem) {
    gaugeDescription_ = description;
    setStatus(problem + QString::fromUtf8("; dane wprowadź z klawiatury"));
}

// The box with the focus; the first empty one when the focus is elsewhere (the
// appraiser box, the buttons); none when every box is filled and none has the focus.
QLineEdit* Dane::boxForReading() const {
    auto* focused = qobject_cast<QLineEdit*>(focusWidget());
    if (focused && values_.contains(focused)) {
        return focused;
    }
    return firstEmptyBox();
}

QLineEdit* Dane::firstEmptyBox() const {
    for (QLineEdit* box : values_) {
        if (box->text().isEmpty()) {
            return box;
        }
    }
    return nullptr;
}

void Dane::takeReading(double value) {
    if (checking_) {
        ++missed_;  // a message stands: nothing is filled behind it
        return;
    }
    QLineEdit* box = boxForReading();
    if (!box) {
        dialogs_.beep();
        ++dropped_;
        setStatus(QString::fromUtf8("wszystkie pola są wypełnione — %1 pominięto; sprawdź i "
                                    "zapisz (Alt+Z)")
                      .arg(readingsCount(dropped_)));
        return;
    }
    dropped_ = 0;
    box->setText(formatGeneralNumber(value, session_.regional()));
    dialogs_.beep();
    const int index = static_cast<int>(values_.indexOf(box));
    moveFocusAfter(box);
    setStatus(index + 1 == values_.size()
                  ? QString::fromUtf8("odczyt %1 w polu %2 — sprawdź i zapisz (Alt+Z)")
                        .arg(box->text())
                        .arg(index + 1)
                  : QString::fromUtf8("odczyt %1 w polu %2, czekam na następny")
                        .arg(box->text())
                        .arg(index + 1));
}

bool Dane::Sprawdz() {
    if (isNewMode()) {
        if (!InputChecks::requireText(
                appraiser_, QStringLiteral("Nie wprowadzono OPERATORA - Popraw"), dialogs_)) {
            return false;
        }
        if (appraiserHasAllTrials() || tooManyAppraisers()) {
            return false;
        }
    }
    for (QLineEdit* value : values_) {
        if (!acceptOtherDecimal(value)) {
            InputChecks::refuse(value,
                                QString::fromUtf8("Dana %1 jest niejednoznaczna: wpisz ją z "
                                                  "kropką dziesiętną (0.125) albo bez "
                                                  "separatora (125) - Popraw")
                                    .arg(quotedExcerpt(value->text().trimmed())),
                                dialogs_);
            return false;
        }
        if (!InputChecks::requireNumber(value, QString::fromUtf8("Dana nie jest liczbą - Popraw"),
                                        dialogs_, session_.regional())) {
            return false;
        }
    }
    return true;
}

void Dane::save() {
    checking_ = true;
    const bool checked = Sprawdz();
    checking_ = false;
    if (checked) {
        session_.shared().dialogResult = true;
        accept();
        return;
    }
    if (missed_ > 0) {
        dialogs_.beep();
        setStatus(QString::fromUtf8("w czasie komunikatu %1 pominięto — powtórz pomiar")
                      .arg(readingsCount(missed_)));
        missed_ = 0;
    }
    // Readings go on where they belong: into the first empty box, unless the message
    // asked to correct a value box.
    auto* focused = qobject_cast<QLineEdit*>(focusWidget());
    const bool correcting = focused && values_.contains(focused);
    if (status_ && !correcting && firstEmptyBox()) {
        firstEmptyBox()->setFocus();
    }
}

void Dane::reject() {
    session_.shared().dialogResult = false;
    QDialog::reject();
}
