#include "date_pattern.h"

#include <QDate>
#include <QTime>

namespace {

class DateWriter {
public:
    DateWriter(const QDateTime& when, const RegionalSettings& rs) : when_(when), rs_(rs) {}

    QString write(const QString& pattern) {
        twelveHour_ = usesTwelveHourClock(pattern);
        int i = 0;
        while (i < pattern.size()) {
            i = writeToken(pattern, i);
        }
        return out_;
    }

private:
    static bool usesTwelveHourClock(const QString& pattern) {
        const QString lower = pattern.toLower();
        return lower.contains(QLatin1String("am/pm")) || lower.contains(QLatin1String("a/p")) ||
               lower.contains(QLatin1String("ampm"));
    }

    // How many equal letters stand at i, counted no further than the longest token
    // (six), so a long run of letters costs linear time.
    static int runLength(const QString& p, int i) {
        constexpr int kLongestToken = 6;
        const QChar c = p.at(i).toLower();
        int n = 1;
        while (n < kLongestToken && i + n < p.size() && p.at(i + n).toLower() == c) {
            ++n;
        }
        return n;
    }

    static QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

    QDate date() const { return when_.date(); }
    QTime time() const { return when_.time(); }

    int hour() const {
        const int h = time().hour();
        if (!twelveHour_) {
            return h;
        }
        const int twelve = h % 12;
        return twelve == 0 ? 12 : twelve;
    }

    // Monday = 1 .. Sunday = 7 in Qt; the pattern's "w" counts Sunday as 1.
    int weekdaySundayFirst() const { return date().dayOfWeek() % 7 + 1; }

    int weekOfYear() const {
        const int jan1 = QDate(date().year(), 1, 1).dayOfWeek() % 7;  // 0 = Sunday
        return (date().dayOfYear() - 1 + jan1) / 7 + 1;
    }

