#include "number_reader.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isBlank(QChar c) {
    return c.isSpace();
}

class LocaleNumberParser {
public:
    LocaleNumberParser(const QString& text, const RegionalSettings& regional)
        : text_(text), rs_(regional), currency_symbol_(regional.currencySymbol()) {}

    std::optional<double> parse() {
        readLeadingPart();
        if (!readDigitsOrRadix()) {
            return std::nullopt;
        }
        if (!readExponent()) {
            return std::nullopt;
        }
        if (!readTrailingPart() || pos_ != text_.size()) {
            return std::nullopt;
        }
        if (open_ && !closed_) {
            return std::nullopt;
        }
        return value();
    }

private:
    bool at(QChar c) const { return pos_ < text_.size() && text_.at(pos_) == c; }
    bool atCurrency() const {
        return !currency_symbol_.isEmpty() &&
               QStringView(text_).mid(pos_).startsWith(currency_symbol_);
    }
    bool atThousands() const {
        if (pos_ >= text_.size()) {
            return false;
        }
        const QChar c = text_.at(pos_);
        const QChar t = rs_.thousandsSeparator();
        if (t == rs_.decimalSeparator()) {
            return false;
        }
        return c == t || (t == QChar(0x00A0) && c == QLatin1Char(' '));
    }
    bool atDigit() const {
        return pos_ < text_.size() && text_.at(pos_).isDigit() && text_.at(pos_).unicode() < 128;
    }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_.at(pos_))) {
            ++pos_;
        }
    }

    void readLeadingPart() {
        for (;;) {
            skipBlanks();
            if (at(QLatin1Char('+')) && !plus_) {
                plus_ = true;
            } else if (at(QLatin1Char('-')) && !minus_) {
                minus_ = true;
            } else if (at(QLatin1Char('(')) && !open_) {
                open_ = true;
            } else if (atCurrency() && !currency_) {
                currency_ = true;
                pos_ += currency_symbol_.size() - 1;
            } else {
                return;
            }
            ++pos_;
        }
    }

    bool readRadix() {
        // "&H10", "&O17"
        if (!at(QLatin1Char('&')) || pos_ + 1 >= text_.size() || currency_) {
            return false;
        }
        const QChar kind = text_.at(pos_ + 1).toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0) {
            return false;
        }
        int p = pos_ + 2;
        double v = 0;
        int count = 0;
        while (p < text_.size()) {
            const int digit = QString(text_.at(p)).toInt(nullptr, base);
            const bool valid =
                text_.at(p).unicode() < 128 && (text_.at(p) == QLatin1Char('0') || digit > 0);
            if (!valid) {
                break;
            }
            v = v * base + digit;
            ++count;
            ++p;
        }
        // A value past a signed 64-bit integer is not a number (with enough digits it
        // would even reach infinity).
        constexpr double kPastInt64 = 9223372036854775808.0;  // 2^63
        if (count == 0 || count > 16 || !(v < kPastInt64)) {
            radixInvalid_ = true;
            return false;
        }
        radixValue_ = v;
        radix_ = true;
        pos_ = p;
        return true;
    }

    bool readDigitsOrRadix() {
        if (readRadix()) {
            return true;
        }
        if (radixInvalid_) {
            return false;
        }
        bool point = false;
        while (pos_ < text_.size()) {
            if (atDigit()) {
                (point ? fraction_ : integer_) += static_cast<char>(text_.at(pos_).unicode());
            } else if (at(rs_.decimalSeparator()) && !point) {
                point = true;
            } else if (atThousands() && !integer_.empty() && !point) {
                // grouping may stand anywhere after the first digit
            } else {
                break;
            }
            ++pos_;
        }
        return !integer_.empty() || !fraction_.empty();
    }

    bool readExponent() {
        if (radix_ || !(at(QLatin1Char('e')) || at(QLatin1Char('E')))) {
            return true;
        }
        if (currency_) {
            return false;
        }
        ++pos_;
        if (at(QLatin1Char('+')) || at(QLatin1Char('-'))) {
            exponent_ += static_cast<char>(text_.at(pos_).unicode());
            ++pos_;
        }
        bool any = false;
        while (atDigit()) {
            exponent_ += static_cast<char>(text_.at(pos_).unicode());
            ++pos_;
            any = true;
        }
        return any;
    }

    bool readTrailingPart() {
        for (;;) {
            skipBlanks();
            if (pos_ >= text_.size()) {
                return true;
            }
            if (atThousands()) {
                ++pos_;
            } else if ((at(QLatin1Char('+')) || at(QLatin1Char('-'))) && !plus_ && !minus_) {
                (at(QLatin1Char('-')) ? minus_ : plus_) = true;
                ++pos_;
            } else if (at(QLatin1Char(')')) && open_ && !closed_) {
                closed_ = true;
                ++pos_;
            } else if (atCurrency() && !currency_) {
                currency_ = true;
                pos_ += currency_symbol_.size();
            } else {
                return false;
            }
        }
    }

    // Up to 15 significant digits and a power of ten that is exact in a double: one
    // correctly rounded multiplication or division gives the nearest double.
    std::optional<double> exactShortDecimal() const {
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (!exponent_.empty()) {
            return std::nullopt;
        }
        std::size_t start = integer_.find_first_not_of('0');
        const std::string& digits = start == std::string::npos ? fraction_ : integer_;
        if (start == std::string::npos) {
            start = 0;
        }
        const std::size_t significant =
            (digits.size() - start) + (&digits == &integer_ ? fraction_.size() : 0);
        if (significant > 15 || fraction_.size() > 22) {
            return std::nullopt;
        }
        long long mantissa = 0;
        for (const char c : integer_) {
            mantissa = mantissa * 10 + (c - '0');
        }
        for (const char c : fraction_) {
            mantissa = mantissa * 10 + (c - '0');
        }
        return static_cast<double>(mantissa) / powers[fraction_.size()];
    }

    std::optional<double> value() const {
        double v = radixValue_;
        if (const auto quick = radix_ ? std::nullopt : exactShortDecimal()) {
            v = *quick;
        } else if (!radix_) {
            std::string text = integer_.empty() ? std::string("0") : integer_;
            if (!fraction_.empty()) {
                text += '.';
                text += fraction_;
            }
            if (!exponent_.empty()) {
                text += 'e';
                text += exponent_;
            }
            const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
            if (result.ec != std::errc() || !std::isfinite(v)) {
                return std::nullopt;  // overflow
            }
        }
        const bool negative = minus_ != (open_ && closed_);
        return negative ? -v : v;
    }

    const QString& text_;
    const RegionalSettings& rs_;
    const QString currency_symbol_;
    int pos_ = 0;
    bool plus_ = false;
    bool minus_ = false;
    bool open_ = false;
    bool closed_ = false;
    bool currency_ = false;
    bool radix_ = false;
    bool radixInvalid_ = false;
    double radixValue_ = 0;
    std::string integer_;
    std::string fraction_;
    std::string exponent_;
};

