#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The lines a gauge sends, cut at CR, LF or CRLF however the bytes arrive, each read as
// one reading: Mitutoyo "01A+0000.123", Sylvac "+012.345", a plain or signed number
// with "." or "," and perhaps an exponent ("1.5E3"), a number followed by its unit
// ("-18.78 lbFin", "4.0031 µm"). Lines are UTF-8. "ERR0".."ERR3" and lines starting
// with "#" are the device's errors; anything else is refused, never turned into a
// number. A line longer than kLongestLine bytes is no reading: it is dropped up to its
// end and told once; a gauge that never ends its lines cannot fill the memory.
class ReadingParser {
public:
    struct Line {
        enum class Kind { Reading, DeviceError, Refused };
        Kind kind = Kind::Refused;
        double value = 0;
        QString text;          // the line as received (the start of one too long)
        bool tooLong = false;  // refused for its length, the rest of it dropped
    };

    static constexpr int kLongestLine = 256;

    // The complete lines in the bytes so far; a partial line waits for its end. Only the
    // new bytes are searched for line ends.
    std::vector<Line> feed(const QByteArray& bytes);

    static Line read(const QString& line);

private:
    QByteArray pending_;     // the start of a line whose end has not come
    bool skipping_ = false;  // inside a line too long to keep, until its end
};
