#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QBuffer>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

#include "analysis_screen.h"
#include "csv_study.h"
#include "database.h"
#include "dfq_study.h"
#include "series_reader.h"
#include "session.h"
#include "statement.h"
#include "study_store.h"
#include "study_summary.h"
#include "test_database.h"

namespace {

// A 10 x 3 x 3 study from the AIAG values' pattern, its values with every binary digit;
// appraisers named like a formula, with the separator and quotes, and like a comment;
// header fields with a line break and with the separator before a formula.
StudyFile study() {
    StudyFile s;
    s.header = {{QStringLiteral("NazwaC"), QString::fromUtf8("Wałek\r\nfi 20")},
                {QStringLiteral("NumerC"), QStringLiteral("PN-4711")},
                {QStringLiteral("NazwaP"), QStringLiteral("Czujnik;=1+1")},
                {QStringLiteral("GWG"), QStringLiteral("2,5")},
                {QStringLiteral("DWG"), QStringLiteral("-2,5")}};
    s.parts = 10;
    s.appraisers = {QStringLiteral("=SUMA(A1)"), QString::fromUtf8("Żaneta; \"B\""),
                    QStringLiteral("#3 Nowak")};
    for (int a = 0; a < 3; ++a) {
        QVector<QVector<Value>> byPart(10);
        for (int j = 0; j < 10; ++j) {
            for (int t = 0; t < 3; ++t) {
                byPart[j] << Value(-1.36 + 0.37 * j + 0.011 * t - 0.125 * a);
            }
        }
        s.values << byPart;
    }
    return s;
}

QByteArray written(const StudyFile& s, CsvStudy::Layout layout, const RegionalSettings& rs) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CsvStudy::write(buffer, s, layout, CsvStudy::Format::of(rs));
    return buffer.data();
}

CsvStudy::Read readBack(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return CsvStudy::read(buffer);
}

}  // namespace

class StudyFilesTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void refusals_data();
    void refusals();
    void type1RoundTrip();
    void readsOtherProgramsFiles_data();
    void readsOtherProgramsFiles();
    void fieldsAsTheEditorTakesThem();
    void dfqOfTheStudy();
    void killedImportLeavesNoPartialAnalysis();
    void summaryOfEveryAnalysisIsTheWindows();
    void seriesReaderKeepsTheDatabasesOrder();
};

void StudyFilesTest::roundTrip_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("polish");
    QTest::newRow("long, Polish") << 0 << true;
    QTest::newRow("wide, Polish") << 1 << true;
    QTest::newRow("long, English") << 0 << false;
    QTest::newRow("wide, English") << 1 << false;
}

void StudyFilesTest::roundTrip() {
    QFETCH(int, layout);
    QFETCH(bool, polish);
    const RegionalSettings rs = polish ? RegionalSettings::polish() : RegionalSettings::english();
    StudyFile s = study();
    for (auto& [name, text] : s.header) {  // the fields as the export writes them
        text.replace(QLatin1Char(','), rs.decimalSeparator());
    }
    const QByteArray bytes = written(s, static_cast<CsvStudy::Layout>(layout), rs);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes);
    QVERIFY(text.contains(QStringLiteral("'=SUMA(A1)")));    // shown as text, never run
    QVERIFY(text.contains(QStringLiteral("\"#3 Nowak\"")));  // never read as a comment
    // no field line breaks, none puts a part of itself in a cell of its own
    QVERIFY(!text.contains(QStringLiteral("\r\nfi 20")));
    QVERIFY(text.contains(polish ? QStringLiteral("\"# NazwaP: Czujnik;=1+1\"")
                                 : QStringLiteral("# NazwaP: Czujnik;=1+1\r")));
    const int rows = layout == 0 ? 90 : 9;
    QCOMPARE(text.count(QStringLiteral("\r\n")), 5 + 1 + rows);
    const CsvStudy::Read back = readBack(bytes);
    QVERIFY2(back.study, qPrintable(back.error));
    QCOMPARE(back.study->appraisers, s.appraisers);
    QCOMPARE(back.study->parts, 10);
    QCOMPARE(back.study->trials(), 3);
    for (int a = 0; a < 3; ++a) {
        for (int t = 0; t < 3; ++t) {
            for (int j = 0; j < 10; ++j) {  // the very same double
                QVERIFY(back.study->value(a, j, t).number() == s.value(a, j, t).number());
            }
        }
    }
    QCOMPARE(back.study->headerValue(QStringLiteral("NazwaC")), QString::fromUtf8("Wałek fi 20"));
    QCOMPARE(back.study->headerValue(QStringLiteral("NazwaP")), QStringLiteral("Czujnik;=1+1"));
    // the file's own decimal reads its fields, whatever the desktop's: 2,5 is 2.5
    TestDatabase t({}, polish ? RegionalSettings::english() : RegionalSettings::polish());
    QVERIFY(StudyStore::storeNew(t.db(), *back.study, QStringLiteral("R"), {}).isEmpty());
    QCOMPARE(TestDatabase::column(t.path(), "SELECT GWG || '|' || DWG FROM Analiza"),
             QStringList{QStringLiteral("2.5|-2.5")});
}

