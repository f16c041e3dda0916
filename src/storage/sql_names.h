#pragma once

#include <QString>

// A table or field name as SQL quotes it: "a""b" for a"b.
inline QString quoted(const QString& identifier) {
    QString id = identifier;
    id.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + id + QLatin1Char('"');
}
