#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "verification_window.h"
#include "window_fixture.h"

class VerificationWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRecordAndSavesItsPdf();
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
        QCOMPARE(summary->text(),
                 QString::fromUtf8("Wynik: wszystkie 40 wielkości zgodne z opublikowanymi."));
        QCOMPARE(summary->palette().color(QPalette::Window), QColor(0, 255, 0));
        auto* table = d.findChild<QTableWidget*>(QStringLiteral("Wielkosci"));
        QVERIFY(!table->findItems(QStringLiteral("NIEZGODNY"), Qt::MatchExactly).size());
        QCOMPARE(table->findItems(QStringLiteral("zgodny"), Qt::MatchExactly).size(), 40);
        auto* save = d.findChild<QPushButton*>(QStringLiteral("ZapiszPdf"));
        f.savesPdfThrough(*save, dir.filePath(QStringLiteral("protokol.pdf")),
                          QString::fromUtf8("Nie udało się zapisać protokołu"));
        d.reject();
    };
    f.find<QAction>("WeryfikacjaObliczen")->trigger();
    QVERIFY(shown);
    QVERIFY(f.suggestedFiles.last().contains(QStringLiteral("Weryfikacja_")));
}

QTEST_MAIN(VerificationWindowTest)
#include "tst_verification_window.moc"
