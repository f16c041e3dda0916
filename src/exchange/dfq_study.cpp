#include "dfq_study.h"

#include <QStringEncoder>

namespace DfqStudy {

namespace {

// The shortest text that reads back as the same double.
QString number(const Value& v) {
    return v.isNumber() ? QString::number(v.number(), 'g', QLocale::FloatingPointShortest)
                        : QString();
}

// A limit as a number; a text that is not one is left out.
QString limit(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    t.toDouble(&ok);
    return ok ? t : QString();
}

QString oneLine(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return out.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// What Windows-1250 lacks, as the nearest letter, else "?".
QString inWindows1250(const QString& text) {
    static const std::pair<char16_t, char> nearest[] = {
        {u'\u00D8', 'O'}, {u'\u00F8', 'o'}, {u'\u2300', 'O'}, {u'\u00B2', '2'},
        {u'\u00B3', '3'}, {u'\u00B5', 'u'}, {u'\u03BC', 'u'}};
    QString result;
    for (const QChar c : text) {
        QStringEncoder encoder("windows-1250");                 // an error stays with the encoder
        const QByteArray encoded = encoder.encode(QString(c));  // encoded only when taken
        if (!encoder.hasError() && !encoded.isEmpty()) {
            result += c;
            continue;
        }
        const auto* found = std::find_if(std::begin(nearest), std::end(nearest),
                                         [c](const auto& n) { return n.first == c.unicode(); });
        result += found != std::end(nearest) ? QLatin1Char(found->second) : QLatin1Char('?');
    }
    return result;
}

QString headerFields(const StudyFile& s, int decimals, bool windows1250, QStringList* changed) {
    QString out;
    const auto field = [&out](const char* key, const QString& value) {
        if (!value.isEmpty()) {
            out += QString::fromLatin1(key) + QLatin1Char(' ') + value + QStringLiteral("\r\n");
        }
    };
    // A text of the analysis, on one line and in the file's encoding; a field whose
    // letters had to change is named.
    const auto text = [&](const char* key, const char* name) {
        const QString line = oneLine(s.headerValue(QString::fromLatin1(name)));
        const QString written = windows1250 ? inWindows1250(line) : line;
        if (written != line && changed) {
            *changed << QStringLiteral("%1 (%2)").arg(QLatin1String(key), QLatin1String(name));
        }
        field(key, written);
    };
    field("K0100", QStringLiteral("1"));
    text("K1001/1", "NumerC");
    text("K1002/1", "NazwaC");
    text("K2001/1", "Parametr");
    text("K2002/1", "Parametr");
    field("K2004/1", QStringLiteral("0"));
    field("K2022/1", QString::number(decimals));
    const QString lower = limit(s.headerValue(QStringLiteral("DWG")));
    const QString upper = limit(s.headerValue(QStringLiteral("GWG")));
    if (!lower.isEmpty() && !upper.isEmpty() && lower.toDouble() < upper.toDouble()) {
        field("K2110/1", lower);
        field("K2111/1", upper);
    }
    text("K2142/1", "Jednostka");
    field("K2202/1", QStringLiteral("2"));
    field("K2205/1", QString::number(s.parts));
    field("K2220/1", QString::number(s.appraisers.size()));
    field("K2221/1", QString::number(s.trials()));
    text("K2401/1", "NumerP");
    text("K2402/1", "NazwaP");
    field("K8500/1", QString::number(s.trials()));
    return out;
}

}  // namespace

bool write(QIODevice& out, const StudyFile& s, int decimals, const QDateTime& when,
           Encoding encoding, QStringList* changed) {
    QString text = headerFields(s, decimals, encoding == Encoding::Windows1250, changed);
    const QString stamp = when.toString(QStringLiteral("dd.MM.yyyy/HH:mm:ss"));
    for (int a = 0; a < s.appraisers.size(); ++a) {
        for (int j = 0; j < s.parts; ++j) {
            for (int t = 0; t < s.trials(); ++t) {
                text += QStringLiteral("K0001/1 %1\r\nK0004/1 %2\r\nK0008/1 %3\r\nK0014/1 %4\r\n")
                            .arg(number(s.value(a, j, t)), stamp)
                            .arg(a + 1)
                            .arg(j + 1);
            }
        }
    }
    QStringEncoder encoder(encoding == Encoding::Utf8 ? "UTF-8" : "windows-1250");
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && out.write(bytes) == bytes.size();
}

}  // namespace DfqStudy