bool isReaderBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QChar(0x3000);
}

// The text with the reader's blanks taken out, so that the reading below sees one
// unbroken run of characters.
QString withoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isReaderBlank(c)) {
            out += c;
        }
    }
    return out;
}

double readRadixNumber(const QString& s, int base) {
    quint64 v = 0;  // at most 16 digits are taken; unsigned, so the top digit cannot overflow
    int count = 0;
    for (const QChar c : s) {
        bool ok = false;
        const int digit = QString(c).toInt(&ok, base);
        if (!ok || c.unicode() >= 128 || count >= 16) {
            break;
        }
        v = v * static_cast<quint64>(base) + static_cast<quint64>(digit);
        ++count;
    }
    // The leading-number reader gives 16-bit integers up to four hex digits, 32-bit up to eight.
    const bool shortHex = base == 16 ? count <= 4 : v <= 0xFFFF;
    if (shortHex) {
        return static_cast<qint16>(static_cast<quint16>(v & 0xFFFF));
    }
    return static_cast<qint32>(static_cast<quint32>(v & 0xFFFFFFFF));
}

}  // namespace

std::optional<double> readLocaleNumber(const QString& text, const RegionalSettings& regional) {
    return LocaleNumberParser(text, regional).parse();
}

double readLeadingNumber(const QString& text) {
    const QString s = withoutBlanks(text);
    int pos = 0;
    if (s.startsWith(QLatin1Char('&'))) {
        const QChar kind = s.size() > 1 ? s.at(1).toUpper() : QChar();
        if (kind == QLatin1Char('H')) {
            return readRadixNumber(s.mid(2), 16);
        }
        if (kind == QLatin1Char('O')) {
            return readRadixNumber(s.mid(2), 8);
        }
        return 0;
    }
    std::string number;
    if (pos < s.size() && (s.at(pos) == QLatin1Char('+') || s.at(pos) == QLatin1Char('-'))) {
        if (s.at(pos) == QLatin1Char('-')) {
            number += '-';
        }
        ++pos;
    }
    auto digitAt = [&s](int p) {
        return p < s.size() && s.at(p).unicode() < 128 && s.at(p).isDigit();
    };
    bool any = false;
    while (digitAt(pos)) {
        number += static_cast<char>(s.at(pos++).unicode());
        any = true;
    }
    if (pos < s.size() && s.at(pos) == QLatin1Char('.')) {
        number += '.';
        ++pos;
        while (digitAt(pos)) {
            number += static_cast<char>(s.at(pos++).unicode());
            any = true;
        }
    }
    if (!any) {
        return 0;
    }
    if (pos < s.size() && QStringLiteral("eEdD").contains(s.at(pos))) {
        int p = pos + 1;
        std::string exponent;
        if (p < s.size() && (s.at(p) == QLatin1Char('+') || s.at(p) == QLatin1Char('-'))) {
            exponent += static_cast<char>(s.at(p++).unicode());
        }
        std::string digits;
        while (digitAt(p)) {
            digits += static_cast<char>(s.at(p++).unicode());
        }
        if (!digits.empty()) {
            number += 'e' + exponent + digits;
        }
    }
    if (number.front() == '.') {
        number.insert(0, "0");
    }
    if (number.rfind("-.", 0) == 0) {
        number.insert(1, "0");
    }
    double v = 0;
    std::from_chars(number.data(), number.data() + number.size(), v);
    return v;
}

float readDecimalText(const QString& text) {
    QString s = text;
    const int comma = s.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        s[comma] = QLatin1Char('.');
    }
    return static_cast<float>(readLeadingNumber(s));
}
