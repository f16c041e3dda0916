#include <sqlite3.h>
#include <sys/wait.h>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>
#include <csignal>

#include "history.h"
#include "program_lock.h"
#include "pseudo_terminal.h"
#include "small_disk.h"
#include "test_database.h"
#include "verification.h"
#include "widget_dialogs.h"
#include "window_fixture.h"

namespace {

struct Run {
    int code;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("pl_PL.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("pl_PL.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KALMET_BUILD_DIR "/kalmet-cli"), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// How a hostile file is made from the worked example: bytes, a cut, or SQL run on it.
enum class Hostility { RandomBytes, RandomAfterHeader, CutInHalf, CutToOnePage, Sql };

QString nullEverywhere() {
    const char* analysis[] = {"LiczbaN",    "LiczbaK", "LiczbaR", "Data",     "Temperatura",
                              "Wilgotnosc", "NazwaC",  "NumerC",  "Parametr", "Jednostka",
                              "WN",         "GWG",     "DWG",     "CoRef",    "NazwaP",
                              "NumerP",     "ZakresP", "BladP",   "NazwaT",   "Setings"};
    QStringList sets;
    for (const char* f : analysis) {
        sets << QStringLiteral("%1 = NULL").arg(QLatin1String(f));
    }
    QStringList series{QStringLiteral("Operator = NULL"), QStringLiteral("ObX = NULL")};
    for (int i = 1; i <= 10; ++i) {
        series << QStringLiteral("P%1 = NULL").arg(i);
    }
    return QStringLiteral(
               "UPDATE Analiza SET %1; UPDATE DanePom SET %2; UPDATE Ustawienia SET "
               "Firma = NULL, FD = NULL, FP = NULL, POK = NULL, PSR = NULL, IK1 = NULL, "
               "IK2 = NULL, FRTol = NULL, Proc = NULL, PW1 = NULL, PW2 = NULL, PW3 = "
               "NULL, PW4 = NULL, PW5 = NULL;")
        .arg(sets.join(QStringLiteral(", ")), series.join(QStringLiteral(", ")));
}

bool makeHostile(const QString& path, Hostility kind, const QString& sql) {
    QFile file(path);
    QRandomGenerator random(static_cast<quint32>(kind) + 11);
    auto randomBytes = [&random](int size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& b : bytes) {
            b = static_cast<char>(random.bounded(256));
        }
        return bytes;
    };
    switch (kind) {
        case Hostility::RandomBytes:
            return file.open(QIODevice::WriteOnly) && file.write(randomBytes(65536)) == 65536;
        case Hostility::RandomAfterHeader:
            return file.open(QIODevice::WriteOnly) &&
                   file.write(QByteArray("SQLite format 3", 16) + randomBytes(16384)) > 0;
        case Hostility::CutInHalf:
            return file.resize(file.size() / 2);
        case Hostility::CutToOnePage:
            return file.resize(4096);
        case Hostility::Sql:
            return TestDatabase::runSql(path, sql);
    }
    return false;
}

}  // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheNumbersInStoredOrder();
    void resultsAsTheWindowShowsThem();
    void incompleteAnalysis();
    void errorsGoToStandardError();
    void questionsHavePolishButtons();
    void readsAReadOnlyFileBesideTheProgram();
    void failedReadIsNoResult();
    void reportFiles_data();
    void reportFiles();
    void controlChartsAndHistory();
    void studyFilesOutAndIn();
    void type1StudyEverywhere();
    void linearityStudyEverywhere();
    void attributeStudyEverywhere();
    void verifyPrintsTheRecord();
    void changeInterruptedByACrash();
    void fullDiskWritesNoFile_data();
    void fullDiskWritesNoFile();
    void hostileFilesAreToldOrRead_data();
    void hostileFilesAreToldOrRead();
    void readGaugeOnAPseudoTerminal();
};

void CliTest::listsTheNumbersInStoredOrder() {
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    const Run run = cli({QStringLiteral("list"), t.path()});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, QByteArray("6/2026\n7/2026\n"));
}

