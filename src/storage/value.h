#pragma once

#include <QString>
#include <variant>

#include "number_pattern.h"
#include "regional_settings.h"

// The generic value: what a database field delivers, kept in its own type (empty,
// number or text; a yes/no field reads as a number). An empty value counts as 0 in
// arithmetic and comparisons.
class Value {
public:
    Value() = default;
    Value(double number) : data_(number) {}                    // NOLINT: a number is a value
    Value(int number) : data_(static_cast<double>(number)) {}  // NOLINT
    Value(const QString& text) : data_(text) {}                // NOLINT: so is a text

    bool isEmpty() const { return std::holds_alternative<std::monostate>(data_); }
    bool isNumber() const { return std::holds_alternative<double>(data_); }
    bool isText() const { return std::holds_alternative<QString>(data_); }

    // The number this value stands for: empty is 0, a text is read in the given
    // settings and is 0 when it is not a number.
    double toNumber(const RegionalSettings& regional) const;
    // Number or empty only; a text counts as 0 here.
    double number() const;
    // Fields turned into text without formatting: numbers in the plain form of the
    // given regional, empty as "".
    QString toText(const RegionalSettings& regional) const;
    QString text() const;
    // The value as a pattern shows it: a number formatted, a text formatted as the
    // number it holds (or left as it is), empty as "".
    QString format(const NumberPattern& pattern, const RegionalSettings& regional) const;

    bool operator==(const Value& other) const { return data_ == other.data_; }
    bool operator!=(const Value& other) const { return !(*this == other); }

private:
    std::variant<std::monostate, double, QString> data_;
};

// The generic comparison: numbers numerically (empty counts as 0), texts by their
// characters (empty counts as ""), and a number is less than any text.
int compareValues(const Value& a, const Value& b);

// The smaller of two values; the first wins ties.
Value Mniejsza(const Value& a, const Value& b);
// The larger of two values; the first wins ties.
Value Wieksza(const Value& a, const Value& b);
