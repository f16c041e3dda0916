#include "reading_parser.h"

#include <QRegularExpression>
#include <cmath>

std::vector<ReadingParser::Line> ReadingParser::feed(const QByteArray& bytes) {
    std::vector<Line> out;
    qsizetype start = 0;
    for (;;) {
        const auto end = std::find_if(bytes.begin() + start, bytes.end(),
                                      [](char c) { return c == '\r' || c == '\n'; });
        const qsizetype stop = end - bytes.begin();
        if (!skipping_) {
            pending_.append(bytes.constData() + start, stop - start);
        }
        if (pending_.size() > kLongestLine) {
            if (!skipping_) {
                Line tooLong;
                tooLong.text = QString::fromUtf8(pending_.left(40));
                tooLong.tooLong = true;
                out.push_back(tooLong);
            }
            skipping_ = true;
            pending_.clear();
        }
        if (end == bytes.end()) {
            break;
        }
        const QString line = QString::fromUtf8(pending_);
        pending_.clear();
        if (!skipping_ && !line.trimmed().isEmpty()) {  // the LF of a CRLF ends an empty line
            out.push_back(read(line));
        }
        skipping_ = false;
        start = stop + 1;
    }
    return out;
}

ReadingParser::Line ReadingParser::read(const QString& line) {
    static const QRegularExpression deviceError(QStringLiteral("^\\s*(ERR[0-3]|#.*)\\s*$"));
    static const QRegularExpression mitutoyo(
        QStringLiteral("^\\s*\\d{2}[A-Z]([+-]\\d+(?:\\.\\d+)?)\\s*$"));
    static const QRegularExpression plain(
        QString::fromUtf8("^\\s*([+-]?)\\s*((?:\\d+(?:[.,]\\d+)?|[.,]\\d+)(?:[eE][+-]?\\d+)?)\\s*"
                          "(?:[A-Za-zµμ°%/\"]+[A-Za-z0-9²³]*)?\\s*$"));
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
    out.kind = ok && std::isfinite(out.value) ? Line::Kind::Reading : Line::Kind::Refused;
    return out;
}