void StudyFilesTest::refusals_data() {
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("message");
    const QString head = QStringLiteral("appraiser;part;trial;value\n");
    QString complete;
    for (const char* who : {"A", "B"}) {
        for (int j = 1; j <= 5; ++j) {
            for (int t = 1; t <= 2; ++t) {
                complete +=
                    QStringLiteral("%1;%2;%3;1,%2%3\n").arg(QLatin1String(who)).arg(j).arg(t);
            }
        }
    }
    QTest::newRow("not a number") << head + QStringLiteral("A;1;1;abc\n")
                                  << QString::fromUtf8(
                                         "Wiersz 2, kolumna 4: „abc” nie jest liczbą");
    QTest::newRow("swapped columns")
        << head + QStringLiteral("A;B;1;1,5\n")
        << QString::fromUtf8("Wiersz 2, kolumna 2: „B” nie jest numerem części");
    QTest::newRow("duplicate") << head + complete + QStringLiteral("A;1;1;2\n")
                               << QString::fromUtf8("Wiersz 22, kolumna 4: powtórzona wartość");
    QTest::newRow("missing cell") << head + complete.section(QLatin1Char('\n'), 1)
                                  << QString::fromUtf8(
                                         "brak wartości: oceniający „A”, powtórzenie 1, część 1");
    QTest::newRow("empty value") << head + QStringLiteral("A;1;1;\n")
                                 << QString::fromUtf8("Wiersz 2, kolumna 4: brak wartości");
    QTest::newRow("fourth appraiser")
        << head + complete + QStringLiteral("C;1;1;1\nD;1;1;1\n")
        << QString::fromUtf8("Wiersz 23, kolumna 1: więcej niż 3 oceniających");
    QTest::newRow("fourth trial") << head + QStringLiteral("A;1;4;1\n")
                                  << QString::fromUtf8(
                                         "Wiersz 2, kolumna 3: „4” nie jest numerem powtórzenia");
    QTest::newRow("eleventh part")
        << head + QStringLiteral("A;11;1;1\n")
        << QString::fromUtf8("Wiersz 2, kolumna 2: „11” nie jest numerem części");
    const QStringList fourParts = complete.split(QLatin1Char('\n'))
                                      .filter(QRegularExpression(QStringLiteral("^[AB];[1-4];")));
    QTest::newRow("too few parts")
        << head + fourParts.join(QLatin1Char('\n')) << QString::fromUtf8("za mało danych");
    QTest::newRow("unknown header") << QStringLiteral("who;what\nA;1\n")
                                    << QString::fromUtf8("Wiersz 1, kolumna 1: nieznany nagłówek");
    QTest::newRow("wide, wrong part column")
        << QStringLiteral("appraiser,trial,P1,P3\nA,1,1,2\n")
        << QString::fromUtf8("Wiersz 1, kolumna 4: oczekiwano kolumny „P2”");
    QTest::newRow("wide, short row")
        << QStringLiteral("appraiser\ttrial\tP1\tP2\nA\t1\t1\n")
        << QString::fromUtf8("Wiersz 2, kolumna 4: wiersz ma 3 kolumn");
    QString elevenParts = QStringLiteral("appraiser;trial");
    for (int j = 1; j <= 11; ++j) {
        elevenParts += QStringLiteral(";P%1").arg(j);
    }
    QTest::newRow("wide, eleven parts")
        << elevenParts + QStringLiteral("\n")
        << QString::fromUtf8("Wiersz 1, kolumna 13: więcej niż 10 części");
    for (const char* infinite : {"inf", "-inf", "nan", "1e999"}) {
        QTest::newRow(infinite) << head + QStringLiteral("A;1;1;%1\n").arg(QLatin1String(infinite))
                                << QString::fromUtf8("Wiersz 2, kolumna 4: „%1” nie jest liczbą")
                                       .arg(QLatin1String(infinite));
    }
    QTest::newRow("huge cell, quoted short")
        << head + QStringLiteral("A;1;1;") + QString(10'000'000, QLatin1Char('7')) +
               QStringLiteral("x\n")
        << QString::fromUtf8("Plik jest większy niż 1,0 MB");
    QTest::newRow("long cell, quoted short")
        << head + QStringLiteral("A;1;1;") + QString(100'000, QLatin1Char('7')) +
               QStringLiteral("x\n")
        << QString::fromUtf8(
               "Wiersz 2, kolumna 4: „7777777777777777777777777777777777777777…” "
               "nie jest liczbą");
    QTest::newRow("more rows than a study")
        << head + complete.repeated(5)
        << QString::fromUtf8("Wiersz 92, kolumna 1: więcej wierszy danych");
    QString twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve += QStringLiteral("%1;0,41%1\n").arg(i);
    }
    const QString type1 = QStringLiteral("trial;value\n");
    QTest::newRow("type 1, nine readings")
        << QStringLiteral("value\n") + QStringLiteral("1\n").repeated(9)
        << QString::fromUtf8("Wiersz 10, kolumna 1: za mało odczytów: 9");
    QTest::newRow("type 1, a trial twice")
        << type1 + twelve + QStringLiteral("3;0,5\n") << QString::fromUtf8("powtórzony odczyt 3");
    QTest::newRow("type 1, a trial missing")
        << type1 + twelve.section(QLatin1Char('\n'), 1) << QString::fromUtf8("brak odczytu 1");
    QTest::newRow("type 1, not a number")
        << type1 + QStringLiteral("1;nan\n") << QString::fromUtf8("Wiersz 2, kolumna 2: „nan”");
    QTest::newRow("type 1, more than a thousand")
        << QStringLiteral("value\n") + QStringLiteral("1\n").repeated(1001)
        << QString::fromUtf8("Wiersz 1002, kolumna 1: więcej odczytów");
    QTest::newRow("BOM of UTF-8, bytes that are not")
        << QString::fromLatin1("\xEF\xBB\xBF") + head + QString::fromLatin1("\xC0;1;1;1\n")
        << QString::fromUtf8("Plik oznaczony jako UTF-8");
}

