#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVector>

// One row of fixtures/format-vectors.tsv: kind, value, pattern, then the expected text
// in en-US, pl-PL and older pl-PL settings.
struct FormatVector {
    QString kind;
    QString value;
    QString pattern;
    QString english;
    QString polish;
    QString polishLegacy;
};

inline QVector<FormatVector> loadFormatVectors(const QString& kind) {
    QVector<FormatVector> rows;
    QFile file(QStringLiteral(KALMET_FIXTURES "/format-vectors.tsv"));
    if (!file.open(QIODevice::ReadOnly)) {
        return rows;
    }
    bool header = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n'));
        if (header || line.isEmpty()) {
            header = false;
            continue;
        }
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() >= 6 && f[0] == kind) {
            rows.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
        }
    }
    return rows;
}
