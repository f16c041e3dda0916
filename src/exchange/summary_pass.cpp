#include "summary_pass.h"

#include <QMutexLocker>
#include <QScopeGuard>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <cerrno>
#include <deque>
#include <string_view>
#include <utility>

#include "analysis_screen.h"
#include "anova.h"
#include "attribute_study.h"
#include "database.h"
#include "linearity_study.h"
#include "readings.h"
#include "rr_study.h"
#include "schema_additions.h"
#include "session.h"
#include "shared_values.h"
#include "stored_study.h"
#include "study_summary.h"
#include "system_error.h"
#include "type1_study.h"

namespace {

constexpr int kBatchSize = 64;  // analyses a worker takes at a time
constexpr int kHeaderCount = static_cast<int>(std::size(StudySummary::kHeaderFields));

// A header field's place among the columns read: Numer comes first.
constexpr int columnOf(std::string_view field) {
    for (int i = 0; i < kHeaderCount; ++i) {
        if (field == StudySummary::kHeaderFields[i]) {
            return i + 1;
        }
    }
    return -1;
}

// Numer, the header fields, then what the statistics read of the analysis; the kind and
// the other kinds' fields where the file has them.
QStringList analysisColumns(bool kinds) {
    QStringList names{QStringLiteral("Numer")};
    for (const char* field : StudySummary::kHeaderFields) {
        names << QString::fromLatin1(field);
    }
    names << QStringLiteral("CoRef") << QStringLiteral("WN") << QStringLiteral("GWG")
          << QStringLiteral("DWG");
    if (kinds) {
        names << QStringLiteral("Rodzaj") << QStringLiteral("Wzorzec")
              << QStringLiteral("Rozdzielczosc") << QStringLiteral("ZmProc")
              << QStringLiteral("Akceptacja");
    }
    return names;
}

QString kindText(StudyKind kind) {
    return nameOf(kind);
}

}  // namespace

SummaryPass::SummaryPass(Session& session, QIODevice& out, const Output& output)
    : session_(session),
      regional_(session.regional()),
      out_(out),
      output_(output),
      kinds_(SchemaAdditions::hasKinds(session.database())),
      analyses_(session.database(), analysisColumns(kinds_)),
      settings_(StoredStudy::withSettings(session.settingsRow(), session.shared())) {
    for (const char* field : StudySummary::kHeaderFields) {
        headerNames_ << QString::fromLatin1(field);
    }
}

// The number, the kind and the header fields that begin every row.
StudySummary::Row SummaryPass::headOf(const Pending& pending) const {
    StudySummary::Row row{{QStringLiteral("numer"), pending.numer.toText(regional_)},
                          {QStringLiteral("kind"), kindText(pending.input.kind)}};
    row.reserve(40);
    for (int i = 0; i < kHeaderCount; ++i) {
        // a number stays a number (N, K, R), a text a text
        const Value& v = pending.header.value(i);
        row.append({headerNames_[i], v.isNumber() ? StudySummary::Cell(v.number())
                                                  : StudySummary::Cell(v.toText(regional_))});
    }
    return row;
}

// A study of another kind: its own columns in JSON lines, the crossed ones empty in CSV.
QByteArray SummaryPass::kindRowOf(const Pending& pending, bool first) const {
    StudySummary::Row row = headOf(pending);
    if (output_.jsonLines && pending.input.kind == StudyKind::Attribute) {
        row +=
            StudySummary::attributeResultsOf(Attribute::compute(Attribute::inputOf(pending.input)));
    } else if (output_.jsonLines && pending.input.kind == StudyKind::Linearity) {
        row +=
            StudySummary::linearityResultsOf(Linearity::compute(Linearity::inputOf(pending.input)));
    } else if (output_.jsonLines) {
        row += StudySummary::type1ResultsOf(Type1::compute(Type1::inputOf(pending.input)));
    } else {
        const StudyOutput none;
        const std::optional<Anova::Results> noAnova;
        row += StudySummary::resultsOf({false, &none, &noAnova});
    }
    return StudySummary::bytesOf(row, output_.jsonLines, first, output_.format);
}

