#pragma once

#include <QString>
#include <QVector>
#include <optional>
#include <utility>

// The header fields of an analysis as the analysis editor takes them: how long each text
// may be, which are numbers, dates or the reference mode. The editor's boxes and every
// other way into the table Analiza (an imported file's "#" lines, kalmet-cli import
// --header) follow the same rules, so nothing is stored that the editor would refuse.
namespace AnalysisFields {

enum class Kind { Text, Number, Date, ReferenceMode };

struct Rule {
    const char* field;
    Kind kind;
    int maxLength;  // 0: no limit
};

const QVector<Rule>& rules();
// The rule of a field by its column name (letter case aside); none for another name.
std::optional<Rule> ruleOf(const QString& field);
int maxLength(const char* field);

// A number as a header field holds it: "." or "," as the decimal (only `decimal` when the
// file's data showed which), no grouping, finite. Nothing for anything else.
std::optional<double> readNumber(const QString& text, std::optional<QChar> decimal = {});
// A date: yyyy-mm-dd, dd.mm.yyyy, dd-mm-yyyy or dd/mm/yyyy.
bool isDate(const QString& text);

// A field's text, and the decimal its number is read with (none: either).
struct Entry {
    QString field;
    QString text;
    std::optional<QChar> decimal;
};

// The first of the fields that the editor would refuse, as "FIELD: why"; empty when every
// one is right. An empty text is left alone (the field stays empty), and so is a field
// the table has no rule for.
QString firstRefused(const QVector<Entry>& fields);

}  // namespace AnalysisFields
