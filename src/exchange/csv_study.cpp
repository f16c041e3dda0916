#include "csv_study.h"

#include <QMap>

namespace CsvStudy {

namespace {

// The shortest text that reads back as the same double: a round trip never changes a
// value.
QString number(double v, const Format& f) {
    QString text = QString::number(v, 'g', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), f.decimal);
    return text;
}

QString valueCell(const Value& v, const Format& f) {
    if (v.isNumber()) {
        return number(v.number(), f);
    }
    return v.isText() ? cell(v.text(), f.separator) : QString();
}

}  // namespace

// The cells of one line; a quoted cell may hold the separator and doubled quotes.
QStringList cellsOf(const QString& line, QChar separator) {
    QStringList cells;
    QString current;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == QLatin1Char('"')) {
            if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                current += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == QLatin1Char('"') && current.isEmpty()) {
            quoted = true;
        } else if (c == separator && !quoted) {
            cells << current;
            current.clear();
        } else {
            current += c;
        }
    }
    cells << current;
    return cells;
}

// What a spreadsheet shows as text, back to the text written.
QString textOf(const QString& cellText) {
    const QString t = cellText.trimmed();
    return t.startsWith(QLatin1Char('\'')) && t.size() > 1 &&
                   QStringLiteral("=+-@\t").contains(t[1])
               ? t.mid(1)
               : t;
}

Format Format::of(const RegionalSettings& regional) {
    const QChar decimal = regional.decimalSeparator();
    return {decimal == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(','), decimal};
}

namespace {

// A line break inside a field would start another line of the file.
QString oneLine(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QString quotedWhen(const QString& text, bool needed) {
    if (!needed) {
        return text;
    }
    QString out = text;
    out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

}  // namespace

QString cell(const QString& text, QChar separator) {
    QString out = oneLine(text);
    if (!out.isEmpty() && QStringLiteral("=+-@\t").contains(out[0])) {
        out.prepend(QLatin1Char('\''));  // shown as text, never run as a formula
    }
    return quotedWhen(out, out.contains(separator) || out.contains(QLatin1Char('"')) ||
                               out.startsWith(QLatin1Char('#')));
}

// "# Name: value", one cell of a spreadsheet: the whole line is quoted when the value
// holds the separator or a quote, so no part of it lands in a cell of its own (where
// "=1+1" would be a live formula).
QString fieldLine(const QString& name, const QString& value, QChar separator) {
    const QString line = QStringLiteral("# ") + name + QStringLiteral(": ") + oneLine(value);
    return quotedWhen(line, line.contains(separator) || line.contains(QLatin1Char('"')));
}

bool write(QIODevice& out, const StudyFile& study, Layout layout, const Format& f,
           const ResultLines& results) {
    QString text = QString(QChar(0xFEFF));
    const QString sep(f.separator);
    const QString eol = QStringLiteral("\r\n");
    for (const auto& [name, value] : study.header) {
        text += fieldLine(name, value, f.separator) + eol;
    }
    if (study.kind == StudyKind::Attribute) {
        const bool reference = !study.referenceDecisions.isEmpty();
        text += QStringLiteral("appraiser") + sep + QStringLiteral("part") + sep +
                QStringLiteral("trial") + sep + QStringLiteral("result") +
                (reference ? sep + QStringLiteral("reference") : QString()) + eol;
        for (int i = 0; i < study.readings.size(); ++i) {
            const int part = study.readingParts.value(i);
            text += cell(study.readingAppraisers.value(i), f.separator) + sep +
                    QString::number(part) + sep + QString::number(study.readingTrials.value(i)) +
                    sep + cell(study.readings[i].text(), f.separator) +
                    (reference ? sep + cell(study.referenceDecisions.value(part), f.separator)
                               : QString()) +
                    eol;
        }
    } else if (study.kind == StudyKind::Linearity) {
        text += QStringLiteral("part") + sep + QStringLiteral("reference") + sep +
                QStringLiteral("trial") + sep + QStringLiteral("value") + eol;
        QMap<int, int> trials;
        for (int i = 0; i < study.readings.size(); ++i) {
            const int part = study.readingParts.value(i);
            text += QString::number(part) + sep +
                    valueCell(Value(study.readingReferences.value(i)), f) + sep +
                    QString::number(++trials[part]) + sep + valueCell(study.readings[i], f) + eol;
        }
    } else if (study.kind == StudyKind::Type1) {
        text += QStringLiteral("trial") + sep + QStringLiteral("value") + eol;
        for (int i = 0; i < study.readings.size(); ++i) {
            text += QString::number(i + 1) + sep + valueCell(study.readings[i], f) + eol;
        }
    } else if (layout == Layout::Long) {
        text += QStringLiteral("appraiser") + sep + QStringLiteral("part") + sep +
                QStringLiteral("trial") + sep + QStringLiteral("value") + eol;
    } else {
        text += QStringLiteral("appraiser") + sep + QStringLiteral("trial");
        for (int j = 1; j <= study.parts; ++j) {
            text += sep + QStringLiteral("P%1").arg(j);
        }
        text += eol;
    }
    for (int a = 0; a < study.appraisers.size() && study.kind == StudyKind::Crossed; ++a) {
        const QString who = cell(study.appraisers[a], f.separator);
        if (layout == Layout::Long) {
            for (int j = 0; j < study.parts; ++j) {
                for (int t = 0; t < study.trials(); ++t) {
                    text += who + sep + QString::number(j + 1) + sep + QString::number(t + 1) +
                            sep + valueCell(study.value(a, j, t), f) + eol;
                }
            }
        } else {
            for (int t = 0; t < study.trials(); ++t) {
                text += who + sep + QString::number(t + 1);
                for (int j = 0; j < study.parts; ++j) {
                    text += sep + valueCell(study.value(a, j, t), f);
                }
                text += eol;
            }
        }
    }
    if (!results.isEmpty()) {
        text += eol + QStringLiteral("# Wyniki") + eol;
        for (const auto& [name, value] : results) {
            text += QStringLiteral("# ") + cell(name, f.separator) + sep + value + eol;
        }
    }
    const QByteArray bytes = text.toUtf8();
    return out.write(bytes) == bytes.size();
}

}  // namespace CsvStudy