void CliTest::resultsAsTheWindowShowsThem() {
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    const Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
    QCOMPARE(run.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(o.value(QStringLiteral("numer")).toString(), QStringLiteral("1/2026"));
    QCOMPARE(o.value(QStringLiteral("complete")).toBool(), true);
    QCOMPARE(o.value(QStringLiteral("label2")).toString(), QStringLiteral("TV"));
    const QJsonObject header = o.value(QStringLiteral("header")).toObject();
    QCOMPARE(header.value(QStringLiteral("0")).toString(), QStringLiteral(" Tuleja"));
    QVERIFY(!header.contains(QStringLiteral("2")));
    const QJsonObject results = o.value(QStringLiteral("results")).toObject();
    const AnalysisScreen study = studyInFile(t.path(), QStringLiteral("1/2026"));
    for (const int i : Panels::resultIndices()) {
        QCOMPARE(results.value(QString::number(i)).toString(),
                 study.results[static_cast<std::size_t>(i)]);
    }
    QVERIFY(!results.contains(QStringLiteral("23")));
    QCOMPARE(o.value(QStringLiteral("rrVerdict")).toString(), QStringLiteral("yellow"));
    QCOMPARE(o.value(QStringLiteral("resolutionVerdict")).toString(), QStringLiteral("green"));
    const QJsonArray grid = o.value(QStringLiteral("grid")).toArray();
    const QJsonArray fixed = o.value(QStringLiteral("fixed")).toArray();
    QCOMPARE(grid.size(), 12);
    QCOMPARE(fixed.size(), 12);
    QCOMPARE(grid[1].toArray()[2].toString(), QStringLiteral("10,01"));
    QCOMPARE(grid[3].toArray()[1].toString(), QString::fromUtf8("Średnia"));
    QVERIFY(fixed[3].toArray()[1].toBool());
    QVERIFY(!fixed[1].toArray()[1].toBool());
    // The ANOVA of the same study, with what the statistics give, and at a chosen alpha.
    const QJsonObject a = o.value(QStringLiteral("anova")).toObject();
    QCOMPARE(a.value(QStringLiteral("alpha")).toDouble(), 0.05);
    const Run chosen = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026"),
                            QStringLiteral("--alpha"), QStringLiteral("0.25")});
    QCOMPARE(QJsonDocument::fromJson(chosen.out)
                 .object()
                 .value(QStringLiteral("anova"))
                 .toObject()
                 .value(QStringLiteral("alpha"))
                 .toDouble(),
             0.25);
    const QJsonArray table = a.value(QStringLiteral("table")).toArray();
    QCOMPARE(table.last().toObject().value(QStringLiteral("source")).toString(),
             QStringLiteral("total"));
    QCOMPARE(a.value(QStringLiteral("components"))
                 .toObject()
                 .value(QStringLiteral("rr"))
                 .toObject()
                 .value(QStringLiteral("variance"))
                 .toDouble(),
             study.anova->components.rr.variance);
    const QJsonObject control = o.value(QStringLiteral("control")).toObject();
    QCOMPARE(control.value(QStringLiteral("uclR")).toDouble(), study.control->uclR);
    QCOMPARE(control.value(QStringLiteral("averagesTotal")).toInt(), 10);
    for (const char* wrong : {"0.9", "nan", "inf", "-inf"}) {
        QCOMPARE(cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026"),
                      QStringLiteral("--alpha"), QString::fromLatin1(wrong)})
                     .code,
                 64);
    }
}

void CliTest::incompleteAnalysis() {
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    const Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("6/2026")});
    QCOMPARE(run.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(o.value(QStringLiteral("complete")).toBool(), false);
    QCOMPARE(o.value(QStringLiteral("rrVerdict")).toString(), QStringLiteral("white"));
    QCOMPARE(o.value(QStringLiteral("results")).toObject().value(QStringLiteral("17")).toString(),
             QString());
    QCOMPARE(o.value(QStringLiteral("grid")).toArray().size(), 12);
    QVERIFY(o.value(QStringLiteral("anova")).isNull());
    QVERIFY(o.value(QStringLiteral("control")).isNull());
}

void CliTest::errorsGoToStandardError() {
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("9/9999")});
    QCOMPARE(run.code, 3);
    QVERIFY(run.out.isEmpty());
    QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("9/9999")));
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("KALMET.MDB"));
    run = cli({QStringLiteral("list"), missing});
    QCOMPARE(run.code, 2);
    QVERIFY(QString::fromUtf8(run.err).contains(missing));
    QVERIFY(!QFile::exists(missing));
    QFile foreign(missing);
    QVERIFY(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database");
    foreign.close();
    run = cli({QStringLiteral("list"), missing});
    QCOMPARE(run.code, 2);
    QVERIFY(QString::fromUtf8(run.err).contains(QString::fromUtf8("nie jest bazą danych")));
    QCOMPARE(cli({QStringLiteral("results"), t.path()}).code, 64);
    QCOMPARE(cli({QStringLiteral("list"), t.path(), QStringLiteral("--zoom"), "2"}).code, 64);
    for (const char* page : {"chart", "report"}) {
        QCOMPARE(cli({QString::fromLatin1(page), t.path(), QStringLiteral("7/2026"),
                      QStringLiteral("--out"), t.folder() + QStringLiteral("/x.png"),
                      QStringLiteral("--page"),
                      QString::fromLatin1(page[0] == 'c' ? "anova" : "wykres")})
                     .code,
                 64);
    }
    run = cli({QStringLiteral("--version")});
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.startsWith("kalmet-cli "));
    run = cli({QStringLiteral("--help")});
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.contains("--out"));
}

