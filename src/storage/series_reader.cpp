#include "series_reader.h"

#include <algorithm>
#include <numeric>

// In the index's order: sorted here, which spares SQLite a sorter for every analysis.
SeriesReader::SeriesReader(std::unique_ptr<Database> db)
    : db_(std::move(db)),
      series_(*db_,
              QStringLiteral("SELECT Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, P10, ObX, rowid "
                             "FROM DanePom WHERE ID = ?")) {}

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
    QVector<SeriesRow> none;
    if (!reader->read(Value(), 0, none)) {
        *error = reader->error();
        return nullptr;
    }
    return reader;
}

bool SeriesReader::read(const Value& numer, int parts, QVector<SeriesRow>& into) {
    series_.reset();
    series_.bind(1, numer);
    read_.clear();
    while (series_.next()) {
        read_.push_back(readRow(parts));
    }
    if (series_.failed()) {
        return false;
    }
    order_.resize(read_.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::sort(order_.begin(), order_.end(),
              [this](std::size_t a, std::size_t b) { return precedes(read_[a], read_[b]); });
    for (const std::size_t i : order_) {
        into << std::move(read_[i].series);
    }
    return true;
}

SeriesReader::Read SeriesReader::readRow(int parts) const {
    Read r;
    r.series.appraiser = series_.column(0);
    r.series.parts.reserve(parts);
    for (int j = 1; j <= parts; ++j) {
        r.series.parts << series_.column(j);
    }
    r.series.average = series_.column(11);
    r.storage = series_.columnStorage(0);
    if (r.storage == Statement::Storage::Text || r.storage == Statement::Storage::Bytes) {
        r.appraiser = series_.columnBytes(0);
    }
    r.rowid = series_.columnInt64(12);
    return r;
}

// Empty before numbers before texts (by the locale) before other bytes (byte by byte);
// equals by rowid.
bool SeriesReader::precedes(const Read& a, const Read& b) const {
    if (a.storage != b.storage) {
        return a.storage < b.storage;
    }
    int order = 0;
    switch (a.storage) {
        case Statement::Storage::Empty:
            break;
        case Statement::Storage::Number:
            order = compareValues(a.series.appraiser, b.series.appraiser);
            break;
        case Statement::Storage::Text:
            order = db_->collate(a.appraiser, b.appraiser);
            break;
        case Statement::Storage::Bytes:
            order = a.appraiser.compare(b.appraiser);
            break;
    }
    return order != 0 ? order < 0 : a.rowid < b.rowid;
}

bool SeriesReader::readReadings(const Value& numer, QVector<ReadingRow>& into) {
    const auto rows = Readings::read(*db_, numer.toText(RegionalSettings::english()), &error_);
    if (!rows) {
        return false;
    }
    into = *rows;
    return true;
}