// The study of one analysis as the summary row has it: average-and-range and ANOVA.
QByteArray SummaryPass::rowOf(Pending& pending, ShownNumbers& shown, bool first) const {
    if (pending.input.kind != StudyKind::Crossed) {
        return kindRowOf(pending, first);
    }
    Study& in = pending.input;
    in.shown = &shown;
    StudyOutput study;
    std::optional<Anova::Results> anova;
    const bool hasSeries = !in.observations.isEmpty();
    if (hasSeries) {
        const CrossedDesign design(in);
        study = computeStudy(in, design, session_.shared().factors, regional_);
        if (auto input = Anova::inputOf(in, design, study, AnalysisScreen::kAnovaAlpha)) {
            input->limits = false;
            anova = Anova::compute(*input);
        }
    }
    StudySummary::Row row = headOf(pending);
    row += StudySummary::resultsOf({hasSeries && study.complete, &study, &anova});
    return StudySummary::bytesOf(row, output_.jsonLines, first, output_.format);
}

// The bytes into the output file; its cause in Polish when it refused them.
bool SummaryPass::writeOut(const QByteArray& bytes, QString* error) {
    errno = 0;
    if (out_.write(bytes) == bytes.size()) {
        return true;
    }
    *error = QString::fromUtf8("nie można zapisać pliku wynikowego: %1")
                 .arg(errno != 0 ? systemErrorText(errno) : QString::fromUtf8("błąd zapisu"));
    return false;
}

// The line of names alone, for a CSV of a file without analyses.
QByteArray SummaryPass::namesOnly() const {
    const StudyOutput none;
    const std::optional<Anova::Results> noAnova;
    StudySummary::Row row{{QStringLiteral("numer"), {}}, {QStringLiteral("kind"), {}}};
    for (const QString& name : headerNames_) {
        row.append({name, {}});
    }
    row += StudySummary::resultsOf({false, &none, &noAnova});
    return StudySummary::namesLine(row, output_.format);
}

// On a worker: the batch's series read through a reader of its own, then its rows.
SummaryPass::Rows SummaryPass::rowsOf(Batch& batch) {
    std::unique_ptr<SeriesReader> reader = takeReader();
    const auto giveBack = qScopeGuard([&] { returnReader(std::move(reader)); });
    ShownNumbers shown(regional_);  // this batch's own: the pattern compiled once
    Rows rows;
    rows.count = static_cast<int>(batch.analyses.size());
    bool first = batch.first;
    QVector<SeriesRow> series;
    for (Pending& pending : batch.analyses) {
        series.clear();
        const bool read =
            pending.input.kind == StudyKind::Crossed
                ? reader->read(pending.numer, CrossedDesign::partCount(pending.input.parts), series)
                : readReadings(*reader, pending);
        StoredStudy::addSeries(pending.input, series);
        const QString damage =
            read ? StoredStudy::damageIn(pending.input, regional_) : reader->error();
        if (!damage.isEmpty()) {
            rows.error =
                QString::fromUtf8("analiza „%1”: %2").arg(pending.numer.toText(regional_), damage);
            return rows;
        }
        rows.bytes += rowOf(pending, shown, first);
        first = false;
    }
    return rows;
}

bool SummaryPass::run(const std::function<void(int, int)>& progress, QString* error) {
    const int total = AnalysisRows::count(session_.database()).value_or(0);
    const int threads = std::max(1, QThread::idealThreadCount());
    if (!openReaders(threads, error)) {
        return false;
    }
    workers_.setMaxThreadCount(threads);
    const int ahead = 2 * threads;  // batches in flight: no worker waits for the reading
    std::deque<QFuture<Rows>> computing;
    const auto settle = qScopeGuard([&] {
        for (QFuture<Rows>& f : computing) {
            f.waitForFinished();
        }
    });
    int written = 0;
    const auto writeOldest = [&]() {
        const Rows rows = computing.front().result();
        computing.pop_front();
        if (!rows.error.isEmpty()) {
            *error = rows.error;
            return false;
        }
        if (!writeOut(rows.bytes, error)) {
            return false;
        }
        written += rows.count;
        if (progress) {
            progress(written, total);
        }
        return true;
    };
    for (;;) {
        std::optional<Batch> batch = readBatch(error);
        if (!batch || batch->analyses.isEmpty()) {
            // What was read before a failed read is still written; then the cause.
            while (!computing.empty()) {
                if (!writeOldest()) {
                    return false;
                }
            }
            if (batch && !started_ && !output_.jsonLines) {  // no analyses: the names still
                if (!writeOut(namesOnly(), error)) {
                    return false;
                }
            }
            return batch.has_value();
        }
        // The batch moves to the worker and is freed there, not on this thread.
        computing.push_back(QtConcurrent::run(&workers_, [this, b = std::move(*batch)]() mutable {
            Batch mine = std::move(b);
            return rowsOf(mine);
        }));
        if (static_cast<int>(computing.size()) > ahead && !writeOldest()) {
            return false;
        }
    }
}

