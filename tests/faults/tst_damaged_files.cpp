// Damaged copies of a file of studies, one byte flipped in each (every page in turn, at
// places across the page): whenever SQLite's own integrity check finds the damage, no
// analysis of the copy may be judged on it. Its selection is refused (a damaged file),
// or it shows exactly what the intact file shows (the damage lies elsewhere). A flipped
// value that leaves every page well-formed is a different number in a sound file: no
// check of the file's structure can find it, and none is asked for here.
//
// The normal run flips a few places per page; KALMET_FLIP_PLACES=N flips N.

#include <sqlite3.h>
#include <QtTest>

#include "analysis_screen.h"
#include "session.h"
#include "test_database.h"

namespace {

struct Judged {
    bool failed = false;
    QString figures;  // the verdicts and the shown %R&R of both methods
};

// The analyses of the numbers, each selected as the main window selects it.
QMap<QString, Judged> judgedIn(const QString& path, const QStringList& numbers, QString* refusal) {
    QMap<QString, Judged> out;
    auto opened = Session::openFile(path, RegionalSettings::polish(), Database::Access::ReadOnly);
    if (!opened.session) {
        *refusal = opened.error;
        return out;
    }
    for (const QString& numer : numbers) {
        const AnalysisScreen s = AnalysisScreen::select(*opened.session, numer);
        out.insert(numer, {s.failed(), QStringLiteral("%1 %2 %3 %4 %5")
                                           .arg(nameOf(s.study.rrVerdict))
                                           .arg(nameOf(s.study.resolutionVerdict))
                                           .arg(s.results[Panels::kPercentRR])
                                           .arg(s.anova ? nameOf(s.anova->rrVerdict) : "")
                                           .arg(s.anova ? nameOf(s.anova->ndcVerdict) : "")});
    }
    return out;
}

bool passesIntegrityCheck(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    const bool ok =
        sqlite3_step(check) == SQLITE_ROW &&
        qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
    sqlite3_finalize(check);
    sqlite3_close(db);
    return ok;
}

}  // namespace

class DamagedFilesTest : public QObject {
    Q_OBJECT

private slots:
    void damageFoundIsNeverJudged();
};

void DamagedFilesTest::damageFoundIsNeverJudged() {
    TestDatabase t(TestDatabase::fixture("study_10x3x3.sql") +
                   TestDatabase::fixture("aiag_10x3x3.sql"));
    QString refusal;
    const QStringList numbers{QStringLiteral("6/2026"), QStringLiteral("7/2026"),
                              QStringLiteral("AIAG"), QStringLiteral("M/5")};
    const QMap<QString, Judged> intact = judgedIn(t.path(), numbers, &refusal);
    QCOMPARE(intact.size(), 4);
    QFile original(t.path());
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    constexpr int kPage = 4096;
    const int places = qEnvironmentVariableIntValue("KALMET_FLIP_PLACES") > 0
                           ? qEnvironmentVariableIntValue("KALMET_FLIP_PLACES")
                           : 6;
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("KALMET.MDB"));
    int found = 0;
    QStringList wrong;
    for (int page = 1; page * kPage < bytes.size(); ++page) {  // page 0 holds the header
        for (int place = 0; place < places; ++place) {
            const int at = page * kPage + (place * 4093 / places + page * 7) % kPage;
            QByteArray damaged = bytes;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
            QFile out(copy);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(damaged) == damaged.size());
            out.close();
            if (passesIntegrityCheck(copy)) {
                continue;
            }
            ++found;
            refusal.clear();
            const QMap<QString, Judged> judged = judgedIn(copy, numbers, &refusal);
            for (auto it = judged.cbegin(); it != judged.cend(); ++it) {
                if (!it->failed && intact.value(it.key()).figures != it->figures) {
                    wrong << QStringLiteral("byte %1 (page %2): %3 judged %4, intact %5")
                                 .arg(at)
                                 .arg(page + 1)
                                 .arg(it.key(), it->figures, intact.value(it.key()).figures);
                }
            }
        }
    }
    QVERIFY(found > 0);
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("%1 of %2 damaged copies judged: %3")
                                             .arg(wrong.size())
                                             .arg(found)
                                             .arg(wrong.mid(0, 6).join(QStringLiteral("; ")))));
}

QTEST_GUILESS_MAIN(DamagedFilesTest)
#include "tst_damaged_files.moc"
