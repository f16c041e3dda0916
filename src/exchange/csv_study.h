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

// The most a study file may hold: far more than the largest study needs (90 readings,
// a few kB), far less than would strain the program.
constexpr qint64 kMostBytes = 1 << 20;

// Both layouts from the header line: the long one by its column names in any order and
// either language (appraiser or operator, part, trial (optional: counted in row order),
// value, measurement or response; oceniający, część, powtórzenie, pomiar), the wide one
// (appraiser;trial;P1..Pn); the separator (",", ";", tab) and the decimal found in the
// data; appraisers and parts counted. The text by its BOM (UTF-8, UTF-16 LE or BE), else
// UTF-8 when it is valid, else Windows-1250 (what Excel writes under Polish Windows).
// "#" lines before the header line are the analysis fields ("# Field: value"); after it
// a line is data, up to the "# Wyniki" line that starts the results. Refused with the
// line and column, at the first fault: a missing or duplicate cell, more than 3
// appraisers, 3 trials or 10 parts or fewer than 2 appraisers, 2 trials or 5 parts (as
// the analysis editor allows), a value that is not a finite number, parts that are not
// 1..N, more rows than the largest study has, a text that is not valid in its encoding.
Read read(QIODevice& in);
// The same from a file, refused before it is opened when it is not a regular file (a
// device, a pipe) or larger than kMostBytes.
Read readFile(const QString& path);

// A text as one CSV cell: a line break becomes a blank; quoted when it holds the
// separator or a quote, or starts with "#" (which would read as a comment); a leading
// "=", "+", "-", "@", tab or CR is kept from the spreadsheet's formula reader.
QString cell(const QString& text, QChar separator);

// The cells of one line, and a cell's text as written (the formula guard removed).
QStringList cellsOf(const QString& line, QChar separator);
QString textOf(const QString& cellText);

// An analysis field as a "# Field: value" line, quoted whole when the value holds the
// separator or a quote (a line break becomes a blank).
QString fieldLine(const QString& name, const QString& value, QChar separator);

}  // namespace CsvStudy
