#include "series_reader.h"

SeriesReader::SeriesReader(std::unique_ptr<Database> db)
    : db_(std::move(db)),
      series_(db_->handle(),
              QStringLiteral("SELECT Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, P10, ObX "
                             "FROM DanePom WHERE ID = ? ORDER BY Operator COLLATE LOCALE, rowid")) {
}

SeriesReader::~SeriesReader() {
    db_->commit();
}

std::unique_ptr<SeriesReader> SeriesReader::open(const QString& path,
                                                 const RegionalSettings& regional, QString* error) {
    Database::Opened opened = Database::open(path, regional, Database::Access::ReadOnly);
    if (!opened.database) {
        *error = opened.error;
        return nullptr;
    }
    // Unmapped: the pages of a large file read once would all count as the program's.
    opened.database->setMapped(false);
    if (!opened.database->beginRead()) {
        *error = opened.database->lastError();
        return nullptr;
    }
    std::unique_ptr<SeriesReader> reader(new SeriesReader(std::move(opened.database)));
    // The first read takes the shared lock, held until the reader closes.
    StudyInput none;
    if (!reader->read(Value(), none)) {
        *error = reader->error();
        return nullptr;
    }
    return reader;
}

bool SeriesReader::read(const Value& numer, StudyInput& in) {
    series_.reset();
    series_.bind(1, numer);
    const int n = StudyInput::partCount(in.parts);
    while (series_.next()) {
        SeriesInput s;
        s.appraiser = series_.column(0);
        s.parts.reserve(n);
        for (int j = 1; j <= n; ++j) {
            s.parts << series_.column(j);
        }
        s.average = series_.column(11);
        in.series << std::move(s);
    }
    return !series_.failed();
}
