#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The lines a gauge sends, cut at CR, LF or CRLF however the bytes arrive, each read as
// one reading: Mitutoyo "01A+0000.123", Sylvac "+012.345", a plain or signed number
// with "." or ",", a number followed by its unit ("-18.78 lbFin"). "ERR0".."ERR3" and
// lines starting with "#" are the device's errors; anything else is refused, never
// turned into a number.
class ReadingParser {
public:
    struct Line {
        enum class Kind { Reading, DeviceError, Refused };
        Kind kind = Kind::Refused;
        double value = 0;
        QString text;  // the line as received
    };

    // The complete lines in the bytes so far; a partial line waits for its end.
    std::vector<Line> feed(const QByteArray& bytes);

    static Line read(const QString& line);

private:
    QByteArray pending_;
};