// A type-1 study's file, written and read back: the readings in order, its fields, its
// kind recognised from the header line ("value" alone counts the rows).
void StudyFilesTest::type1RoundTrip() {
    StudyFile study;
    study.kind = StudyKind::Type1;
    study.header = {{QStringLiteral("Wzorzec"), QStringLiteral("-4")},
                    {QStringLiteral("GWG"), QStringLiteral("3,5")}};
    for (int i = 0; i < 50; ++i) {
        study.readings << Value(-4 + 0.1 * (i % 7) - 0.3);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(CsvStudy::write(buffer, study, CsvStudy::Layout::Long,
                            CsvStudy::Format::of(RegionalSettings::polish())));
    const CsvStudy::Read read = readBack(buffer.data());
    QVERIFY2(read.study, qPrintable(read.error));
    QCOMPARE(read.study->kind, StudyKind::Type1);
    QCOMPARE(read.study->readings, study.readings);
    QCOMPARE(read.study->headerValue(QStringLiteral("GWG")), QStringLiteral("3,5"));
    const CsvStudy::Read alone =
        readBack(QByteArray("Pomiar\n") + QByteArray("1.5\n").repeated(10));
    QVERIFY(alone.study && alone.study->kind == StudyKind::Type1);
    QCOMPARE(alone.study->readings.size(), 10);
}

void StudyFilesTest::refusals() {
    QFETCH(QString, csv);
    QFETCH(QString, message);
    // a Latin-1 QString is the bytes as they stand: a broken encoding stays broken
    const bool bytes = csv.startsWith(QChar(0xEF));
    const CsvStudy::Read read = readBack(bytes ? csv.toLatin1() : csv.toUtf8());
    QVERIFY(!read.study);
    QVERIFY2(read.error.contains(message), qPrintable(read.error.left(200)));
    QVERIFY(read.error.size() < 300);
}

// Files as other programs write them, read right: Excel under Polish Windows
// (Windows-1250), UTF-16 with its BOM, the peers' long layouts (any column order, either
// language, trial counted in row order), a header field's decimal comma with a
// semicolon file whose data has no decimals.
void StudyFilesTest::readsOtherProgramsFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstAppraiser");
    QTest::addColumn<double>("lastValue");
    QString polish;
    QString peers = QStringLiteral("Part,Operator,Measurement\r\n");
    QString ours = QString::fromUtf8("Pomiar;Oceniający;Część;Powtórzenie\n");
    for (const char* who : {"Łukasz Żak", "Ewa"}) {
        for (int j = 1; j <= 5; ++j) {
            for (int t = 1; t <= 2; ++t) {
                polish += QString::fromUtf8("%1;%2;%3;1,%2%3\r\n")
                              .arg(QString::fromUtf8(who))
                              .arg(j)
                              .arg(t);
                peers +=
                    QStringLiteral("%2,%1,1.%2%3\r\n").arg(QString::fromUtf8(who)).arg(j).arg(t);
                ours +=
                    QStringLiteral("1,%2%3;%1;%2;%3\n").arg(QString::fromUtf8(who)).arg(j).arg(t);
            }
        }
    }
    const QString head = QStringLiteral("appraiser;part;trial;value\r\n");
    QStringEncoder windows("windows-1250");
    QTest::newRow("Windows-1250") << QByteArray(windows.encode(head + polish))
                                  << QString::fromUtf8("Łukasz Żak") << 1.52;
    QStringEncoder le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QTest::newRow("UTF-16 LE") << QByteArray(le.encode(head + polish))
                               << QString::fromUtf8("Łukasz Żak") << 1.52;
    QStringEncoder be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    QTest::newRow("UTF-16 BE") << QByteArray(be.encode(head + polish))
                               << QString::fromUtf8("Łukasz Żak") << 1.52;
    QTest::newRow("Part,Operator,Measurement")
        << peers.toUtf8() << QString::fromUtf8("Łukasz Żak") << 1.52;
    QTest::newRow("Polish names, any order")
        << ours.toUtf8() << QString::fromUtf8("Łukasz Żak") << 1.52;
    QTest::newRow("Parts,Operators,Response")
        << QByteArray(
               "Operators,Parts,Response\n1,1,1\n1,1,2\n2,1,3\n2,1,4\n1,2,5\n1,2,6\n"
               "2,2,7\n2,2,8\n1,3,1\n1,3,1\n2,3,1\n2,3,1\n1,4,1\n1,4,1\n2,4,1\n2,4,1\n"
               "1,5,1\n1,5,1\n2,5,1\n2,5,9\n")
        << QStringLiteral("1") << 9.0;
}