    bool matchesAt(const QString& p, int i, const char* word) const {
        return p.mid(i, static_cast<int>(qstrlen(word)))
                   .compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void writeDay(int run) {
        hourActive_ = false;
        switch (run) {
            case 1:
                out_ += QString::number(date().day());
                dayOfMonthSeen_ = true;
                break;
            case 2:
                out_ += twoDigits(date().day());
                dayOfMonthSeen_ = true;
                break;
            case 3:
                out_ += rs_.dayAbbreviation(date().dayOfWeek());
                break;
            case 4:
                out_ += rs_.dayName(date().dayOfWeek());
                break;
            case 5:
                out_ += nested(rs_.shortDatePattern());
                break;
            default:
                out_ += nested(rs_.longDatePattern());
                break;
        }
    }

    QString nested(const QString& pattern) const { return DateWriter(when_, rs_).write(pattern); }

    void writeMonthOrMinute(int run) {
        if (run <= 2 && hourActive_ && !minuteFromM_) {
            minuteFromM_ = true;
            out_ += run == 1 ? QString::number(time().minute()) : twoDigits(time().minute());
            return;
        }
        const int m = date().month();
        switch (run) {
            case 1:
                out_ += QString::number(m);
                break;
            case 2:
                out_ += twoDigits(m);
                break;
            case 3:
                out_ += rs_.monthAbbreviation(m);
                break;
            default:
                out_ += dayOfMonthSeen_ ? rs_.monthNameGenitive(m) : rs_.monthName(m);
                break;
        }
    }

    void writeYear(int run) {
        const int y = date().year();
        switch (run) {
            case 1:
                out_ += QString::number(date().dayOfYear());
                break;
            case 2:
                out_ += twoDigits(y % 100);
                break;
            case 3:
                out_ += twoDigits(y % 100) + QString::number(date().dayOfYear());
                break;
            default:
                out_ += QString::number(y);
                break;
        }
    }

    void writeGeneral() {
        const bool hasDate = date() != QDate(1899, 12, 30);
        const bool hasTime = time() != QTime(0, 0);
        QString text;
        if (hasDate) {
            text += nested(rs_.shortDatePattern());
        }
        if (hasTime) {
            if (!text.isEmpty()) {
                text += QLatin1Char(' ');
            }
            text += nested(rs_.longTimePattern());
        }
        out_ += text;
    }

    void writeDesignator(const QString& am, const QString& pm) {
        out_ += time().hour() < 12 ? am : pm;
    }

    // Writes the token at i and returns the index after it.
    int writeToken(const QString& p, int i) {
        const QChar c = p.at(i);
        const QChar lower = c.toLower();
        if (c == QLatin1Char('"')) {
            const int end = p.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? p.size() : end;
            out_ += p.mid(i + 1, stop - i - 1);
            return stop + 1;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 < p.size()) {
                out_ += p.at(i + 1);
            }
            return i + 2;
        }
        if (c == QLatin1Char('/')) {
            out_ += rs_.dateSeparator();
            return i + 1;
        }
        if (c == QLatin1Char(':')) {
            out_ += rs_.timeSeparator();
            return i + 1;
        }
        if (matchesAt(p, i, "am/pm")) {
            const bool upper = c.isUpper();
            writeDesignator(upper ? QStringLiteral("AM") : QStringLiteral("am"),
                            upper ? QStringLiteral("PM") : QStringLiteral("pm"));
            return i + 5;
        }
        if (matchesAt(p, i, "a/p")) {
            const bool upper = c.isUpper();
            writeDesignator(upper ? QStringLiteral("A") : QStringLiteral("a"),
                            upper ? QStringLiteral("P") : QStringLiteral("p"));
            return i + 3;
        }
        if (matchesAt(p, i, "ampm")) {
            writeDesignator(rs_.amDesignator(), rs_.pmDesignator());
            return i + 4;
        }
        const int run = runLength(p, i);
        if (lower == QLatin1Char('d')) {
            const int used = qMin(run, 6);
            writeDay(used);
            return i + used;
        }
        if (lower == QLatin1Char('m')) {
            const int used = qMin(run, 4);
            writeMonthOrMinute(used);
            return i + used;
        }
        if (lower == QLatin1Char('y')) {
            const int used = qMin(run, 4);
            writeYear(used);
            return i + used;
        }
        if (lower == QLatin1Char('h')) {
            const int used = qMin(run, 2);
            out_ += used == 1 ? QString::number(hour()) : twoDigits(hour());
            hourActive_ = true;
            return i + used;
        }
        if (lower == QLatin1Char('n') || lower == QLatin1Char('s')) {
            const int used = qMin(run, 2);
            const int v = lower == QLatin1Char('n') ? time().minute() : time().second();
            out_ += used == 1 ? QString::number(v) : twoDigits(v);
            return i + used;
        }
        if (lower == QLatin1Char('w')) {
            const int used = qMin(run, 2);
            out_ += QString::number(used == 1 ? weekdaySundayFirst() : weekOfYear());
            return i + used;
        }
        if (lower == QLatin1Char('q')) {
            out_ += QString::number((date().month() - 1) / 3 + 1);
            return i + 1;
        }
        if (lower == QLatin1Char('c')) {
            writeGeneral();
            return i + 1;
        }
        if (lower == QLatin1Char('t') && run >= 5) {
            out_ += nested(rs_.longTimePattern());
            return i + 5;
        }
        out_ += c;
        return i + 1;
    }

    QDateTime when_;
    const RegionalSettings& rs_;
    QString out_;
    bool twelveHour_ = false;
    bool hourActive_ = false;
    bool minuteFromM_ = false;
    bool dayOfMonthSeen_ = false;
};

QDateTime roundedToSecond(const QDateTime& when) {
    const int ms = when.time().msec();
    QDateTime whole = when.addMSecs(-ms);
    return ms >= 500 ? whole.addSecs(1) : whole;
}

// The named formats stand for patterns of the language itself; a name must be the whole
// pattern, in any letter case.
QString namedDatePattern(const QString& pattern) {
    static const std::pair<const char*, const char*> names[] = {
        {"general date", "c"},   {"long date", "dddddd"}, {"medium date", "dddddd"},
        {"short date", "ddddd"}, {"long time", "ttttt"},  {"medium time", "hh:nn AMPM"},
        {"short time", "hh:nn"}};
    const QString lower = pattern.trimmed().toLower();
    for (const auto& [name, meaning] : names) {
        if (lower == QLatin1String(name)) {
            return QString::fromLatin1(meaning);
        }
    }
    return pattern;
}

}  // namespace

QString formatDate(const QDateTime& when, const QString& pattern,
                   const RegionalSettings& regional) {
    if (!when.isValid()) {
        return {};
    }
    return DateWriter(roundedToSecond(when), regional).write(namedDatePattern(pattern));
}
