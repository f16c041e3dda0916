#include "text_fitting.h"

namespace TextFitting {

int charactersFitting(const Surface& surface, const QString& text, double room,
                      const QString& suffix) {
    int low = 0;
    int high = text.size();
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (surface.textWidth(text.left(middle) + suffix) <= room) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

QString elided(const Surface& surface, const QString& text, double room) {
    if (surface.textWidth(text) <= room) {
        return text;
    }
    const QString ellipsis = QString::fromUtf8("…");
    return text.left(charactersFitting(surface, text, room, ellipsis)) + ellipsis;
}

}  // namespace TextFitting
