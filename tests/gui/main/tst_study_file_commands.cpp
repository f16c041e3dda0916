#include <QAction>
#include <QComboBox>
#include <QtTest>

#include "editor_steps.h"

class StudyFileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void exportedStudyComesBackAsANewAnalysis();
    void refusedFileIsTold();
};

// Narzędzia: the AIAG study out in the AIAG layout, then in again through the analysis
// editor, which has N, K and R from the file.
void StudyFileCommandsTest::exportedStudyComesBackAsANewAnalysis() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    QTemporaryDir dir;
    // the typed extension decides the format, whichever filter was chosen
    f.chosenFile = dir.filePath(QStringLiteral("aiag.dfq"));
    f.chosenFilter = 1;
    action(f, "EksportAnalizy")->trigger();
    QFile dfq(f.chosenFile);
    QVERIFY(dfq.open(QIODevice::ReadOnly) && dfq.readAll().startsWith("K0100 1"));
    f.chosenFile = dir.filePath(QStringLiteral("aiag"));
    action(f, "EksportAnalizy")->trigger();
    QFile file(f.chosenFile + QStringLiteral(".csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("appraiser;trial;P1;P2"));
    QCOMPARE(f.dialogs.texts().last(), QStringLiteral("Zapisano w ") + file.fileName());

    f.chosenFile = file.fileName();
    f.onModal = [](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.list("Combo1")->currentText(), QStringLiteral("10"));
        QCOMPARE(e.list("Combo2")->currentText(), QStringLiteral("3"));
        QVERIFY(!e.list("Combo3")->isEnabled());
        // the file's fields fill the editor, its numbers in the regional form
        QCOMPARE(e.box("Text1")->text(), QString::fromUtf8("Wałek"));
        QCOMPARE(e.box("Text6")->text(), QStringLiteral("3"));
        QCOMPARE(e.box("Text7")->text(), QStringLiteral("-3"));
        QCOMPARE(e.list("Combo5")->currentIndex(), 3);
        fillValidAnalysis(e);
        click(d, "Command1");
    };
    action(f, "ImportSerii")->trigger();
    const QString numer = f.find<QComboBox>("Combo1")->currentText();
    QVERIFY(numer != QStringLiteral("AIAG"));
    const AnalysisScreen copy = studyInFile(f.database.path(), numer);
    const AnalysisScreen original = studyInFile(f.database.path(), QStringLiteral("AIAG"));
    QVERIFY(copy.hasCompleteStudy());
    for (const int panel : {Panels::kEV, Panels::kAV, Panels::kRR, Panels::kPV}) {
        QCOMPARE(copy.results[panel], original.results[panel]);  // the reference is the editor's
    }
}

void StudyFileCommandsTest::refusedFileIsTold() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    QTemporaryDir dir;
    f.chosenFile = dir.filePath(QStringLiteral("zly.csv"));
    QFile file(f.chosenFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("appraiser;part;trial;value\nA;1;1;1\n");
    file.close();
    const int analyses = f.find<QComboBox>("Combo1")->count();
    action(f, "ImportSerii")->trigger();
    QVERIFY(f.dialogs.texts().last().contains(QString::fromUtf8("za mało danych")));
    QCOMPARE(f.modals, QStringList());  // no editor for a refused file
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), analyses);
}

QTEST_MAIN(StudyFileCommandsTest)
#include "tst_study_file_commands.moc"
