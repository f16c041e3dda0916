// A gauge for real: a pseudo-terminal pair stands for the serial cable, the test writes
// the gauge's frames into the master side and the series editor reads the slave side
// through the program's own serial implementation.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "pseudo_terminal.h"
#include "scripted_gauge.h"
#include "serial_gauge.h"
#include "series_editor.h"
#include "window_fixture.h"

namespace {

QString studyOnPort(const QString& settings) {
    return QStringLiteral(
               "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef, WN, GWG, DWG, "
               "NazwaT, Setings) VALUES ('G', 3, 2, 2, 3, 1.33, 10.5, 9.5, 'Suwmiarka USB', '%1');")
        .arg(settings);
}

QString status(const Dane& d) {
    return d.gaugeStatus() ? d.gaugeStatus()->text() : QString();
}

}  // namespace

class GaugeCaptureTest : public QObject {
    Q_OBJECT

private slots:
    void readingsFollowTheFocus();
    void wedgeReadingNeverPressesSave();
    void statusLineShowsItsWholeText();
    void framesFillTheBoxes();
    void settingsThePortRefusesAreTold();
};

// Whatever the source: the appraiser box sends a reading to the first empty box, a box
// with the focus takes it; a refusal beeps and fills nothing; the full editor says so.
void GaugeCaptureTest::readingsFollowTheFocus() {
    WindowFixture f(studyOnPort(QStringLiteral("9600,n,8,1,/dev/ttyUSB0")));
    QPointer<ScriptedGauge> gauge;
    f.openGauge = [&gauge](const TransmissionSettings&, QString*) {
        auto made = std::make_unique<ScriptedGauge>();
        gauge = made.get();
        return std::unique_ptr<GaugeSource>(std::move(made));
    };
    QVERIFY(f.load());
    f.onModal = [&](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        const QVector<QLineEdit*>& boxes = dane.valueBoxes();
        boxes[0]->setText(QStringLiteral("1"));
        QCOMPARE(dane.focusWidget(), dane.appraiserBox());
        gauge->send(0.5);
        QCOMPARE(boxes[1]->text(), QStringLiteral("0,5"));
        boxes[0]->setFocus();
        gauge->send(-12.345678);  // more decimals than the pattern shows: taken as read
        QCOMPARE(boxes[0]->text(), QStringLiteral("-12,345678"));
        QCOMPARE(dane.focusWidget(), boxes[1]);
        const int beeps = f.dialogs.beeps;
        gauge->fail(QString::fromUtf8("odrzucono „abc” — to nie jest pomiar"));
        QCOMPARE(f.dialogs.beeps, beeps + 1);
        QVERIFY(status(dane).endsWith(QString::fromUtf8("odrzucono „abc” — to nie jest pomiar")));
        QCOMPARE(boxes[1]->text(), QStringLiteral("0,5"));
        // readings while a message stands fill nothing behind it and are counted; then
        // the focus is on the first empty box
        boxes[2]->clear();
        f.dialogs.onMessage = [&] {
            gauge->send(7);
            gauge->send(8);
        };
        d.findChild<QPushButton*>(QStringLiteral("Command1"))->click();  // no appraiser
        f.dialogs.onMessage = nullptr;
        QCOMPARE(boxes[2]->text(), QString());
        QVERIFY2(
            status(dane).contains(QString::fromUtf8("w czasie komunikatu 2 odczyty pominięto")),
            qPrintable(status(dane)));
        QCOMPARE(dane.focusWidget(), boxes[2]);
        boxes[2]->setText(QStringLiteral("2"));
        d.findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus();
        for (int i = 0; i < 5; ++i) {  // a burst past the last box
            gauge->send(3);
        }
        QVERIFY2(status(dane).contains(QString::fromUtf8("wszystkie pola są wypełnione — 5 "
                                                         "odczytów pominięto")),
                 qPrintable(status(dane)));
        d.reject();
    };
    f.find<QAction>("NowaDana")->trigger();
    QVERIFY(gauge.isNull());  // closed with the editor
}

// A keyboard wedge's reading after the last box is typed on "Zapisz": its Enter does not
// store the series; an Enter with nothing typed does.
void GaugeCaptureTest::wedgeReadingNeverPressesSave() {
    WindowFixture f(studyOnPort(QStringLiteral("X")));
    QVERIFY(f.load());
    bool stored = false;
    f.onModal = [&](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        dane.appraiserBox()->setText(QStringLiteral("Anna"));
        for (QLineEdit* box : dane.valueBoxes()) {
            box->setText(QStringLiteral("1"));
        }
        auto* save = d.findChild<QPushButton*>(QStringLiteral("Command1"));
        d.show();
        save->setFocus();
        QTest::keyClicks(save, QStringLiteral("12.5"));
        QTest::keyClick(save, Qt::Key_Return);
        QVERIFY(d.isVisible() && d.result() == 0);
        QVERIFY(status(dane).contains(QString::fromUtf8("„12.5” po ostatnim polu pominięto")));
        QTest::keyClick(save, Qt::Key_Return);
        stored = d.result() == QDialog::Accepted;
        if (!stored) {
            d.reject();
        }
    };
    f.find<QAction>("NowaDana")->trigger();
    QVERIFY(stored);
}

