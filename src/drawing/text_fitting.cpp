#include "text_fitting.h"

#include <algorithm>
#include <cmath>

namespace TextFitting {

namespace {

// A room computed from a measured width must take that width back whole.
bool fits(double width, double room) {
    return width <= room + 1e-9 * std::max(1.0, std::fabs(room));
}

}  // namespace

int charactersFitting(const Surface& surface, const QString& text, double room,
                      const QString& suffix) {
    int low = 0;
    int high = text.size();
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(surface.textWidth(text.left(middle) + suffix), room)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

QString elided(const Surface& surface, const QString& text, double room) {
    if (fits(surface.textWidth(text), room)) {
        return text;
    }
    const QString ellipsis = QString::fromUtf8("…");
    return text.left(charactersFitting(surface, text, room, ellipsis)) + ellipsis;
}

QStringList wrapped(const Surface& surface, const QString& text, double room) {
    QStringList lines;
    QString current;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (current.isEmpty() || fits(surface.textWidth(longer), room)) {
            current = longer;
        } else {
            lines << elided(surface, current, room);
            current = word;
        }
    }
    if (!current.isEmpty()) {
        lines << elided(surface, current, room);
    }
    return lines;
}

}  // namespace TextFitting
