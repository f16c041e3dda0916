#pragma once

#include <QIODevice>
#include <QJsonValue>
#include <QString>
#include <QVector>
#include <functional>
#include <utility>

#include "analysis_screen.h"
#include "csv_study.h"

class Session;

// One analysis's results in one flat row, for plant dashboards: number, header fields,
// N, K, R, complete, the average-and-range results and verdicts and ANOVA's, numbers at
// full precision (null where empty).
namespace StudySummary {

using Row = QVector<std::pair<QString, QJsonValue>>;

Row rowOf(const QString& numer, const QHash<QString, Value>& header, const AnalysisScreen& screen,
          const RegionalSettings& regional);

// The results as "name;value" lines for a study file.
CsvStudy::ResultLines resultLines(const AnalysisScreen& screen, const CsvStudy::Format& format);

// Every analysis of the session, one row each, as CSV (a header row first) or JSON lines.
// progress(done, total) is called now and then. False when a row could not be written
// or an analysis could not be read (the cause in *error).
bool writeAll(Session& session, QIODevice& out, bool jsonLines, const CsvStudy::Format& format,
              const std::function<void(int, int)>& progress, QString* error);

}  // namespace StudySummary
