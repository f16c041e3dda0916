#include "shown_numbers.h"

#include <cstring>

#include "number_reader.h"

const NumberPattern& ShownNumbers::compiled(const QString& pattern) {
    if (!compiled_ || pattern != pattern_) {
        pattern_ = pattern;
        compiled_.emplace(pattern);
        entries_.clear();
    }
    return *compiled_;
}

namespace {

quint64 keyOf(double value) {
    quint64 key = 0;
    std::memcpy(&key, &value, sizeof key);
    return key;
}

}  // namespace

ShownNumbers::Entry& ShownNumbers::entry(double value, const QString& pattern) {
    compiled(pattern);
    const quint64 key = keyOf(value);
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        return *it;
    }
    if (entries_.size() >= kLimit) {
        entries_.clear();
    }
    Entry e;
    e.shown.text = compiled_->format(value, regional_);
    return *entries_.insert(key, e);
}

const QString& ShownNumbers::text(double value, const QString& pattern) {
    return entry(value, pattern).shown.text;
}

const ShownNumbers::Shown& ShownNumbers::textAndReadBack(double value, const QString& pattern) {
    Entry& e = entry(value, pattern);
    if (!e.read) {
        e.shown.readBack = readLocaleNumber(e.shown.text, regional_);
        e.read = true;
    }
    return e.shown;
}

std::optional<double> ShownNumbers::readBack(double value, const QString& pattern) {
    const NumberPattern& compiledPattern = compiled(pattern);
    const auto it = entries_.constFind(keyOf(value));
    if (it != entries_.cend() && it->read) {
        return it->shown.readBack;  // read back when it was shown
    }
    return compiledPattern.readBack(value, regional_);
}

bool ShownNumbers::serves(const RegionalSettings& regional) const {
    return regional.decimalSeparator() == regional_.decimalSeparator() &&
           regional.thousandsSeparator() == regional_.thousandsSeparator() &&
           regional.currencySymbol() == regional_.currencySymbol() &&
           regional.currencyPattern() == regional_.currencyPattern();
}