void StudyFilesTest::readsOtherProgramsFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstAppraiser);
    QFETCH(double, lastValue);
    const CsvStudy::Read read = readBack(bytes);
    QVERIFY2(read.study, qPrintable(read.error));
    QCOMPARE(read.study->appraisers.first(), firstAppraiser);
    QCOMPARE(read.study->parts, 5);
    QCOMPARE(read.study->trials(), 2);
    QCOMPARE(read.study->values.last().last().last().number(), lastValue);
    QVERIFY(!read.study->appraisers.join(QString()).contains(QChar(0xFFFD)));
}

// A Polish file whose data has no decimals still reads its own "10,75" as 10.75, under
// any desktop; an editor's refusal in a field refuses the file.
void StudyFilesTest::fieldsAsTheEditorTakesThem() {
    QString csv =
        QStringLiteral("# GWG: 10,75\n# DWG: 10,25\n# CoRef: 4\nappraiser;part;trial;value\n");
    for (const char* who : {"A", "B"}) {
        for (int j = 1; j <= 5; ++j) {
            for (int t = 1; t <= 2; ++t) {
                csv += QStringLiteral("%1;%2;%3;%2\n").arg(QLatin1String(who)).arg(j).arg(t);
            }
        }
    }
    const CsvStudy::Read read = readBack(csv.toUtf8());
    QVERIFY2(read.study, qPrintable(read.error));
    TestDatabase t({}, RegionalSettings::english());
    QVERIFY(StudyStore::storeNew(t.db(), *read.study, QStringLiteral("P"), {}).isEmpty());
    QCOMPARE(TestDatabase::column(t.path(), "SELECT GWG || '|' || DWG FROM Analiza"),
             QStringList{QStringLiteral("10.75|10.25")});
    const std::pair<const char*, const char*> refused[] = {
        {"GWG=abc", "GWG: „abc” nie jest liczbą"},
        {"CoRef=9", "CoRef: „9” nie jest sposobem"},
        {"Data=wczoraj", "Data: „wczoraj” nie jest datą"},
        {"DWG=11", "GWG: górna granica tolerancji musi być większa od dolnej"},
        {"NazwaC=0123456789012345678901234567890",
         "NazwaC: „0123456789012345678901234567890” ma 31"}};
    for (const auto& [given, why] : refused) {
        const QString pair = QString::fromLatin1(given);
        const QHash<QString, QString> header{
            {pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1)}};
        const QString cause = StudyStore::refusedField(*read.study, header);
        QVERIFY2(cause.startsWith(QString::fromUtf8(why)), qPrintable(cause));
        QVERIFY(!StudyStore::storeNew(t.db(), *read.study, QStringLiteral("Q"), header).isEmpty());
    }
    QCOMPARE(TestDatabase::column(t.path(), "SELECT count(*) FROM Analiza"),
             QStringList{QStringLiteral("1")});
}

