#include "csv_study.h"

namespace CsvStudy {

namespace {

QString number(double v, const Format& f) {
    QString text = QString::number(v, 'g', 15);
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
                   QStringLiteral("=+-@\t\r").contains(t[1])
               ? t.mid(1)
               : t;
}

Format Format::of(const RegionalSettings& regional) {
    const QChar decimal = regional.decimalSeparator();
    return {decimal == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(','), decimal};
}

QString cell(const QString& text, QChar separator) {
    QString out = text;
    if (!out.isEmpty() && QStringLiteral("=+-@\t\r").contains(out[0])) {
        out.prepend(QLatin1Char('\''));  // shown as text, never run as a formula
    }
    if (out.contains(separator) || out.contains(QLatin1Char('"')) ||
        out.contains(QLatin1Char('\n')) || out.contains(QLatin1Char('\r'))) {
        out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        out = QLatin1Char('"') + out + QLatin1Char('"');
    }
    return out;
}

bool write(QIODevice& out, const StudyFile& study, Layout layout, const Format& f,
           const ResultLines& results) {
    QString text = QString(QChar(0xFEFF));
    const QString sep(f.separator);
    const QString eol = QStringLiteral("\r\n");
    for (const auto& [name, value] : study.header) {
        text += QStringLiteral("# ") + name + QStringLiteral(": ") +
                QString(value).replace(QLatin1Char('\n'), QLatin1Char(' ')) + eol;
    }
    if (layout == Layout::Long) {
        text += QStringLiteral("appraiser") + sep + QStringLiteral("part") + sep +
                QStringLiteral("trial") + sep + QStringLiteral("value") + eol;
    } else {
        text += QStringLiteral("appraiser") + sep + QStringLiteral("trial");
        for (int j = 1; j <= study.parts; ++j) {
            text += sep + QStringLiteral("P%1").arg(j);
        }
        text += eol;
    }
    for (int a = 0; a < study.appraisers.size(); ++a) {
        const QString who = cell(study.appraisers[a], f.separator);
        const auto& trials = study.values[a];
        if (layout == Layout::Long) {
            for (int j = 0; j < study.parts; ++j) {
                for (int t = 0; t < trials.size(); ++t) {
                    text += who + sep + QString::number(j + 1) + sep + QString::number(t + 1) +
                            sep + valueCell(trials[t].value(j), f) + eol;
                }
            }
        } else {
            for (int t = 0; t < trials.size(); ++t) {
                text += who + sep + QString::number(t + 1);
                for (int j = 0; j < study.parts; ++j) {
                    text += sep + valueCell(trials[t].value(j), f);
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
