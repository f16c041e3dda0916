#include "series_editor.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "input_checks.h"
#include "record_sets.h"
#include "session.h"
#include "twips.h"
#include "twips_placement.h"
#include "typing_limit.h"

namespace {

constexpr int kWidth = 3225;
constexpr int kDesignHeight = 2565;
constexpr int kBoxLeft = 2040;
constexpr int kFirstBoxTop = 360;
constexpr int kBoxStep = 330;
constexpr int kButtonHeight = 375;
// The classic height is the outer one; its caption bar and borders took about this.
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
    // 120 twips right of the classic place, same right edge: "Operator :" needs the room
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
    save->setObjectName(QStringLiteral("Command1"));
    placeInTwips(save, 510, buttonTop_, 1005, kButtonHeight);
    auto* cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    placeInTwips(cancel, 1710, buttonTop_, 1005, kButtonHeight);
    setTabOrder(previous, save);
    setTabOrder(save, cancel);
    connect(save, &QPushButton::clicked, this, &Dane::save);
    connect(cancel, &QPushButton::clicked, this, &Dane::reject);

    height_ = 2 * kButtonHeight + buttonTop_ + 180;
    setFixedSize(qMax(Twips::toPixels(kWidth, dpiX), widthForCaption(caption)),
                 Twips::toPixels(height_ - kFrameHeight, dpiY));
    appraiser_->setFocus();
}

// The classic width cuts the caption in today's title bars ("Nowa s… danych"): the
// window grows to hold it beside the title bar's buttons.
int Dane::widthForCaption(const QString& caption) const {
    QFont title = QApplication::font();
    title.setBold(true);
    constexpr int kTitleBarButtons = 110;
    return QFontMetrics(title).horizontalAdvance(caption) + kTitleBarButtons;
}

// A value box that gets the focus selects its whole text, so typing replaces it.
bool Dane::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
            box->selectAll();
        }
    }
    return QDialog::eventFilter(watched, event);
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
        if (!InputChecks::requireNumber(value, QString::fromUtf8("Dana nie jest liczbą - Popraw"),
                                        dialogs_, session_.regional())) {
            return false;
        }
    }
    return true;
}

void Dane::save() {
    if (Sprawdz()) {
        session_.shared().dialogResult = true;
        accept();
    }
}

void Dane::reject() {
    session_.shared().dialogResult = false;
    QDialog::reject();
}
