#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "small_disk.h"
#include "verification.h"
#include "verification_window.h"
#include "window_fixture.h"

class VerificationWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRecordAndSavesItsPdf();
    void studiesNotComputedGiveNoRecordToSave();
};

// Narzędzia → Weryfikacja obliczeń: the summary in the verdict colour, the figures, and
// the record saved where the file chooser says (a failed write is told, not claimed).
void VerificationWindowTest::showsTheRecordAndSavesItsPdf() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    QTemporaryDir dir;
    bool shown = false;
    f.onModal = [&](QDialog& d) {
        shown = true;
        QCOMPARE(d.windowTitle(), QString::fromUtf8("Weryfikacja obliczeń"));
        auto* summary = d.findChild<QLabel*>(QStringLiteral("Podsumowanie"));
        const int figures = Verification::run({}).figures();
        QVERIFY(summary->text().startsWith(
            QString::fromUtf8("Wynik: wszystkie %1 wielkości").arg(figures)));
        QCOMPARE(summary->palette().color(QPalette::Window), QColor(0, 255, 0));
        auto* table = d.findChild<QTableWidget*>(QStringLiteral("Wielkosci"));
        QVERIFY(!table->findItems(QStringLiteral("NIEZGODNY"), Qt::MatchExactly).size());
        QCOMPARE(table->findItems(QStringLiteral("zgodny"), Qt::MatchExactly).size(), figures);
        auto* save = d.findChild<QPushButton*>(QStringLiteral("ZapiszPdf"));
        f.savesPdfThrough(*save, dir.filePath(QStringLiteral("protokol.pdf")),
                          QString::fromUtf8("Nie udało się zapisać protokołu"));
        d.reject();
    };
    f.find<QAction>("WeryfikacjaObliczen")->trigger();
    QVERIFY(shown);
    QVERIFY(f.suggestedFiles.last().contains(QStringLiteral("Weryfikacja_")));
}

// Without room for the studies' files nothing is computed: no figure is called
// "NIEZGODNY", the summary has no verdict colour and there is no record to save.
void VerificationWindowTest::studiesNotComputedGiveNoRecordToSave() {
    SmallDisk disk;
    if (!disk.mounted()) {
        QSKIP("a small disk needs root");
    }
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    QVERIFY(disk.fill());
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", disk.path().toUtf8());
    bool shown = false;
    f.onModal = [&](QDialog& d) {
        shown = true;
        auto* summary = d.findChild<QLabel*>(QStringLiteral("Podsumowanie"));
        QVERIFY(summary->text().contains(QStringLiteral("nie obliczono")));
        QCOMPARE(summary->palette().color(QPalette::Window), QColor(255, 255, 255));
        auto* table = d.findChild<QTableWidget*>(QStringLiteral("Wielkosci"));
        QVERIFY(table->findItems(QStringLiteral("NIEZGODNY"), Qt::MatchExactly).isEmpty());
        QVERIFY(!table->findItems(QStringLiteral("brak miejsca"), Qt::MatchContains).isEmpty());
        QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("ZapiszPdf"))->isEnabled());
        d.reject();
    };
    f.find<QAction>("WeryfikacjaObliczen")->trigger();
    qputenv("TMPDIR", tmp);
    QVERIFY(shown);
}

QTEST_MAIN(VerificationWindowTest)
#include "tst_verification_window.moc"
