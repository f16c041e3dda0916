#pragma once

#include <QIODevice>
#include <QMutex>
#include <QString>
#include <QThreadPool>
#include <QWaitCondition>
#include <functional>
#include <memory>
#include <optional>

#include "analysis_rows.h"
#include "csv_study.h"
#include "series_reader.h"
#include "study.h"
#include "study_summary.h"

class Session;
class FactorTables;
class ShownNumbers;

// One pass over a file for its summary rows: the analyses in stored order, each computed
// without the texts a window would show. The calling thread reads the analyses and
// writes the rows; the workers read each batch's series, each through a connection of
// its own, and compute it meanwhile. Nothing is kept once a batch is written.
class SummaryPass {
public:
    struct Output {
        bool jsonLines = false;
        CsvStudy::Format format;
    };

    SummaryPass(Session& session, QIODevice& out, const Output& output);
    SummaryPass(const SummaryPass&) = delete;
    SummaryPass& operator=(const SummaryPass&) = delete;

    // progress(done, total) now and then; false with the cause in *error when an analysis
    // could not be read or a row could not be written.
    bool run(const std::function<void(int, int)>& progress, QString* error);

private:
    // An analysis as read: its number, its header fields and its study.
    struct Pending {
        Value numer;
        QVector<Value> header;
        Study input;
    };
    // Analyses read one after another; the first of the file makes the CSV names line.
    struct Batch {
        QVector<Pending> analyses;
        bool first = false;
    };
    // A batch's rows, or why they could not be made.
    struct Rows {
        QByteArray bytes;
        QString error;
        int count = 0;  // analyses in the batch
    };

    // On a worker: it reads only the batch, its reader and the const tables and settings.
    Rows rowsOf(Batch& batch);
    // The study of one analysis as the summary row has it: average-and-range and ANOVA.
    QByteArray rowOf(Pending& pending, ShownNumbers& shown, bool first) const;
    StudySummary::Row headOf(const Pending& pending) const;
    QByteArray kindRowOf(const Pending& pending, bool first) const;
    static bool readReadings(SeriesReader& reader, Pending& pending);
    QByteArray namesOnly() const;
    bool writeOut(const QByteArray& bytes, QString* error);

    bool openReaders(int count, QString* error);
    std::unique_ptr<SeriesReader> takeReader();
    void returnReader(std::unique_ptr<SeriesReader> reader);
    // The next analyses, up to a batch of them; none at the end of the file, and no batch
    // on a failed read (the cause in *error).
    std::optional<Batch> readBatch(QString* error);
    Pending readAnalysis() const;

    Session& session_;
    const RegionalSettings& regional_;
    QIODevice& out_;
    const Output output_;
    bool kinds_ = false;  // the file has the kind column and the readings
    AnalysisRows analyses_;
    Study settings_;
    QStringList headerNames_;
    bool started_ = false;  // a batch has been read: the next is not the file's first
    QMutex readersLock_;
    QWaitCondition readerBack_;
    std::vector<std::unique_ptr<SeriesReader>> readers_;  // the ones no worker holds
    QThreadPool workers_;  // last: its tasks end before the readers they use
};