// One reader a worker, all opened (and their read locks taken) before the first batch.
bool SummaryPass::openReaders(int count, QString* error) {
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<SeriesReader> reader =
            SeriesReader::open(session_.database().path(), regional_, error);
        if (!reader) {
            return false;
        }
        readers_.push_back(std::move(reader));
    }
    return true;
}

// A thread waiting for a batch may run it itself (Qt takes a task not yet started), so
// a task may find every reader taken: it waits for the first one back.
std::unique_ptr<SeriesReader> SummaryPass::takeReader() {
    QMutexLocker lock(&readersLock_);
    while (readers_.empty()) {
        readerBack_.wait(&readersLock_);
    }
    std::unique_ptr<SeriesReader> reader = std::move(readers_.back());
    readers_.pop_back();
    return reader;
}

void SummaryPass::returnReader(std::unique_ptr<SeriesReader> reader) {
    const QMutexLocker lock(&readersLock_);
    readers_.push_back(std::move(reader));
    readerBack_.wakeOne();
}

std::optional<SummaryPass::Batch> SummaryPass::readBatch(QString* error) {
    Batch batch;
    batch.first = !started_;
    batch.analyses.reserve(kBatchSize);
    while (batch.analyses.size() < kBatchSize && analyses_.next()) {
        batch.analyses << readAnalysis();
        started_ = true;
    }
    if (analyses_.failed()) {
        *error = analyses_.error();
        return std::nullopt;
    }
    return batch;
}

// The analysis's own fields; its series are read on the worker.
SummaryPass::Pending SummaryPass::readAnalysis() const {
    Pending pending;
    pending.numer = analyses_.field(0);
    pending.header.reserve(kHeaderCount);
    for (int i = 0; i < kHeaderCount; ++i) {
        pending.header << analyses_.field(i + 1);
    }
    pending.input = settings_;
    pending.input.parts = analyses_.field(columnOf("LiczbaN"));
    pending.input.appraisers = analyses_.field(columnOf("LiczbaK"));
    pending.input.trials = analyses_.field(columnOf("LiczbaR"));
    pending.input.referenceMode = analyses_.field(kHeaderCount + 1);
    pending.input.WN = analyses_.field(kHeaderCount + 2);
    pending.input.GWG = analyses_.field(kHeaderCount + 3);
    pending.input.DWG = analyses_.field(kHeaderCount + 4);
    if (kinds_) {
        const Value kind = analyses_.field(kHeaderCount + 5);
        // A kind this version does not know is summed up as the crossed study it is not:
        // its row says it has no series.
        pending.input.kind = kind.isText() ? kindNamed(kind.text()).value_or(StudyKind::Crossed)
                                           : StudyKind::Crossed;
        pending.input.master = analyses_.field(kHeaderCount + 6);
        pending.input.resolution = analyses_.field(kHeaderCount + 7);
        pending.input.processVariation = analyses_.field(kHeaderCount + 8);
        pending.input.accept = analyses_.field(kHeaderCount + 9);
    }
    return pending;
}

// A study of another kind's readings, into its observations.
bool SummaryPass::readReadings(SeriesReader& reader, Pending& pending) {
    QVector<ReadingRow> rows;
    if (!reader.readReadings(pending.numer, rows)) {
        return false;
    }
    for (const ReadingRow& row : rows) {
        pending.input.observations.push_back({row.appraiser, row.part.value_or(1), row.trial,
                                              row.value, row.reference, row.category});
    }
    return true;
}
