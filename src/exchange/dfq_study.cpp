#include "dfq_study.h"

#include <QStringEncoder>

namespace DfqStudy {

namespace {

QString number(const Value& v) {
    return v.isNumber() ? QString::number(v.number(), 'g', 15) : QString();
}

// A limit as a number; a text that is not one is left out.
QString limit(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    t.toDouble(&ok);
    return ok ? t : QString();
}

QString headerFields(const StudyFile& s, int decimals) {
    QString out;
    const auto field = [&out](const char* key, const QString& value) {
        if (!value.isEmpty()) {
            out += QString::fromLatin1(key) + QLatin1Char(' ') + value + QStringLiteral("\r\n");
        }
    };
    field("K0100", QStringLiteral("1"));
    field("K1001/1", s.headerValue(QStringLiteral("NumerC")));
    field("K1002/1", s.headerValue(QStringLiteral("NazwaC")));
    field("K2001/1", s.headerValue(QStringLiteral("Parametr")));
    field("K2002/1", s.headerValue(QStringLiteral("Parametr")));
    field("K2004/1", QStringLiteral("0"));
    field("K2022/1", QString::number(decimals));
    const QString lower = limit(s.headerValue(QStringLiteral("DWG")));
    const QString upper = limit(s.headerValue(QStringLiteral("GWG")));
    if (!lower.isEmpty() && !upper.isEmpty() && lower.toDouble() < upper.toDouble()) {
        field("K2110/1", lower);
        field("K2111/1", upper);
    }
    field("K2142/1", s.headerValue(QStringLiteral("Jednostka")));
    field("K2202/1", QStringLiteral("2"));
    field("K2205/1", QString::number(s.parts));
    field("K2220/1", QString::number(s.appraisers.size()));
    field("K2221/1", QString::number(s.trials()));
    field("K2401/1", s.headerValue(QStringLiteral("NumerP")));
    field("K2402/1", s.headerValue(QStringLiteral("NazwaP")));
    field("K8500/1", QString::number(s.trials()));
    return out;
}

}  // namespace

bool write(QIODevice& out, const StudyFile& s, int decimals, const QDateTime& when,
           Encoding encoding) {
    QString text = headerFields(s, decimals);
    const QString stamp = when.toString(QStringLiteral("dd.MM.yyyy/HH:mm:ss"));
    for (int a = 0; a < s.appraisers.size(); ++a) {
        for (int j = 0; j < s.parts; ++j) {
            for (int t = 0; t < s.trials(); ++t) {
                text += QStringLiteral("K0001/1 %1\r\nK0004/1 %2\r\nK0008/1 %3\r\nK0014/1 %4\r\n")
                            .arg(number(s.values[a][t].value(j)), stamp)
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