void CliTest::questionsHavePolishButtons() {
    QVERIFY(installPolishQtTranslation(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Uwaga !"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Tak"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nie"));
}

// The batch reader opens the file read-only: a file without write permission and a
// file whose write lock the running program holds are both read.
void CliTest::readsAReadOnlyFileBesideTheProgram() {
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(t.db().begin());  // the program is in the middle of a store
    Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
    QVERIFY2(run.code == 0, run.err.constData());
    t.db().rollback();
    QFile::setPermissions(t.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    run = cli({QStringLiteral("list"), t.path()});
    QVERIFY2(run.code == 0, run.err.constData());
    QCOMPARE(run.out, QByteArray("1/2026\n"));
}

// A damaged series table must not give an empty, green study.
void CliTest::failedReadIsNoResult() {
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(TestDatabase::damageTable(t.path(), QStringLiteral("DanePom")));
    const Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
    QCOMPARE(run.code, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(QString::fromUtf8(run.err).contains(QString::fromUtf8("uszkodzony")),
             run.err.constData());
}

void CliTest::reportFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QSize>("pixels");  // empty: a PDF
    QTest::newRow("png") << "r.png" << QStringList() << QSize(794, 1123);
    QTest::newRow("bmp at zoom 2") << "r.bmp" << QStringList{"--zoom", "2"} << QSize(1588, 2246);
    QTest::newRow("pdf") << "r.pdf" << QStringList{"--font", "DejaVu Sans"} << QSize();
    QTest::newRow("anova png") << "a.png" << QStringList{"--page", "anova", "--alpha", "0.25"}
                               << QSize(794, 1123);
    QTest::newRow("anova pdf") << "a.pdf" << QStringList{"--page", "anova"} << QSize();
}

void CliTest::reportFiles() {
    QFETCH(QString, file);
    QFETCH(QStringList, extra);
    QFETCH(QSize, pixels);
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    const QString out = t.folder() + QLatin1Char('/') + file;
    Run run = cli(QStringList{QStringLiteral("report"), t.path(), QStringLiteral("7/2026"),
                              QStringLiteral("--out"), out} +
                  extra);
    QVERIFY2(run.code == 0, run.err.constData());
    if (pixels.isValid()) {
        QCOMPARE(QImage(out).size(), pixels);
        if (extra.contains(QStringLiteral("anova"))) {  // another page than the report
            const QString report = t.folder() + QStringLiteral("/report.png");
            QCOMPARE(cli({QStringLiteral("report"), t.path(), QStringLiteral("7/2026"),
                          QStringLiteral("--out"), report})
                         .code,
                     0);
            QVERIFY(QImage(out) != QImage(report));
        }
    } else {
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }
    const QString chartFile = t.folder() + QStringLiteral("/w.") + QFileInfo(file).suffix();
    if (!file.endsWith(QLatin1String(".bmp"))) {
        run = cli({QStringLiteral("chart"), t.path(), QStringLiteral("7/2026"),
                   QStringLiteral("--out"), chartFile});
        QVERIFY2(run.code == 0, run.err.constData());
        QVERIFY(QFileInfo(chartFile).size() > 0);
    }
    // 6/2026 lacks a series: no page
    run = cli({QStringLiteral("report"), t.path(), QStringLiteral("6/2026"),
               QStringLiteral("--out"), t.folder() + QStringLiteral("/none.png")});
    QCOMPARE(run.code, 4);
    QVERIFY(!QFile::exists(t.folder() + QStringLiteral("/none.png")));
}

// A writer killed in the middle of a commit leaves a hot journal. With no program on
// the file the reader rolls the change back, as an ordinary open does, and reads the
// file as it was; while a program holds the file, it is told that it is recovering it.
// The control charts as a picture and a page; the history of corrections, empty for a
// file from before it was kept, never added by the reader.
void CliTest::controlChartsAndHistory() {
    TestDatabase t(TestDatabase::fixture("aiag_10x3x3.sql"));
    const QString png = t.folder() + QStringLiteral("/k.png");
    const QString pdf = t.folder() + QStringLiteral("/k.pdf");
    for (const QString& out : {png, pdf}) {
        const Run run =
            cli({QStringLiteral("chart"), t.path(), QStringLiteral("AIAG"),
                 QStringLiteral("--kind"), QStringLiteral("xbar-r"), QStringLiteral("--out"), out});
        QVERIFY2(run.code == 0, run.err.constData());
    }
    QCOMPARE(QImage(png).size(), QSize(1123, 794));
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(cli({QStringLiteral("chart"), t.path(), QStringLiteral("AIAG"),
                  QStringLiteral("--kind"), QStringLiteral("pie"), QStringLiteral("--out"), png})
                 .code,
             64);
    Run history = cli({QStringLiteral("history"), t.path(), QStringLiteral("AIAG")});
    QCOMPARE(history.code, 0);
    QCOMPARE(history.out.trimmed(), QByteArray("[]"));
    QVERIFY(!TestDatabase::runSql(t.path(), QStringLiteral("SELECT 1 FROM Historia")));
    {
        auto opened = Session::openFile(t.path(), RegionalSettings::polish());  // migrates
        History::record(opened.session->database(),
                        {QDateTime(QDate(2026, 12, 9), QTime(9, 0)), QStringLiteral("AIAG"),
                         QStringLiteral("B"), 4, 2, Value(1.03), Value(0.3), QStringLiteral("x")});
    }
    history = cli({QStringLiteral("history"), t.path(), QStringLiteral("AIAG")});
    const QJsonArray entries = QJsonDocument::fromJson(history.out).array();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].toObject().value(QStringLiteral("old")).toDouble(), 1.03);
    QCOMPARE(entries[0].toObject().value(QStringLiteral("trial")).toInt(), 2);
}

// Export then import, both layouts: the same results; a refused import, or one while the
// program holds the file, leaves it byte for byte; export-all gives a row per analysis.
void CliTest::studyFilesOutAndIn() {
    TestDatabase t(TestDatabase::fixture("aiag_10x3x3.sql"));
    const auto bytesOf = [](const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    const AnalysisScreen original = studyInFile(t.path(), QStringLiteral("AIAG"));
    for (const char* layout : {"long", "wide"}) {
        const QString csv = t.folder() + QStringLiteral("/%1.csv").arg(QLatin1String(layout));
        Run run = cli({QStringLiteral("export"), t.path(), QStringLiteral("AIAG"),
                       QStringLiteral("--out"), csv, QStringLiteral("--layout"),
                       QString::fromLatin1(layout)});
        QVERIFY2(run.code == 0, run.err.constData());
        const QString numer = QStringLiteral("kopia-%1").arg(QLatin1String(layout));
        run = cli({QStringLiteral("import"), t.path(), csv, QStringLiteral("--numer"), numer,
                   QStringLiteral("--header"), QStringLiteral("NazwaP=Czujnik 2")});
        QVERIFY2(run.code == 0, run.err.constData());
        const AnalysisScreen copy = studyInFile(t.path(), numer);
        QCOMPARE(copy.results, original.results);
        QCOMPARE(copy.header[Panels::kGaugeName], QStringLiteral(" Czujnik 2"));
    }
    const QByteArray before = bytesOf(t.path());
    const QString bad = t.folder() + QStringLiteral("/bad.csv");
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("appraiser;part;trial;value\nA;1;1;x\n");
    file.close();
    Run run = cli(
        {QStringLiteral("import"), t.path(), bad, QStringLiteral("--numer"), QStringLiteral("Z")});
    QCOMPARE(run.code, 5);
    QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("Wiersz 2, kolumna 4")));
    // what the analysis editor refuses is refused here too, the field named
    run = cli({QStringLiteral("import"), t.path(), t.folder() + QStringLiteral("/long.csv"),
               QStringLiteral("--numer"), QStringLiteral("Z"), QStringLiteral("--header"),
               QStringLiteral("CoRef=9")});
    QCOMPARE(run.code, 5);
    QVERIFY2(QString::fromUtf8(run.err).contains(QStringLiteral("CoRef:")), run.err.constData());
    const QString device = QStringLiteral("/dev/zero");  // never read: not a regular file
    run = cli({QStringLiteral("import"), t.path(), device, QStringLiteral("--numer"),
               QStringLiteral("Z")});
    QCOMPARE(run.code, 5);
    {
        const auto held = ProgramLock::take(t.path());
        run = cli({QStringLiteral("import"), t.path(), t.folder() + QStringLiteral("/long.csv"),
                   QStringLiteral("--numer"), QStringLiteral("Z")});
        QCOMPARE(run.code, 2);
    }
    QCOMPARE(bytesOf(t.path()), before);
    const QString all = t.folder() + QStringLiteral("/all.jsonl");
    run = cli({QStringLiteral("export-all"), t.path(), QStringLiteral("--out"), all});
    QVERIFY2(run.code == 0, run.err.constData());
    const QList<QByteArray> rows = bytesOf(all).trimmed().split('\n');
    QCOMPARE(rows.size(), 4);  // AIAG, M/5 and the two copies
    const QJsonObject first = QJsonDocument::fromJson(rows[0]).object();
    QCOMPARE(first.value(QStringLiteral("pctRR")).toDouble(), *original.study.results.percentRR);
    QCOMPARE(first.value(QStringLiteral("LiczbaN")), QJsonValue(10));  // a number, not a text
    // CSV: every number in the shortest text that reads back as the same double
    const QString allCsv = t.folder() + QStringLiteral("/all.csv");
    QCOMPARE(cli({QStringLiteral("export-all"), t.path(), QStringLiteral("--out"), allCsv}).code,
             0);
    const QList<QByteArray> csvRows = bytesOf(allCsv).split('\n');
    const QList<QByteArray> names = csvRows[0].trimmed().split(';');
    const QByteArray pctRR = csvRows[1].trimmed().split(';').value(names.indexOf("pctRR"));
    QCOMPARE(pctRR,
             QString::number(*original.study.results.percentRR, 'g', QLocale::FloatingPointShortest)
                 .replace(QLatin1Char('.'), QLatin1Char(','))
                 .toUtf8());
    // a read that fails in the pass is its first cause, not the output file's
    QVERIFY(TestDatabase::runSql(t.path(),
                                 QStringLiteral("UPDATE DanePom SET P3 = 'x' WHERE ID = 'M/5'")));
    run = cli({QStringLiteral("export-all"), t.path(), QStringLiteral("--out"), allCsv});
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains("M/5") && !run.err.contains("nie można zapisać"),
             run.err.constData());
    // a file without analyses still gets its line of names
    TestDatabase empty;
    const QString none = empty.folder() + QStringLiteral("/none.csv");
    QCOMPARE(cli({QStringLiteral("export-all"), empty.path(), QStringLiteral("--out"), none}).code,
             0);
    QVERIFY(bytesOf(none).startsWith("\xEF\xBB\xBFnumer;kind;NazwaC;"));
    QCOMPARE(bytesOf(none).count('\n'), 1);
    const QString dfq = t.folder() + QStringLiteral("/a.dfq");
    QCOMPARE(cli({QStringLiteral("export"), t.path(), QStringLiteral("AIAG"),
                  QStringLiteral("--out"), dfq})
                 .code,
             0);
    QCOMPARE(bytesOf(dfq).count("K0001/1 "), 90);
}

