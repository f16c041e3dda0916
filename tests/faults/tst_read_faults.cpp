// Every read of a start fails in turn (a preloaded library fails the N-th pread with EIO):
// kalmet-cli results and the main window either show what they show without the fault,
// or tell the failure with the cause SQLite gives; never a false cause ("brak tabeli"),
// a cause-less "błąd bazy danych", or an empty window without a word.

#include <QProcess>
#include <QtTest>

#include "test_database.h"

namespace {

struct Outcome {
    int code = 0;
    QString out;
    QString err;
};

Outcome runWithFault(const QString& program, const QStringList& args, long failing,
                     const QString& countInto = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"),
               QStringLiteral(KALMET_BUILD_DIR "/tests/kalmet_fail_read.so"));
    env.insert(QStringLiteral("KALMET_FAIL_READ"), QString::number(failing));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Under the address sanitizer the shim is loaded before its runtime; that is intended here.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("verify_asan_link_order=0"));
    if (!countInto.isEmpty()) {
        env.insert(QStringLiteral("KALMET_COUNT_READS"), countInto);
    }
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The reads a run makes without a fault.
long readsOf(const QString& program, const QStringList& args, const QTemporaryDir& dir) {
    const QString count = dir.filePath(QStringLiteral("reads"));
    runWithFault(program, args, 0, count);
    QFile file(count);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLong() : 0;
}

// A failure told with a true cause: SQLite's read error or damage, nothing false or empty.
bool toldTruly(const QString& text) {
    const bool cause = text.contains(QString::fromUtf8("błąd odczytu")) ||
                       text.contains(QString::fromUtf8("uszkodzony"));
    return cause && !text.contains(QString::fromUtf8("brak tabeli")) &&
           !text.contains(QString::fromUtf8(": błąd bazy danych"));
}

}  // namespace

class ReadFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void everyFailedReadIsTold_data();
    void everyFailedReadIsTold();
};

void ReadFaultsTest::everyFailedReadIsTold_data() {
    QTest::addColumn<bool>("window");
    QTest::newRow("kalmet-cli results") << false;
    QTest::newRow("the main window's start") << true;
}

void ReadFaultsTest::everyFailedReadIsTold() {
    QFETCH(bool, window);
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql"));
    const QString program = window ? QStringLiteral(KALMET_BUILD_DIR "/tests/kalmet_start_probe")
                                   : QStringLiteral(KALMET_BUILD_DIR "/kalmet-cli");
    const QStringList args =
        window ? QStringList{t.folder()}
               : QStringList{QStringLiteral("results"), t.path(), QStringLiteral("7/2026")};
    QTemporaryDir dir;
    const Outcome intact = runWithFault(program, args, 0);
    QCOMPARE(intact.code, 0);
    const long reads = readsOf(program, args, dir);
    QVERIFY(reads > 5);
    for (long n = 1; n <= reads + 2; ++n) {
        const Outcome faulty = runWithFault(program, args, n);
        const QString told = window ? faulty.out : faulty.err;
        const bool same = faulty.code == 0 && faulty.out == intact.out;
        const bool refused =
            !window ? faulty.code == 2 && toldTruly(told)
                    : toldTruly(told) && !faulty.out.contains(QStringLiteral("result: 125"));
        QVERIFY2(
            same || refused,
            qPrintable(QStringLiteral("read %1 (exit %2): %3").arg(n).arg(faulty.code).arg(told)));
    }
}

QTEST_GUILESS_MAIN(ReadFaultsTest)
#include "tst_read_faults.moc"
