#pragma once

#include <QIODevice>
#include <QString>
#include <functional>
#include <optional>

#include "csv_study.h"
#include "statement.h"
#include "study_input.h"

class Session;
class FactorTables;
class ShownNumbers;

// One pass over a file for its summary rows: the analyses in stored order, each with its
// series read by one prepared statement and computed without the texts a window would
// show. Reading and writing stay on the calling thread; the statistics of a few batches
// run on the worker threads meanwhile. Nothing is kept once a batch is written.
class SummaryPass {
public:
    struct Output {
        bool jsonLines = false;
        CsvStudy::Format format;
    };

    SummaryPass(Session& session, QIODevice& out, const Output& output);

    // progress(done, total) now and then; false with the cause in *error when an analysis
    // could not be read or a row could not be written.
    bool run(const std::function<void(int, int)>& progress, QString* error);

private:
    // An analysis as read: its number, its header fields and its study.
    struct Pending {
        Value numer;
        QVector<Value> header;
        StudyInput input;
    };
    // Analyses read one after another; the first of the file makes the CSV names line.
    struct Batch {
        QVector<Pending> analyses;
        bool first = false;
    };
    // The rows of a batch, computed on any thread: it reads only the batch and the const
    // tables and settings.
    static QByteArray rowsOf(const Batch& batch, const FactorTables& factors,
                             const RegionalSettings& regional, const Output& output);
    // The study of one analysis as the summary row has it: average-and-range and ANOVA.
    static QByteArray rowOf(const Pending& pending, ShownNumbers& shown,
                            const FactorTables& factors, const RegionalSettings& regional,
                            const Output& output, bool first);

    bool nextAnalysis();
    int countAnalyses() const;
    StudyInput inputOfAnalysis() const;
    bool readSeries(const Value& numer, StudyInput& in);
    // The next analyses, up to a batch of them; none at the end of the file, and no batch
    // on a failed read (the cause in *error).
    std::optional<Batch> readBatch(QString* error);
    bool readAnalysis(Pending& pending, QString* error);

    Session& session_;
    const RegionalSettings& regional_;
    QIODevice& out_;
    const Output output_;
    Statement analyses_;
    Statement series_;
    StudyInput settings_;
    bool started_ = false;  // a batch has been read: the next is not the file's first
    bool atEnd_ = false;
};
