#include "summary_pass.h"

#include <QScopeGuard>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <deque>
#include <string_view>
#include <utility>

#include "analysis_screen.h"
#include "anova.h"
#include "database.h"
#include "rr_study.h"
#include "session.h"
#include "shared_values.h"
#include "study_summary.h"

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

// Numer, the header fields, then what the statistics read of the analysis.
QString analysisColumns() {
    QStringList names{QStringLiteral("Numer")};
    for (const char* field : StudySummary::kHeaderFields) {
        names << QString::fromLatin1(field);
    }
    names << QStringLiteral("CoRef") << QStringLiteral("WN") << QStringLiteral("GWG")
          << QStringLiteral("DWG");
    return names.join(QStringLiteral(", "));
}

}  // namespace

SummaryPass::SummaryPass(Session& session, QIODevice& out, const Output& output)
    : session_(session),
      regional_(session.regional()),
      out_(out),
      output_(output),
      analyses_(session.database().handle(),
                QStringLiteral("SELECT %1 FROM Analiza ORDER BY rowid").arg(analysisColumns())),
      series_(session.database().handle(),
              QStringLiteral("SELECT Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, P10, ObX "
                             "FROM DanePom WHERE ID = ? ORDER BY Operator COLLATE LOCALE, rowid")),
      settings_(StudyInput::withSettings(session.settingsRow(), session.shared())) {}

// The study of one analysis as the summary row has it: average-and-range and ANOVA.
QByteArray SummaryPass::rowOf(const Pending& pending, ShownNumbers& shown,
                              const FactorTables& factors, const RegionalSettings& rs,
                              const Output& output, bool first) {
    StudyInput in = pending.input;
    in.shown = &shown;
    StudyOutput study;
    std::optional<Anova::Results> anova;
    if (!in.series.isEmpty()) {
        study = computeStudy(in, factors, rs, StudyTexts::None);
        if (auto input = Anova::inputOf(in, study, AnalysisScreen::kAnovaAlpha)) {
            input->limits = false;
            anova = Anova::compute(*input);
        }
    }
    StudySummary::Row row{{QStringLiteral("numer"), pending.numer.toText(rs)}};
    for (int i = 0; i < kHeaderCount; ++i) {
        row.append({QString::fromLatin1(StudySummary::kHeaderFields[i]),
                    pending.header.value(i).toText(rs)});
    }
    row += StudySummary::resultsOf({!in.series.isEmpty() && study.complete, &study, &anova});
    return StudySummary::bytesOf(row, output.jsonLines, first, output.format);
}

QByteArray SummaryPass::rowsOf(const Batch& batch, const FactorTables& factors,
                               const RegionalSettings& regional, const Output& output) {
    ShownNumbers shown(regional);  // this batch's own: the pattern compiled once
    QByteArray rows;
    bool first = batch.first;
    for (const Pending& pending : batch.analyses) {
        rows += rowOf(pending, shown, factors, regional, output, first);
        first = false;
    }
    return rows;
}

bool SummaryPass::run(const std::function<void(int, int)>& progress, QString* error) {
    const int total = countAnalyses();
    const FactorTables& factors = session_.shared().factors;
    // Enough batches ahead that no worker waits while one is written or read.
    const int ahead = 2 * std::max(1, QThreadPool::globalInstance()->maxThreadCount());
    std::deque<QFuture<QByteArray>> computing;
    const auto settle = qScopeGuard([&] {
        for (QFuture<QByteArray>& f : computing) {
            f.waitForFinished();
        }
    });
    int read = 0;
    int written = 0;
    const auto writeOldest = [&]() {
        const QByteArray rows = computing.front().result();
        computing.pop_front();
        if (out_.write(rows) != rows.size()) {
            *error = out_.errorString();
            return false;
        }
        written += kBatchSize;
        if (progress) {
            progress(std::min(written, read), total);
        }
        return true;
    };
    for (;;) {
        std::optional<Batch> batch = readBatch(error);
        if (!batch || batch->analyses.isEmpty()) {
            // What was read before a damaged analysis is still written; then the cause.
            while (!computing.empty()) {
                if (!writeOldest()) {
                    return false;
                }
            }
            return batch.has_value();
        }
        read += static_cast<int>(batch->analyses.size());
        // The batch moves to the worker and is freed there, not on this thread.
        computing.push_back(QtConcurrent::run([this, &factors, b = std::move(*batch)]() mutable {
            const Batch mine = std::move(b);
            return rowsOf(mine, factors, regional_, output_);
        }));
        if (static_cast<int>(computing.size()) > ahead && !writeOldest()) {
            return false;
        }
    }
}

// A statement stepped past its end would start again: the end is remembered.
bool SummaryPass::nextAnalysis() {
    atEnd_ = atEnd_ || !analyses_.next();
    return !atEnd_;
}

int SummaryPass::countAnalyses() const {
    Statement count(session_.database().handle(), QStringLiteral("SELECT count(*) FROM Analiza"));
    return count.next() ? static_cast<int>(count.columnInt64(0)) : 0;
}

std::optional<SummaryPass::Batch> SummaryPass::readBatch(QString* error) {
    Batch batch;
    batch.first = !started_;
    batch.analyses.reserve(kBatchSize);
    while (batch.analyses.size() < kBatchSize && nextAnalysis()) {
        Pending pending;
        if (!readAnalysis(pending, error)) {
            return std::nullopt;
        }
        batch.analyses << std::move(pending);
        started_ = true;
    }
    if (analyses_.failed()) {
        *error = analyses_.error();
        return std::nullopt;
    }
    return batch;
}

bool SummaryPass::readAnalysis(Pending& pending, QString* error) {
    pending.numer = analyses_.column(0);
    pending.header.reserve(kHeaderCount);
    for (int i = 0; i < kHeaderCount; ++i) {
        pending.header << analyses_.column(i + 1);
    }
    pending.input = inputOfAnalysis();
    const QString damage = readSeries(pending.numer, pending.input)
                               ? AnalysisScreen::damageIn(pending.input, regional_)
                               : series_.error();
    if (!damage.isEmpty()) {
        *error = QString::fromUtf8("analiza „%1”: %2").arg(pending.numer.toText(regional_), damage);
        return false;
    }
    return true;
}

StudyInput SummaryPass::inputOfAnalysis() const {
    StudyInput in = settings_;
    in.parts = analyses_.column(columnOf("LiczbaN"));
    in.appraisers = analyses_.column(columnOf("LiczbaK"));
    in.trials = analyses_.column(columnOf("LiczbaR"));
    in.referenceMode = analyses_.column(kHeaderCount + 1);
    in.WN = analyses_.column(kHeaderCount + 2);
    in.GWG = analyses_.column(kHeaderCount + 3);
    in.DWG = analyses_.column(kHeaderCount + 4);
    return in;
}

bool SummaryPass::readSeries(const Value& numer, StudyInput& in) {
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
