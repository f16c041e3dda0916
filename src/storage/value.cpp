#include "value.h"

#include "number_pattern.h"
#include "number_reader.h"

double Value::toNumber(const RegionalSettings& regional) const {
    if (const auto* n = std::get_if<double>(&data_)) {
        return *n;
    }
    if (const auto* t = std::get_if<QString>(&data_)) {
        return readLocaleNumber(*t, regional).value_or(0.0);
    }
    return 0.0;
}

double Value::number() const {
    const auto* n = std::get_if<double>(&data_);
    return n ? *n : 0.0;
}

QString Value::toText(const RegionalSettings& regional) const {
    if (const auto* n = std::get_if<double>(&data_)) {
        return formatGeneralNumber(*n, regional);
    }
    if (const auto* t = std::get_if<QString>(&data_)) {
        return *t;
    }
    return {};
}

QString Value::format(const NumberPattern& pattern, const RegionalSettings& regional) const {
    if (const auto* n = std::get_if<double>(&data_)) {
        return pattern.format(*n, regional);
    }
    if (const auto* t = std::get_if<QString>(&data_)) {
        return pattern.formatText(*t, regional);
    }
    return {};
}

QString Value::text() const {
    const auto* t = std::get_if<QString>(&data_);
    return t ? *t : QString();
}

int compareValues(const Value& a, const Value& b) {
    if (a.isText() || b.isText()) {
        if (a.isNumber() && b.isText()) {
            return -1;
        }
        if (a.isText() && b.isNumber()) {
            return 1;
        }
        const int c = QString::compare(a.text(), b.text(), Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const double x = a.number();
    const double y = b.number();
    return x < y ? -1 : (x > y ? 1 : 0);
}

Value Mniejsza(const Value& a, const Value& b) {
    return compareValues(b, a) < 0 ? b : a;
}

Value Wieksza(const Value& a, const Value& b) {
    return compareValues(b, a) > 0 ? b : a;
}