// The verification needs no database: the table on standard output, the record as PDF.
// A type-1 study through every command: its figures as JSON, its report page, its file out
// and in again, its row in export-all; a file the program never opened takes none.
void CliTest::type1StudyEverywhere() {
    TestDatabase t(TestDatabase::WithKinds{}, TestDatabase::fixture("type1_studies.sql"));
    Run run = cli({QStringLiteral("results"), t.path(), QStringLiteral("T1/JASP")});
    QCOMPARE(run.code, 0);
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(json.value(QStringLiteral("kind")).toString(), QStringLiteral("type1"));
    const QJsonObject type1 = json.value(QStringLiteral("type1")).toObject();
    QCOMPARE(type1.value(QStringLiteral("cgVerdict")).toString(), QStringLiteral("red"));
    QCOMPARE(type1.value(QStringLiteral("df")).toInt(), 49);
    QVERIFY(type1.value(QStringLiteral("biasSignificant")) == QJsonValue(false));
    QCOMPARE(json.value(QStringLiteral("readings")).toArray().size(), 50);

    const QString png = t.folder() + QStringLiteral("/t1.png");
    run = cli({QStringLiteral("report"), t.path(), QStringLiteral("T1/JASP"),
               QStringLiteral("--out"), png});
    QVERIFY2(run.code == 0 && QImage(png).width() > 700, run.err.constData());
    QCOMPARE(cli({QStringLiteral("chart"), t.path(), QStringLiteral("T1/JASP"),
                  QStringLiteral("--out"), png})
                 .code,
             4);

    const QString csv = t.folder() + QStringLiteral("/t1.csv");
    QCOMPARE(cli({QStringLiteral("export"), t.path(), QStringLiteral("T1/UP"),
                  QStringLiteral("--out"), csv})
                 .code,
             0);
    run = cli({QStringLiteral("import"), t.path(), csv, QStringLiteral("--numer"),
               QStringLiteral("T1/kopia")});
    QVERIFY2(run.code == 0, run.err.constData());
    const auto figures = [&](const char* numer) {
        const Run r = cli({QStringLiteral("results"), t.path(), QString::fromLatin1(numer)});
        return QJsonDocument::fromJson(r.out).object().value(QStringLiteral("type1"));
    };
    QCOMPARE(figures("T1/kopia"), figures("T1/UP"));

    const QString jsonl = t.folder() + QStringLiteral("/all.jsonl");
    QCOMPARE(cli({QStringLiteral("export-all"), t.path(), QStringLiteral("--out"), jsonl}).code, 0);
    QFile lines(jsonl);
    QVERIFY(lines.open(QIODevice::ReadOnly));
    const QJsonObject first = QJsonDocument::fromJson(lines.readLine()).object();
    QCOMPARE(first.value(QStringLiteral("kind")).toString(), QStringLiteral("type1"));
    QCOMPARE(first.value(QStringLiteral("cg")), type1.value(QStringLiteral("cg")));

    TestDatabase old;  // the delivered file, never opened by the program
    run = cli({QStringLiteral("import"), old.path(), csv, QStringLiteral("--numer"),
               QStringLiteral("T1")});
    QCOMPARE(run.code, 2);
    QVERIFY(QString::fromUtf8(run.err).contains(QString::fromUtf8("uruchom w nim raz program")));
}

