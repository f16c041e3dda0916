#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "database.h"
#include "program_lock.h"
#include "record_set.h"
#include "shared_values.h"

// What the program holds open for its whole run: the connection, the analysis,
// settings and profile record sets, the series record set of the selected analysis,
// and the shared values. Opened in the start-up order: report font and factor tables
// (with the shared values), application folder, database with the analysis walk,
// settings, profiles.
class Session {
public:
    static constexpr const char* kDatabaseFileName = "KALMET.MDB";
    // The longest date or number pattern the settings window takes.
    static constexpr int kPatternLength = 10;
    // Once open, a statement waits this long for a file another program holds: as long as
    // kalmet-cli export-all takes over the largest file.
    static constexpr int kLongestWaitMs = 30000;

    struct Opened {
        std::unique_ptr<Session> session;  // null on failure
        QString error;
    };

    // The database file of an application folder.
    static Opened openFolder(const QString& applicationFolder, const RegionalSettings& regional);
    // Any database file (the batch interface names it on its command line and only
    // reads it). With onlyAnalysis, the analysis record set holds just the analyses of
    // that number.
    // The program's own writable start adds its tables and columns (SchemaAdditions) to a
    // file that lacks them; other writers (kalmet-cli import) pass Additions::Leave and
    // never change the schema.
    enum class Additions { Add, Leave };
    static Opened openFile(const QString& path, const RegionalSettings& regional,
                           Database::Access access = Database::Access::ReadWrite,
                           const std::optional<QString>& onlyAnalysis = std::nullopt,
                           Additions additions = Additions::Add);

    Database& database() { return *db_; }
    RecordSet& analyses() { return *analyses_; }
    RecordSet& settingsRow() { return *settings_; }
    RecordSet& profiles() { return *profiles_; }
    // The series of the selected analysis; null before the first selection.
    RecordSet* series() { return series_.get(); }
    // Empty on success, else why the series cannot be read (the set is then null).
    QString openSeries(const QString& numer);
    // Opens the analysis record set afresh (after a change that was rolled back).
    void reloadAnalyses();

    SharedValues& shared() { return shared_; }
    const RegionalSettings& regional() const { return shared_.regional; }

    // The analysis numbers in record-set order, as start-up hands them to the selector.
    QStringList analysisNumbers() const;

private:
    explicit Session(const RegionalSettings& regional) : shared_(regional) {}
    // Loads the shared values; the refusal with its cause when the row cannot serve.
    QString loadSettings(const QString& path);

    SharedValues shared_;
    std::unique_ptr<ProgramLock> programLock_;  // goes last, after the connection
    std::unique_ptr<Database> db_;
    std::unique_ptr<RecordSet> analyses_;
    std::unique_ptr<RecordSet> settings_;
    std::unique_ptr<RecordSet> profiles_;
    std::unique_ptr<RecordSet> series_;
};
