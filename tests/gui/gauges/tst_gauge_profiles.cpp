#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "gauge_profiles_window.h"
#include "scripted_gauge.h"
#include "window_fixture.h"

namespace {

void press(QDialog& d, const char* button) {
    d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

template <typename T>
T* child(QDialog& d, const char* name) {
    return d.findChild<T*>(QString::fromLatin1(name));
}

QStringList profilesIn(WindowFixture& f) {
    return TestDatabase::column(f.database.path(),
                                "SELECT Nazwa || '=' || Transmisja FROM Trans ORDER BY rowid");
}

}  // namespace

class GaugeProfilesTest : public QObject {
    Q_OBJECT

private slots:
    void profilesAreAddedChangedAndDeleted();
    void testShowsTheNextReading();
};

// Narzędzia → Przyrządy pomiarowe: a profile refused until its settings are right, then
// stored; one changed; one that an analysis names deleted only after the question.
void GaugeProfilesTest::profilesAreAddedChangedAndDeleted() {
    WindowFixture f(
        QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NazwaT, "
                       "Setings) VALUES ('1', 5, 2, 2, 'RS232 - COM2', '4800,e,7,2');"));
    QVERIFY(f.load());
    f.onModal = [&](QDialog& d) {
        auto* list = child<QListWidget>(d, "Profile");
        QCOMPARE(list->count(), 2);
        QCOMPARE(child<QLineEdit>(d, "Ustawienia")->text(), QStringLiteral("9600,n,8,1"));
        press(d, "Nowy");
        press(d, "Zapisz");
        QCOMPARE(f.dialogs.texts().last(),
                 QStringLiteral("Nie wprowadzono NAZWY PROFILU - Popraw"));
        child<QLineEdit>(d, "Nazwa")->setText(QStringLiteral("Suwmiarka USB"));
        child<QLineEdit>(d, "Ustawienia")->setText(QStringLiteral("9600,n,8,1,5"));
        press(d, "Zapisz");
        QVERIFY(f.dialogs.texts().last().contains(QString::fromUtf8("1,5 bitu stopu")));
        child<QLineEdit>(d, "Ustawienia")->setText(QStringLiteral("9600,n,8,1"));
        child<QComboBox>(d, "Port")->setEditText(QStringLiteral("/dev/ttyUSB0"));
        press(d, "Zapisz");
        QCOMPARE(list->count(), 3);
        list->setCurrentRow(0);  // change the first
        child<QLineEdit>(d, "Ustawienia")->setText(QStringLiteral("19200,o,8,2"));
        press(d, "Zapisz");
        list->setCurrentRow(1);  // named by analysis 1: asked, No first
        f.dialogs.answers = {false};
        press(d, "Usun");
        QCOMPARE(list->count(), 3);
        QVERIFY(f.dialogs.calls.last().question &&
                f.dialogs.calls.last().text.contains(QStringLiteral("wskazują analizy (1)")));
        f.dialogs.answers = {true};
        press(d, "Usun");
        QCOMPARE(list->count(), 2);
        d.reject();
    };
    f.find<QAction>("PrzyrzadyPomiarowe")->trigger();
    QCOMPARE(profilesIn(f), (QStringList{QStringLiteral("RS232 - COM1=19200,o,8,2"),
                                         QStringLiteral("Suwmiarka USB=9600,n,8,1,/dev/ttyUSB0")}));
    // the analysis keeps what it copied
    QCOMPARE(TestDatabase::column(f.database.path(), "SELECT Setings FROM Analiza"),
             QStringList{QStringLiteral("4800,e,7,2")});
}

// "Test" opens the port with the typed settings and shows the next reading, or the cause.
void GaugeProfilesTest::testShowsTheNextReading() {
    WindowFixture f;
    QPointer<ScriptedGauge> gauge;
    QString opened;
    f.openGauge = [&](const TransmissionSettings& s, QString* error) {
        opened = s.port + QLatin1Char(' ') + s.text();
        if (s.port == QLatin1String("/dev/brak")) {
            *error = QString::fromUtf8("nie ma urządzenia /dev/brak");
            return std::unique_ptr<GaugeSource>();
        }
        auto made = std::make_unique<ScriptedGauge>();
        gauge = made.get();
        return std::unique_ptr<GaugeSource>(std::move(made));
    };
    QVERIFY(f.load());
    f.onModal = [&](QDialog& d) {
        auto* status = child<QLabel>(d, "Status");
        child<QComboBox>(d, "Port")->setEditText(QStringLiteral("/dev/pts/9"));
        press(d, "Test");
        QCOMPARE(opened, QStringLiteral("/dev/pts/9 9600,n,8,1"));
        QVERIFY(status->text().contains(QString::fromUtf8("czekam na pomiar")));
        gauge->send(0.5);
        QVERIFY(status->text().contains(QString::fromUtf8("odczyt 0,5: przyrząd działa")));
        QTRY_VERIFY(gauge.isNull());  // closed after the reading
        child<QComboBox>(d, "Port")->setEditText(QStringLiteral("/dev/brak"));
        press(d, "Test");
        QVERIFY(status->text().contains(QStringLiteral("nie ma urządzenia /dev/brak")));
        child<QLineEdit>(d, "Ustawienia")->setText(QStringLiteral("9600,x,8,1"));
        press(d, "Test");
        QVERIFY(status->text().contains(QString::fromUtf8("parzystość „x”")));
        d.reject();
    };
    f.find<QAction>("PrzyrzadyPomiarowe")->trigger();
    QCOMPARE(f.modals, QStringList{QStringLiteral("PrzyrzadyPomiarowe")});
}

QTEST_MAIN(GaugeProfilesTest)
#include "tst_gauge_profiles.moc"