// A bias and linearity study: its figures and parts as JSON, its file out and in again
// with the same figures, its report page.
void CliTest::linearityStudyEverywhere() {
    TestDatabase t(TestDatabase::WithKinds{}, TestDatabase::fixture("linearity_studies.sql"));
    const auto figures = [&](const char* numer) {
        const Run r = cli({QStringLiteral("results"), t.path(), QString::fromLatin1(numer)});
        return QJsonDocument::fromJson(r.out).object().value(QStringLiteral("linearity"));
    };
    const QJsonObject aiag = figures("L/AIAG").toObject();
    QCOMPARE(aiag.value(QStringLiteral("acceptable")), QJsonValue(false));
    QCOMPARE(aiag.value(QStringLiteral("parts")).toArray().size(), 5);
    QCOMPARE(aiag.value(QStringLiteral("processVariation")).toDouble(), 6.0);
    const QString csv = t.folder() + QStringLiteral("/lin.csv");
    QCOMPARE(cli({QStringLiteral("export"), t.path(), QStringLiteral("L/AIAG"),
                  QStringLiteral("--out"), csv})
                 .code,
             0);
    const Run run = cli({QStringLiteral("import"), t.path(), csv, QStringLiteral("--numer"),
                         QStringLiteral("L/kopia")});
    QVERIFY2(run.code == 0, run.err.constData());
    QCOMPARE(figures("L/kopia"), figures("L/AIAG"));
    const QString pdf = t.folder() + QStringLiteral("/lin.pdf");
    QCOMPARE(cli({QStringLiteral("report"), t.path(), QStringLiteral("L/OK"),
                  QStringLiteral("--out"), pdf})
                 .code,
             0);
}