// The status line shows a long remedy whole: it wraps and the editor grows.
void GaugeCaptureTest::statusLineShowsItsWholeText() {
    WindowFixture f(
        studyOnPort(QStringLiteral("9600,n,8,1,/dev/serial/by-id/usb-Mitutoyo_"
                                   "USB-ITN_Digimatic_Interface_0123456789-if00")));
    f.openGauge = [](const TransmissionSettings& s, QString* error) {
        *error = QString::fromUtf8(
                     "brak uprawnień do %1: dodaj użytkownika do grupy dialout i zaloguj się "
                     "ponownie (albo port jest zajęty przez inny program)")
                     .arg(s.port);
        return std::unique_ptr<GaugeSource>();
    };
    QVERIFY(f.load());
    f.onModal = [&](QDialog& d) {
        QLabel* line = static_cast<Dane&>(d).gaugeStatus();
        QVERIFY(line->text().contains(QStringLiteral("grupy dialout")));
        QCOMPARE(line->toolTip(), line->text());
        QVERIFY(line->heightForWidth(line->width()) <= line->height());
        QVERIFY(line->geometry().bottom() <= d.height());
        d.reject();
    };
    f.find<QAction>("NowaDana")->trigger();
}

void GaugeCaptureTest::framesFillTheBoxes() {
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    WindowFixture f(studyOnPort(QStringLiteral("9600,n,8,1,") + pty.path));
    f.openGauge = [](const TransmissionSettings& s, QString* error) {
        return std::unique_ptr<GaugeSource>(SerialGauge::open(s, error));
    };
    QVERIFY(f.load());
    bool ran = false;
    pty.send("+9.999\r\n");  // before the editor opened: no reading of this series
    f.onModal = [&](QDialog& d) {
        ran = true;
        auto& dane = static_cast<Dane&>(d);
        QCOMPARE(status(dane), QString::fromUtf8("Przyrząd: Suwmiarka USB, %1, 9600,n,8,1 — "
                                                 "czekam na pomiar")
                                   .arg(pty.path));
        const QVector<QLineEdit*>& boxes = dane.valueBoxes();
        pty.send("01A+0000.123\r");
        pty.send("\n+0.5\r\n-0,2");  // the last frame in two pieces
        QTRY_COMPARE(boxes[1]->text(), QStringLiteral("0,5"));
        QCOMPARE(boxes[0]->text(), QStringLiteral("0,123"));
        QCOMPARE(boxes[2]->text(), QString());
        QCOMPARE(dane.focusWidget(), boxes[2]);
        pty.send("5\r\n");
        QTRY_COMPARE(boxes[2]->text(), QStringLiteral("-0,25"));
        QCOMPARE(dane.focusWidget(), d.findChild<QPushButton*>(QStringLiteral("Command1")));
        const int beeps = f.dialogs.beeps;
        pty.send("ERR3\r\n");
        QTRY_VERIFY(status(dane).contains(QStringLiteral("ERR3")));
        QCOMPARE(f.dialogs.beeps, beeps + 1);
        pty.closeMaster();
        QTRY_VERIFY2(status(dane).endsWith(QString::fromUtf8(
                         "utracono połączenie z przyrządem — podłącz przyrząd i otwórz okno "
                         "ponownie")),
                     qPrintable(status(dane)));
        d.reject();
    };
    f.find<QAction>("NowaDana")->trigger();
    QVERIFY(ran);
}

// A pseudo-terminal takes no parity; a missing device is named; both leave the keyboard.
void GaugeCaptureTest::settingsThePortRefusesAreTold() {
    PseudoTerminal pty;
    for (const QString& settings :
         {QStringLiteral("4800,e,7,2,") + pty.path, QStringLiteral("9600,n,8,1,/dev/brak")}) {
        WindowFixture f(studyOnPort(settings));
        f.openGauge = [](const TransmissionSettings& s, QString* error) {
            return std::unique_ptr<GaugeSource>(SerialGauge::open(s, error));
        };
        QVERIFY(f.load());
        QString shown;
        f.onModal = [&](QDialog& d) {
            shown = status(static_cast<Dane&>(d));
            d.reject();
        };
        f.find<QAction>("NowaDana")->trigger();
        QVERIFY2(shown.contains(QString::fromUtf8("dane wprowadź z klawiatury")),
                 qPrintable(shown));
        QVERIFY2(shown.contains(settings.startsWith(QLatin1Char('4'))
                                    ? QString::fromUtf8("nie przyjął ustawień 4800,e,7,2")
                                    : QString::fromUtf8("nie ma urządzenia /dev/brak")),
                 qPrintable(shown));
    }
}

QTEST_MAIN(GaugeCaptureTest)
#include "tst_gauge_capture.moc"
