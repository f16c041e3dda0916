#pragma once

#include <QHash>
#include <QString>
#include <optional>

#include "number_pattern.h"
#include "regional_settings.h"

// The texts of numbers as one pattern shows them, and the numbers read back from those
// texts, each computed once. The statistics show every measured value and read the
// shown text back; the same values come again at every recomputation of an analysis
// (each selection, each return to the main window) and repeat within a study, since a
// gauge reads in steps. A change of pattern starts afresh; the store is bounded.
class ShownNumbers {
public:
    struct Shown {
        QString text;
        std::optional<double> readBack;
    };

    explicit ShownNumbers(const RegionalSettings& regional) : regional_(regional) {}

    // The text alone (a number that is not finite has none), in the regional settings
    // given at construction.
    const QString& text(double value, const QString& pattern);
    // The text and the number it reads back as.
    const Shown& textAndReadBack(double value, const QString& pattern);
    // The number alone: as read back when the number was shown, else made without its
    // text wherever the pattern allows and not kept (a pass over many values that are
    // shown nowhere).
    std::optional<double> readBack(double value, const QString& pattern);
    // Whether texts made here are the ones the given regional settings make.
    bool serves(const RegionalSettings& regional) const;

private:
    static constexpr int kLimit = 1 << 16;

    RegionalSettings regional_;
    QString pattern_;
    std::optional<NumberPattern> compiled_;
    struct Entry {
        Shown shown;
        bool read = false;
    };
    const NumberPattern& compiled(const QString& pattern);
    Entry& entry(double value, const QString& pattern);

    QHash<quint64, Entry> entries_;
};