// An attribute study: its agreement and kappa as JSON, its file out and in again with the
// same figures, its row in export-all.
void CliTest::attributeStudyEverywhere() {
    TestDatabase t(TestDatabase::WithKinds{}, TestDatabase::fixture("attribute_study.sql"));
    const auto figures = [&](const char* numer) {
        const Run r = cli({QStringLiteral("results"), t.path(), QString::fromLatin1(numer)});
        return QJsonDocument::fromJson(r.out).object().value(QStringLiteral("attribute"));
    };
    const QJsonObject aiag = figures("Z/AIAG").toObject();
    QCOMPARE(aiag.value(QStringLiteral("parts")).toInt(), 50);
    QCOMPARE(aiag.value(QStringLiteral("accept")).toString(), QStringLiteral("1"));
    const QJsonObject a = aiag.value(QStringLiteral("appraisers")).toArray().first().toObject();
    QCOMPARE(a.value(QStringLiteral("effectivenessVerdict")).toString(), QStringLiteral("yellow"));
    QCOMPARE(aiag.value(QStringLiteral("cohenPairs")).toArray().size(), 3);
    const QString csv = t.folder() + QStringLiteral("/z.csv");
    QCOMPARE(cli({QStringLiteral("export"), t.path(), QStringLiteral("Z/AIAG"),
                  QStringLiteral("--out"), csv})
                 .code,
             0);
    const Run run = cli({QStringLiteral("import"), t.path(), csv, QStringLiteral("--numer"),
                         QStringLiteral("Z/kopia")});
    QVERIFY2(run.code == 0, run.err.constData());
    QCOMPARE(figures("Z/kopia"), figures("Z/AIAG"));
    const QString png = t.folder() + QStringLiteral("/z.png");
    QCOMPARE(cli({QStringLiteral("report"), t.path(), QStringLiteral("Z/AIAG"),
                  QStringLiteral("--out"), png})
                 .code,
             0);
    QVERIFY(QImage(png).width() > 700);
}

void CliTest::verifyPrintsTheRecord() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("protokol.pdf"));
    const Run run = cli({QStringLiteral("verify"), QStringLiteral("--out"), pdf});
    QVERIFY2(run.code == 0, run.out.constData());
    QVERIFY(run.out.contains("zgodny") && !run.out.contains("NIEZGODNY"));
    // both studies, every figure with the kind of its reference
    QVERIFY(run.out.contains("AIAG 10 × 3 × 3") && run.out.contains("ISO 22514-7 10 × 3 × 3"));
    QCOMPARE(run.out.count(" opublikowana ") + run.out.count(" wyprowadzona "),
             Verification::run({}).figures());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(5), QByteArray("%PDF-"));
    QCOMPARE(cli({QStringLiteral("verify"), QStringLiteral("--out"), dir.filePath("p.png")}).code,
             64);
    // no room for the studies: not computed (exit 2), never "NIEZGODNY", no record written
    SmallDisk disk;
    if (disk.mounted() && disk.fill()) {
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", disk.path().toUtf8());
        const QString none = dir.filePath(QStringLiteral("niepelny.pdf"));
        const Run full = cli({QStringLiteral("verify"), QStringLiteral("--out"), none});
        qputenv("TMPDIR", tmp);
        QCOMPARE(full.code, 2);
        QVERIFY(!full.out.contains("NIEZGODN") && full.out.contains("nie obliczono"));
        QVERIFY(full.out.contains("brak miejsca") && full.err.contains("nie zapisano"));
        QVERIFY(!QFile::exists(none));
    }
}

void CliTest::changeInterruptedByACrash() {
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    const Run before = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
    QCOMPARE(before.code, 0);
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(t.path().toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size=1; BEGIN; UPDATE DanePom SET P1 = P1 + 1000;"
                     "CREATE TABLE filler(x); INSERT INTO filler WITH RECURSIVE c(i) AS "
                     "(SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 2000) "
                     "SELECT randomblob(1000) FROM c;",
                     nullptr, nullptr, nullptr);
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const QString journal = t.path() + QStringLiteral("-journal");
    QVERIFY(QFileInfo(journal).size() > 0);
    {
        const auto held = ProgramLock::take(t.path());
        QVERIFY(held.lock);
        const Run told = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
        QCOMPARE(told.code, 2);
        QVERIFY2(QString::fromUtf8(told.err).contains(QStringLiteral("odtwarza")),
                 told.err.constData());
    }
    const Run after = cli({QStringLiteral("results"), t.path(), QStringLiteral("1/2026")});
    QVERIFY2(after.code == 0, after.err.constData());
    QCOMPARE(after.out, before.out);
    QVERIFY(!QFileInfo(journal).exists() || QFileInfo(journal).size() == 0);
}

