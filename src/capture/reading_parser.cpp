#include "reading_parser.h"

#include <QRegularExpression>

std::vector<ReadingParser::Line> ReadingParser::feed(const QByteArray& bytes) {
    pending_ += bytes;
    std::vector<Line> out;
    for (;;) {
        const auto end = std::find_if(pending_.begin(), pending_.end(),
                                      [](char c) { return c == '\r' || c == '\n'; });
        if (end == pending_.end()) {
            break;
        }
        const auto length = static_cast<int>(end - pending_.begin());
        const QString line = QString::fromLatin1(pending_.left(length));
        pending_.remove(0, length + 1);
        if (!line.trimmed().isEmpty()) {  // the LF of a CRLF ends an empty line
            out.push_back(read(line));
        }
    }
    return out;
}

ReadingParser::Line ReadingParser::read(const QString& line) {
    static const QRegularExpression deviceError(QStringLiteral("^\\s*(ERR[0-3]|#.*)\\s*$"));
    static const QRegularExpression mitutoyo(
        QStringLiteral("^\\s*\\d{2}[A-Z]([+-]\\d+(?:\\.\\d+)?)\\s*$"));
    static const QRegularExpression plain(QStringLiteral(
        "^\\s*([+-]?)\\s*(\\d+(?:[.,]\\d+)?|[.,]\\d+)\\s*(?:[A-Za-zµ°%/\"]+[A-Za-z0-9²³]*)?\\s*$"));
    Line out;
    out.text = line;
    if (deviceError.match(line).hasMatch()) {
        out.kind = Line::Kind::DeviceError;
        return out;
    }
    QString number;
    if (const QRegularExpressionMatch m = mitutoyo.match(line); m.hasMatch()) {
        number = m.captured(1);
    } else if (const QRegularExpressionMatch p = plain.match(line); p.hasMatch()) {
        number = p.captured(1) + p.captured(2);
    } else {
        return out;
    }
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    out.value = number.toDouble(&ok);
    out.kind = ok ? Line::Kind::Reading : Line::Kind::Refused;
    return out;
}
