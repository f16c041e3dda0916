#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "statement.h"

class Database;

// The analyses of a file one after another, in the order they were stored, with the
// fields asked for: one pass over Analiza for a reader of every analysis.
class AnalysisRows {
public:
    AnalysisRows(Database& db, const QStringList& fields);

    // The next analysis; false at the end or on a failed read (then failed()).
    bool next();
    // A field of the current analysis, by its place among those asked for.
    Value field(int index) const { return rows_.column(index); }
    bool failed() const { return rows_.failed(); }
    QString error() const { return rows_.error(); }

    // How many analyses the file holds; nothing when the count cannot be read.
    static std::optional<int> count(Database& db);

private:
    Statement rows_;
    bool atEnd_ = false;
};