void StudyFilesTest::dfqOfTheStudy() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StudyFile s = study();
    s.header.append({QStringLiteral("NumerP"), QString::fromUtf8("⌀20 Ø µm² ☺")});
    QStringList changed;
    QVERIFY(DfqStudy::write(buffer, s, 3, QDateTime(QDate(2003, 2, 4), QTime(16, 30, 53)),
                            DfqStudy::Encoding::Windows1250, &changed));
    const QByteArray bytes = buffer.data();
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));  // every line ends CR LF
    QCOMPARE(bytes.count("K0001/1 "), 90);             // a line break in a field adds none
    QVERIFY(
        bytes.contains("K1002/1 Wa\xB3"
                       "ek fi 20\r\n"));  // Windows-1250
    // what Windows-1250 lacks, as the nearest letter, and the field named
    QVERIFY(bytes.contains("K2401/1 O20 O \xB5m2 ?\r\n"));
    QCOMPARE(changed, QStringList{QStringLiteral("K2401/1 (NumerP)")});
    const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    for (const char* field : {"K2205/1 10", "K2220/1 3", "K2221/1 3", "K8500/1 3", "K2022/1 3",
                              "K2110/1 -2.5", "K2111/1 2.5", "K0100 1"}) {
        QVERIFY2(lines.contains(QString::fromLatin1(field)), field);
    }
    QStringList values = lines.filter(QStringLiteral("K0001/1 "));
    QCOMPARE(values.size(), 90);
    // appraiser -> part -> trial: the first three are the first part's trials; every
    // value in the shortest text that reads back as the same double
    QStringList first;
    for (const double v : {-1.36, -1.36 + 0.011, -1.36 + 0.022, -1.36 + 0.37}) {
        first << QStringLiteral("K0001/1 ") +
                     QString::number(v, 'g', QLocale::FloatingPointShortest);
    }
    QCOMPARE(values.mid(0, 4), first);
    QVERIFY(first.contains(QStringLiteral("K0001/1 -0.9900000000000001")));
    QVERIFY(lines.contains(QStringLiteral("K0004/1 04.02.2003/16:30:53")));
    QCOMPARE(lines.filter(QStringLiteral("K0014/1 10")).size(), 9);
}

