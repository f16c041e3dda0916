#include <QAction>
#include <QComboBox>
#include <QtTest>

#include "editor_steps.h"

class StudyFileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void exportedStudyComesBackAsANewAnalysis();
    void refusedFileIsTold();
    void type1FileOutAndIn();
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

// A type-1 study's file out of the window and in again: the editor of its kind opens with
// the file's master and limits, and the readings come with the new analysis.
void StudyFileCommandsTest::type1FileOutAndIn() {
    WindowFixture f(TestDatabase::WithKinds{}, TestDatabase::fixture("type1_studies.sql"));
    QVERIFY(f.load());
    QTemporaryDir dir;
    f.chosenFile = dir.filePath(QStringLiteral("typ1.csv"));
    action(f, "EksportAnalizy")->trigger();
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Zapisano w ") + f.chosenFile});
    const int analyses = f.find<QComboBox>("Combo1")->count();
    f.onModal = [&](QDialog& d) {
        auto& e = static_cast<NowaA&>(d);
        QCOMPARE(e.kind(), StudyKind::Type1);
        QCOMPARE(e.box("Text16")->text(), QStringLiteral("0,413"));
        QCOMPARE(e.box("Text6")->text(), QStringLiteral("1,6"));
        fillValidAnalysis(e);
        e.box("Text7")->clear();  // one-sided, as the file has it
        click(d, "Command1");
    };
    action(f, "ImportSerii")->trigger();
    QCOMPARE(f.dialogs.texts().size(), 1);  // where the export was written
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), analyses + 1);
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(),
             QStringLiteral("11/UP"));  // the proposed number
    const AnalysisScreen& copy = f.window->screen();
    QCOMPARE(copy.kind, StudyKind::Type1);
    QCOMPARE(copy.readings.size(), 12);
    QVERIFY(copy.hasKindResults());
}

QTEST_MAIN(StudyFileCommandsTest)
#include "tst_study_file_commands.moc"
