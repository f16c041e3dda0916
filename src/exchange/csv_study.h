#pragma once

#include <QIODevice>
#include <QString>
#include <optional>

#include "regional_settings.h"
#include "study_file.h"

// A study as CSV, both ways. Two layouts: long (appraiser;part;trial;value, one row per
// reading, what Minitab and JASP read) and AIAG-wide (appraiser;trial;P1..Pn). Written
// in UTF-8 with a BOM, the analysis fields as leading "#" lines, the separator and the
// decimal of the regional settings (";" and "," in Polish, "," and "." otherwise); a
// text that a spreadsheet would run as a formula is written so that it is not, while
// numbers stay numbers.
namespace CsvStudy {

enum class Layout { Long, Wide };

struct Format {
    QChar separator = QLatin1Char(';');
    QChar decimal = QLatin1Char(',');
    static Format of(const RegionalSettings& regional);
};

// Lines of results appended after the values, each "name;value" (already texts).
using ResultLines = QVector<std::pair<QString, QString>>;

bool write(QIODevice& out, const StudyFile& study, Layout layout, const Format& format,
           const ResultLines& results = {});

struct Read {
    std::optional<StudyFile> study;
    QString error;  // in Polish, with the line and the column
};

// Both layouts from the header line; the separator (",", ";", tab) and the decimal
// found in the file; appraisers and parts counted. Refused with the line and column:
// a missing or duplicate cell, more than 3 appraisers, 3 trials or 10 parts or fewer
// than 2 appraisers, 2 trials or 5 parts (as the analysis editor allows), a value that is not a
// number, parts that are not 1..N.
Read read(QIODevice& in);

// A text as one CSV cell: quoted when it holds the separator, a quote or a line break;
// a leading "=", "+", "-", "@", tab or CR is kept from the spreadsheet's formula reader.
QString cell(const QString& text, QChar separator);

// The cells of one line, and a cell's text as written (the formula guard removed).
QStringList cellsOf(const QString& line, QChar separator);
QString textOf(const QString& cellText);

}  // namespace CsvStudy
