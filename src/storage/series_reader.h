#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "database.h"
#include "readings.h"
#include "series_row.h"
#include "statement.h"

// A read-only connection of its own that reads the series of one analysis after
// another, in the order the analysis window shows them. It holds one read transaction
// from opening to closing, so a long pass reads the file in a single state. It may be
// used from any thread, by one thread at a time.
class SeriesReader {
public:
    // Null, with the cause in *error, when the file cannot be opened or read.
    static std::unique_ptr<SeriesReader> open(const QString& path, const RegionalSettings& regional,
                                              QString* error);
    ~SeriesReader();
    SeriesReader(const SeriesReader&) = delete;
    SeriesReader& operator=(const SeriesReader&) = delete;

    // Appends the series stored for the analysis to `into`, with the values of `parts`
    // parts; false on a failed read (the cause in error()).
    bool read(const Value& numer, int parts, QVector<SeriesRow>& into);
    // The readings of a study of another kind, in order; false on a failed read.
    bool readReadings(const Value& numer, QVector<ReadingRow>& into);
    QString error() const { return error_.isEmpty() ? series_.error() : error_; }

private:
    // A series as read, with what orders it among the analysis's others.
    struct Read {
        SeriesRow series;
        Statement::Storage storage;
        QByteArray appraiser;  // the Operator field as stored
        qint64 rowid;
    };

    explicit SeriesReader(std::unique_ptr<Database> db);
    Read readRow(int parts) const;
    // ORDER BY Operator COLLATE LOCALE, rowid, as SQLite orders it.
    bool precedes(const Read& a, const Read& b) const;

    std::unique_ptr<Database> db_;
    Statement series_;
    std::vector<Read> read_;          // the series of the analysis being read, as read
    std::vector<std::size_t> order_;  // and their places in it, sorted
    QString error_;                   // a failed read of readings
};