void CliTest::fullDiskWritesNoFile_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("existing");  // a file of that name is there before
    QTest::newRow("report pdf") << "report"
                                << "r.pdf" << false;
    QTest::newRow("report png over an old one") << "report"
                                                << "r.png" << true;
    QTest::newRow("chart pdf") << "chart"
                               << "w.pdf" << false;
    QTest::newRow("chart png") << "chart"
                               << "w.png" << true;
    QTest::newRow("export dfq") << "export"
                                << "s.dfq" << false;
    QTest::newRow("export-all csv") << "export-all"
                                    << "all.csv" << false;
}

// A disk that fills up while the file is written: the failure is told with exit code 2,
// and the file is either whole or absent (an old one of that name stays as it was).
void CliTest::fullDiskWritesNoFile() {
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(bool, existing);
    SmallDisk disk;
    if (!disk.mounted()) {
        QSKIP("a small file system cannot be mounted here");
    }
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    const QString out = disk.filePath(file);
    if (existing) {
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    }
    QVERIFY(disk.fill());
    QStringList args{command, t.path(), QStringLiteral("7/2026"), QStringLiteral("--out"), out};
    if (command == QLatin1String("export-all")) {
        args.removeAt(2);
    }
    const Run run = cli(args);
    QCOMPARE(run.code, 2);
    // the first cause, in Polish: the disk, not "Unknown error" or the C library's English
    QVERIFY2(run.err.contains("Nie zapisano") &&
                 QString::fromUtf8(run.err).contains(QString::fromUtf8("brak miejsca na dysku")),
             run.err.constData());
    QStringList left = QDir(disk.path()).entryList(QDir::Files);
    left.removeOne(QStringLiteral("filler"));
    QCOMPARE(left, existing ? QStringList{file} : QStringList());
    if (existing) {
        QFile old(out);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }
}

void CliTest::hostileFilesAreToldOrRead_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("numer");
    QTest::addColumn<int>("resultsCode");  // -1: any of the allowed ones
    const auto bytes = [](const char* name, Hostility kind) {
        QTest::newRow(name) << int(kind) << QString() << QStringLiteral("1/2026") << -1;
    };
    const auto sql = [](const char* name, const QString& text,
                        const QString& numer = QStringLiteral("1/2026"), int code = -1) {
        QTest::newRow(name) << int(Hostility::Sql) << text << numer << code;
    };
    bytes("random bytes", Hostility::RandomBytes);
    bytes("random bytes after a database header", Hostility::RandomAfterHeader);
    bytes("cut in half", Hostility::CutInHalf);
    bytes("cut to one page", Hostility::CutToOnePage);
    sql("text in number fields",
        QString::fromUtf8("UPDATE Analiza SET LiczbaN = 'pięć', LiczbaK = 'x', LiczbaR = '2,5', "
                          "WN = 'abc', GWG = '1,5,', DWG = '', CoRef = 'q';"
                          "UPDATE DanePom SET P1 = 'x', P2 = '', ObX = 'y';"
                          "UPDATE Ustawienia SET POK = 'a', PSR = 'b', IK1 = 'c', Proc = 'd', "
                          "FRTol = 'e', PW1 = 'tak';"));
    sql("infinite and huge values",
        QStringLiteral("UPDATE DanePom SET P1 = 9e999, P2 = -9e999, P3 = 1e308, P4 = -1e308;"
                       "UPDATE Analiza SET GWG = 9e999, WN = 0, CoRef = 1;"));
    for (const int count : {-1, 0, 11, 1000000}) {
        const QByteArray name = "counts of " + QByteArray::number(count);
        sql(name.constData(), QStringLiteral("UPDATE Analiza SET LiczbaN = %1, LiczbaK = %1, "
                                             "LiczbaR = %1;")
                                  .arg(count));
    }
    sql("NULL in every field", nullEverywhere());
    // Damage the engine does not see: the index lists a row of another analysis, or a
    // measured value is a text. No result is given from it.
    sql("index lists another analysis's row",
        QStringLiteral(
            "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR) VALUES ('9/2026', 5, 2, 2);"
            "INSERT INTO DanePom (rowid, ID, Operator, P1, P2, P3, P4, P5, ObX) VALUES "
            "(100, '9/2026', 'B', 99, 99, 99, 99, 99, 99);"
            "CREATE TABLE Shadow (ID TEXT, Operator TEXT);"
            "INSERT INTO Shadow (rowid, ID, Operator) SELECT rowid, ID, Operator FROM DanePom "
            "WHERE ID = '1/2026';"
            "UPDATE Shadow SET rowid = 100 WHERE rowid = (SELECT MAX(rowid) FROM Shadow);"
            "CREATE INDEX Shadow_ID_Operator ON Shadow (ID, Operator);"
            "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_master;"
            "PRAGMA writable_schema = ON;"
            "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM roots WHERE name = "
            "'Shadow_ID_Operator') WHERE name = 'DanePom_ID_Operator';"
            "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM roots WHERE name = "
            "'DanePom_ID_Operator') WHERE name = 'Shadow_ID_Operator';"
            "PRAGMA writable_schema = OFF;"),
        QStringLiteral("1/2026"), 2);
    sql("a measured value that is a text", QStringLiteral("UPDATE DanePom SET P3 = 'abc';"),
        QStringLiteral("1/2026"), 2);
    sql("NULL analysis number", QStringLiteral("UPDATE Analiza SET Numer = NULL;"));
    const QString strange = QStringLiteral("1'; DROP TABLE Analiza; --\\\"%_");
    QString quoted = strange;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    sql("SQL in the analysis number",
        QStringLiteral("UPDATE Analiza SET Numer = '%1'; UPDATE DanePom SET ID = '%1';")
            .arg(quoted),
        strange, 0);
}