// Killed at a random moment, the file holds each imported analysis with all its series
// or not at all.
void StudyFilesTest::killedImportLeavesNoPartialAnalysis() {
    for (int round = 0; round < 10; ++round) {
        TestDatabase t;
        const pid_t child = fork();
        if (child == 0) {
            auto opened = Database::open(t.path(), RegionalSettings::polish());
            for (int i = 0;; ++i) {
                if (!StudyStore::storeNew(*opened.database, study(), QString::number(i), {})
                         .isEmpty()) {
                    _exit(1);
                }
            }
        }
        usleep(20000 + QRandomGenerator::global()->bounded(30000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        auto opened = Database::open(t.path(), RegionalSettings::polish());
        QVERIFY2(opened.database, qPrintable(opened.error));
        Statement partial(*opened.database,
                          QStringLiteral("SELECT count(*) FROM Analiza a WHERE (SELECT count(*) "
                                         "FROM DanePom d WHERE d.ID = a.Numer) <> 9"));
        QVERIFY(partial.next());
        QCOMPARE(partial.column(0).number(), 0.0);
    }
}

// The summary pass reads and computes on its own, in batches across threads: each of
// its rows must say what the main window says of that analysis, and a damaged analysis
// stops it with its number named.
void StudyFilesTest::summaryOfEveryAnalysisIsTheWindows() {
    const QString copies = QStringLiteral(
        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 299) "
        "INSERT INTO Analiza SELECT 'K' || i, LiczbaN, LiczbaK, LiczbaR, Data, Temperatura, "
        "Wilgotnosc, NazwaC, NumerC, Parametr, Jednostka, WN, GWG, DWG, i % 5, NazwaP, NumerP, "
        "ZakresP, BladP, NazwaT, Setings FROM Analiza, c WHERE Numer = 'AIAG';"
        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 299) "
        "INSERT INTO DanePom SELECT 'K' || i, Operator, P1 + i * 0.0013, P2, P3 - i * 0.002, P4, "
        "P5, P6, P7, P8, P9, P10, ObX FROM DanePom, c WHERE ID = 'AIAG' AND rowid % 7 <> i % 9;");
    TestDatabase t(TestDatabase::fixture("aiag_10x3x3.sql") + copies);
    auto opened = Session::openFile(t.path(), RegionalSettings::polish());
    QVERIFY2(opened.session, qPrintable(opened.error));
    Session& session = *opened.session;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY2(StudySummary::writeAll(session, out, true, CsvStudy::Format::of(session.regional()),
                                    {}, &error),
             qPrintable(error));
    const QList<QByteArray> rows = out.data().trimmed().split('\n');
    QCOMPARE(rows.size(), 301);
    for (const QByteArray& line : rows) {
        const QJsonObject row = QJsonDocument::fromJson(line).object();
        const AnalysisScreen screen =
            AnalysisScreen::select(session, row.value(QStringLiteral("numer")).toString());
        const auto number = [&row](const char* name) {
            const QJsonValue v = row.value(QString::fromLatin1(name));
            return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
        };
        QCOMPARE(row.value(QStringLiteral("complete")).toBool(), screen.hasCompleteStudy());
        QCOMPARE(number("pctRR"),
                 screen.hasCompleteStudy() ? screen.study.results.percentRR : std::nullopt);
        QCOMPARE(number("anovaPctRR"),
                 screen.anova ? screen.anova->components.rr.pctRef : std::nullopt);
        QCOMPARE(number("anovaNdc"), screen.anova ? screen.anova->ndc : std::nullopt);
    }
    QVERIFY(TestDatabase::runSql(t.path(),
                                 QStringLiteral("UPDATE DanePom SET P3 = 'x' WHERE ID = 'K250'")));
    QVERIFY(!StudySummary::writeAll(session, out, false, CsvStudy::Format::of(session.regional()),
                                    {}, &error));
    QVERIFY2(error.contains(QStringLiteral("K250")), qPrintable(error));
}

// The pass sorts each analysis's series itself; SQLite's ORDER BY is the reference:
// Polish letters by the locale, equal names by rowid, empty, number and bytes kinds.
void StudyFilesTest::seriesReaderKeepsTheDatabasesOrder() {
    TestDatabase t(QStringLiteral(
        "INSERT INTO DanePom (ID, Operator, P1) VALUES ('S', 'Żaneta', 1), ('S', 'Marek', 2), "
        "('S', 'Łukasz', 3), ('S', 'marek', 4), ('S', NULL, 5), ('S', 'Marek', 6), "
        "('S', X'4D00FF', 7), ('S', '', 8), ('S', 'Łukasz', 9), ('S', 'Ewa', 10);"
        "UPDATE DanePom SET Operator = 12 WHERE P1 = 10;"));
    Statement ordered(t.db(), QStringLiteral("SELECT P1 FROM DanePom WHERE ID = 'S' "
                                             "ORDER BY Operator COLLATE LOCALE, rowid"));
    QStringList expected;
    while (ordered.next()) {
        expected << ordered.column(0).toText(RegionalSettings::english());
    }
    QString error;
    const auto reader = SeriesReader::open(t.path(), RegionalSettings::polish(), &error);
    QVERIFY2(reader, qPrintable(error));
    QVector<SeriesRow> rows;
    QVERIFY(reader->read(QStringLiteral("S"), 1, rows));
    QStringList read;
    for (const SeriesRow& s : rows) {
        read << s.parts.value(0).toText(RegionalSettings::english());
    }
    QCOMPARE(read, expected);
}

QTEST_GUILESS_MAIN(StudyFilesTest)
#include "tst_study_files.moc"
