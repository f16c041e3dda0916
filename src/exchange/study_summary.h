#pragma once

#include <QIODevice>
#include <QString>
#include <QVector>
#include <functional>
#include <utility>
#include <variant>

#include "analysis_screen.h"
#include "csv_study.h"

class Session;

// One analysis's results in one flat row, for plant dashboards: number, kind, header
// fields, N, K, R, complete, the average-and-range results and verdicts and ANOVA's,
// numbers at full precision (null where empty). A study of another kind has the columns
// of its kind in JSON lines; in CSV, whose columns are one for all rows, the crossed
// study's columns stay empty.
namespace StudySummary {

// A row's value: empty (null), yes or no, a number at full precision, or a text.
using Cell = std::variant<std::monostate, bool, double, QString>;
using Row = QVector<std::pair<QString, Cell>>;

// The header fields a row carries after the number, in this order.
inline constexpr const char* kHeaderFields[] = {"NazwaC",  "NumerC", "Parametr", "Jednostka",
                                                "NazwaP",  "NumerP", "Data",     "LiczbaN",
                                                "LiczbaK", "LiczbaR"};

// What a row says of one analysis's study.
struct Figures {
    bool complete = false;
    const StudyOutput* study = nullptr;
    const std::optional<Anova::Results>* anova = nullptr;
};

// Both methods' results and verdicts, the tail of a row.
Row resultsOf(const Figures& figures);
// A type-1 study's figures and verdicts (none when it could not be computed).
Row type1ResultsOf(const std::optional<Type1::Outcome>& type1);
// A bias and linearity study's figures and whether it is acceptable (its parts are in
// kalmet-cli results).
Row linearityResultsOf(const std::optional<Linearity::Outcome>& linearity);
// An attribute study's overall figures (its appraisers' are in kalmet-cli results).
Row attributeResultsOf(const std::optional<Attribute::Outcome>& attribute);

// One row as a CSV line (the first after a BOM and the line of names) or a JSON line.
// Numbers at full precision: the shortest text that reads back as the same double.
QByteArray bytesOf(const Row& row, bool jsonLines, bool first, const CsvStudy::Format& format);
// The BOM and the CSV line of the row's names.
QByteArray namesLine(const Row& row, const CsvStudy::Format& format);

// The results as "name;value" lines for a study file.
CsvStudy::ResultLines resultLines(const AnalysisScreen& screen, const CsvStudy::Format& format);

// Every analysis of the session, one row each, as CSV (a header row first) or JSON lines.
// progress(done, total) is called now and then. False when a row could not be written
// or an analysis could not be read (the cause in *error).
bool writeAll(Session& session, QIODevice& out, bool jsonLines, const CsvStudy::Format& format,
              const std::function<void(int, int)>& progress, QString* error);

}  // namespace StudySummary
