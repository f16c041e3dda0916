#pragma once

#include <QString>

// An offending text as a message quotes it: in Polish quotation marks, at most about
// forty characters of it, then "…". A refused cell of ten million characters must not
// freeze a message box or flood standard error; its beginning says which one it was.
inline QString quotedExcerpt(const QString& text, int most = 40) {
    const QString shown = text.size() > most ? text.left(most) + QString::fromUtf8("…") : text;
    return QString::fromUtf8("„%1”").arg(shown);
}