// Whatever the file holds, every command ends by itself with a result or a clear
// message: no crash, no hang, no sanitizer report.
void CliTest::hostileFilesAreToldOrRead() {
    QFETCH(int, kind);
    QFETCH(QString, sql);
    QFETCH(QString, numer);
    QFETCH(int, resultsCode);
    TestDatabase t(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(makeHostile(t.path(), Hostility(kind), sql));
    QTemporaryDir out;
    const QList<QStringList> commands = {
        {QStringLiteral("list"), t.path()},
        {QStringLiteral("results"), t.path(), numer},
        {QStringLiteral("report"), t.path(), numer, QStringLiteral("--out"),
         out.filePath(QStringLiteral("r.pdf"))},
        {QStringLiteral("chart"), t.path(), numer, QStringLiteral("--out"),
         out.filePath(QStringLiteral("c.png"))}};
    for (const QStringList& args : commands) {
        QProcess p;
        p.start(QStringLiteral(KALMET_BUILD_DIR "/kalmet-cli"), args);
        QVERIFY2(p.waitForFinished(60000), qPrintable(args[0] + QStringLiteral(" hangs")));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        const QByteArray stdOut = p.readAllStandardOutput();
        QVERIFY2(p.exitStatus() == QProcess::NormalExit, qPrintable(args[0] + ": " + err));
        QVERIFY2(!err.contains(QStringLiteral("Sanitizer")) &&
                     !err.contains(QStringLiteral("runtime error")),
                 qPrintable(err));
        const int code = p.exitCode();
        QVERIFY2(code == 0 || code == 2 || code == 3 || code == 4,
                 qPrintable(QStringLiteral("%1: %2 %3").arg(args[0]).arg(code).arg(err)));
        if (code != 0) {
            QVERIFY2(!err.trimmed().isEmpty(), qPrintable(args[0]));
        }
        if (args[0] == QLatin1String("results") && resultsCode >= 0) {
            QCOMPARE(code, resultsCode);
        }
        if (code == 0 && args[0] == QLatin1String("results")) {
            QJsonParseError parsed{};
            QJsonDocument::fromJson(stdOut, &parsed);
            QCOMPARE(parsed.error, QJsonParseError::NoError);
        }
    }
}

// read-gauge: readings on standard output in the C form, refusals on standard error;
// the exit codes of a count reached, a refused setting, a malformed text, a time-out and
// a lost device.
void CliTest::readGaugeOnAPseudoTerminal() {
    PseudoTerminal pty;
    QVERIFY(!pty.path.isEmpty());
    const QString settings = QStringLiteral("9600,n,8,1,") + pty.path;
    QProcess p;
    p.start(QStringLiteral(KALMET_BUILD_DIR "/kalmet-cli"),
            {QStringLiteral("read-gauge"), settings, QStringLiteral("--count"), QStringLiteral("2"),
             QStringLiteral("--timeout"), QStringLiteral("20")});
    QVERIFY(p.waitForStarted());
    // what comes before the port is open is cleared: the first frame again until read
    for (int i = 0; i < 100 && !p.canReadLine(); ++i) {
        pty.send("+1.5E1\r\n");
        p.waitForReadyRead(100);
    }
    pty.send("abc\r\n-2,25 mm\r\n");
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(p.readAllStandardOutput(), QByteArray("15\n-2.25\n"));
    QVERIFY(
        QString::fromUtf8(p.readAllStandardError()).contains(QString::fromUtf8("odrzucono „abc”")));
    const std::pair<QStringList, int> runs[] = {
        {{QStringLiteral("4800,e,7,2,") + pty.path}, 2},  // a pseudo-terminal takes no parity
        {{QStringLiteral("9600,n,8,1,/dev/brak")}, 2},    // no such device
        {{QStringLiteral("9600,n,8")}, 64},               // no shape
        {{QStringLiteral("9600,n,8,1")}, 64},             // no port
        {{settings, QStringLiteral("--timeout"), QStringLiteral("0.3")}, 6}};
    for (const auto& [args, code] : runs) {
        QCOMPARE(cli(QStringList{QStringLiteral("read-gauge")} + args).code, code);
    }
    p.start(QStringLiteral(KALMET_BUILD_DIR "/kalmet-cli"),
            {QStringLiteral("read-gauge"), settings});
    QVERIFY(p.waitForStarted());
    QByteArray told;
    for (int i = 0; i < 100 && !told.contains("czekam na pomiar"); ++i) {
        p.waitForReadyRead(100);
        told += p.readAllStandardError();
    }
    QVERIFY2(told.contains("czekam na pomiar"), told.constData());
    pty.closeMaster();  // the device gone
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError())
                .contains(QString::fromUtf8("utracono połączenie")));
    QVERIFY(!p.readAllStandardOutput().contains("czekam"));
}

QTEST_MAIN(CliTest)
#include "tst_cli.moc"
