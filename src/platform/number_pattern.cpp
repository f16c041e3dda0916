#include "number_pattern.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "decimal_digits.h"
#include "number_reader.h"

struct NumberPattern::Item {
    enum Type { Literal, IntDigit, FracDigit, ExpDigit, Decimal, Percent, Exponent, Comma };
    Type type;
    QString text;  // Literal: the text; Exponent: the letter
    QChar ch;      // placeholders: '0' or '#'; Exponent: its '+' or '-'
};

struct NumberPattern::Section {
    std::vector<Item> items;
    int intCount = 0;
    int intFirstZero = -1;
    int fracCount = 0;
    int fracLastZero = 0;  // 1-based position of the last '0' among the fraction digits
    int expZeros = 0;
    int scaleCommas = 0;
    bool grouping = false;
    bool percent = false;
    bool scientific = false;

    bool hasDigits() const { return intCount + fracCount > 0; }
    bool isEmpty() const { return items.empty(); }
};

namespace {

using Item = NumberPattern::Item;
using Section = NumberPattern::Section;

QStringList splitSections(const QString& pattern) {
    QStringList sections;
    QString current;
    bool quoted = false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (quoted) {
            current += c;
            quoted = c != QLatin1Char('"');
        } else if (c == QLatin1Char('"')) {
            current += c;
            quoted = true;
        } else if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            current += c;
            current += pattern.at(++i);
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    return sections;
}

void addLiteral(Section& s, const QString& text) {
    if (!s.items.empty() && s.items.back().type == Item::Literal) {
        s.items.back().text += text;
    } else {
        s.items.push_back({Item::Literal, text, QChar()});
    }
}

// A comma after the first integer placeholder groups thousands when another integer
// placeholder follows it; otherwise (just before the point, or at the end) it divides
// the value by a thousand.
void resolveCommas(Section& s) {
    std::vector<Item> items;
    // One look for the last integer placeholder keeps this linear in the pattern.
    std::size_t lastIntDigit = 0;
    bool anyIntDigit = false;
    for (std::size_t j = 0; j < s.items.size(); ++j) {
        if (s.items[j].type == Item::IntDigit) {
            lastIntDigit = j;
            anyIntDigit = true;
        }
    }
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        if (s.items[i].type != Item::Comma) {
            items.push_back(s.items[i]);
            continue;
        }
        const bool digitFollows = anyIntDigit && i < lastIntDigit;
        if (digitFollows) {
            s.grouping = true;
        } else {
            ++s.scaleCommas;
        }
    }
    s.items = std::move(items);
}

Section compileSection(const QString& text) {
    Section s;
    enum class Region { Int, Frac, Exp } region = Region::Int;
    bool hasDecimal = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            const int end = text.indexOf(QLatin1Char('"'), i + 1);
            const int stop = end < 0 ? text.size() : end;
            addLiteral(s, text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < text.size()) {
                addLiteral(s, text.at(++i));
            }
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            const bool zero = c == QLatin1Char('0');
            switch (region) {
                case Region::Int:
                    if (zero && s.intFirstZero < 0) {
                        s.intFirstZero = s.intCount;
                    }
                    ++s.intCount;
                    s.items.push_back({Item::IntDigit, {}, c});
                    break;
                case Region::Frac:
                    ++s.fracCount;
                    if (zero) {
                        s.fracLastZero = s.fracCount;
                    }
                    s.items.push_back({Item::FracDigit, {}, c});
                    break;
                case Region::Exp:
                    if (zero) {
                        ++s.expZeros;
                    }
                    s.items.push_back({Item::ExpDigit, {}, c});
                    break;
            }
        } else if (c == QLatin1Char('.') && !hasDecimal && region != Region::Exp) {
            hasDecimal = true;
            region = Region::Frac;
            s.items.push_back({Item::Decimal, {}, QChar()});
        } else if (c == QLatin1Char(',')) {
            if (region == Region::Int && s.intCount > 0) {
                s.items.push_back({Item::Comma, {}, QChar()});
            } else if (region == Region::Int) {
                addLiteral(s, c);
            }
            // commas among the fraction or exponent digits print nothing
        } else if (c == QLatin1Char('%')) {
            s.percent = true;
            s.items.push_back({Item::Percent, {}, QChar()});
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < text.size() &&
                   (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-')) &&
                   !s.scientific && s.intCount + s.fracCount > 0) {
            s.scientific = true;
            region = Region::Exp;
            s.items.push_back({Item::Exponent, QString(c), text.at(i + 1)});
            ++i;
        } else {
            addLiteral(s, c);
        }
    }
    resolveCommas(s);
    return s;
}

struct Laid {
    std::string intDigits;
    std::string fracDigits;
    int exponent = 0;
};

Laid layDigits(double magnitude, const Section& s) {
    DecimalDigits d = DecimalDigits::fromDouble(magnitude);
    if (!d.isZero()) {
        d.power += (s.percent ? 2 : 0) - 3 * s.scaleCommas;
    }
    Laid laid;
    const auto frac = static_cast<std::size_t>(s.fracCount);
    std::string scaled;
    if (s.scientific && !d.isZero()) {
        laid.exponent = d.power - s.intCount;
        d.power = s.intCount;
        scaled = d.roundedScaled(s.fracCount);
        if (scaled.size() > static_cast<std::size_t>(s.intCount) + frac) {
            ++laid.exponent;
            scaled.pop_back();
        }
    } else {
        scaled = d.roundedScaled(s.fracCount);
    }
    if (scaled.size() > frac) {
        laid.intDigits = scaled.substr(0, scaled.size() - frac);
        laid.fracDigits = scaled.substr(scaled.size() - frac);
    } else {
        laid.fracDigits = std::string(frac - scaled.size(), '0') + scaled;
    }
    const int minimum = s.intFirstZero >= 0 ? s.intCount - s.intFirstZero : 0;
    if (laid.intDigits.size() < static_cast<std::size_t>(minimum)) {
        laid.intDigits.insert(0, static_cast<std::size_t>(minimum) - laid.intDigits.size(), '0');
    }
    return laid;
}

class SectionWriter {
public:
    SectionWriter(const Section& s, const Laid& laid, bool sign, const RegionalSettings& rs)
        : s_(s), laid_(laid), sign_(sign), rs_(rs) {}

    QString write() {
        out_.reserve(s_.intCount + s_.fracCount + 8);
        printedFrac_ = s_.fracLastZero;
        for (int k = s_.fracCount; k > s_.fracLastZero; --k) {
            if (laid_.fracDigits[static_cast<std::size_t>(k - 1)] != '0') {
                printedFrac_ = k;
                break;
            }
        }
        for (const Item& item : s_.items) {
            writeItem(item);
        }
        if (pendingExponent_) {
            flushExponent();
        }
        return out_;
    }

private:
    void writeSignOnce() {
        if (sign_) {
            out_ += rs_.negativeSign();
            sign_ = false;
        }
    }

    void writeIntDigits(std::size_t from, std::size_t to) {
        const std::string& digits = laid_.intDigits;
        for (std::size_t i = from; i < to; ++i) {
            out_ += QLatin1Char(digits[i]);
            const std::size_t remaining = digits.size() - 1 - i;
            if (s_.grouping && remaining > 0 && remaining % 3 == 0) {
                out_ += rs_.thousandsSeparator();
            }
        }
    }

    void writeIntPlaceholder() {
        writeSignOnce();
        const auto length = static_cast<long>(laid_.intDigits.size());
        const long index = length - s_.intCount + intSeen_;  // digit for this placeholder
        if (intSeen_ == 0 && index > 0) {
            writeIntDigits(0, static_cast<std::size_t>(index) + 1);
        } else if (index >= 0) {
            writeIntDigits(static_cast<std::size_t>(index), static_cast<std::size_t>(index) + 1);
        }
        ++intSeen_;
    }

    void writeExponent() {
        const int e = laid_.exponent;
        if (e < 0) {
            out_ += QLatin1Char('-');
        } else if (pendingExpSign_ == QLatin1Char('+')) {
            out_ += QLatin1Char('+');
        }
        QString digits = QString::number(std::abs(e));
        if (digits.size() < s_.expZeros) {
            digits.prepend(QString(s_.expZeros - digits.size(), QLatin1Char('0')));
        }
        out_ += digits;
        exponentWritten_ = true;
    }

    void writeItem(const Item& item) {
        switch (item.type) {
            case Item::Literal:
                if (pendingExponent_) {
                    flushExponent();
                }
                out_ += item.text;
                break;
            case Item::IntDigit:
                writeIntPlaceholder();
                break;
            case Item::Decimal:
                writeSignOnce();
                if (s_.intCount == 0 && !laid_.intDigits.empty()) {
                    writeIntDigits(0, laid_.intDigits.size());
                }
                out_ += rs_.decimalSeparator();
                break;
            case Item::FracDigit:
                writeSignOnce();
                if (fracSeen_ < printedFrac_) {
                    out_ += QLatin1Char(laid_.fracDigits[static_cast<std::size_t>(fracSeen_)]);
                }
                ++fracSeen_;
                break;
            case Item::Percent:
                if (pendingExponent_) {
                    flushExponent();
                }
                out_ += QLatin1Char('%');
                break;
            case Item::Exponent:
                out_ += item.text;
                pendingExponent_ = true;
                pendingExpSign_ = item.ch;
                break;
            case Item::ExpDigit:
                if (!exponentWritten_) {
                    writeExponent();
                }
                pendingExponent_ = false;
                break;
            case Item::Comma:
                break;
        }
    }

    void flushExponent() {
        if (!exponentWritten_) {
            writeExponent();
        }
        pendingExponent_ = false;
    }

    const Section& s_;
    const Laid& laid_;
    bool sign_;
    const RegionalSettings& rs_;
    QString out_;
    int intSeen_ = 0;
    int fracSeen_ = 0;
    int printedFrac_ = 0;
    bool pendingExponent_ = false;
    bool exponentWritten_ = false;
    QChar pendingExpSign_;
};

QString writeSection(const Section& s, double magnitude, bool sign, const RegionalSettings& rs) {
    if (!s.hasDigits()) {
        QString out;
        for (const Item& item : s.items) {
            if (item.type == Item::Literal) {
                out += item.text;
            } else if (item.type == Item::Decimal) {
                out += rs.decimalSeparator();
            } else if (item.type == Item::Percent) {
                out += QLatin1Char('%');
            }
        }
        return out;
    }
    const Laid laid = layDigits(magnitude, s);
    return SectionWriter(s, laid, sign, rs).write();
}

QString namedPattern(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("fixed")) {
        return QStringLiteral("0.00");
    }
    if (n == QLatin1String("standard")) {
        return QStringLiteral("#,##0.00");
    }
    if (n == QLatin1String("percent")) {
        return QStringLiteral("0.00%");
    }
    if (n == QLatin1String("scientific")) {
        return QStringLiteral("0.00E+00");
    }
    return {};
}

}  // namespace

NumberPattern::NumberPattern(const QString& pattern) {
    const QString lower = pattern.toLower();
    if (pattern.isEmpty() || lower == QLatin1String("general number")) {
        kind_ = Kind::General;
        return;
    }
    if (lower == QLatin1String("currency")) {
        kind_ = Kind::Currency;
        return;
    }
    if (lower == QLatin1String("yes/no")) {
        kind_ = Kind::YesNo;
        return;
    }
    if (lower == QLatin1String("true/false")) {
        kind_ = Kind::TrueFalse;
        return;
    }
    if (lower == QLatin1String("on/off")) {
        kind_ = Kind::OnOff;
        return;
    }
    const QString named = namedPattern(pattern);
    const QStringList parts = splitSections(named.isEmpty() ? pattern : named);
    if (parts.size() > 4) {
        // The pattern language refuses such a pattern; the plain form is shown instead.
        kind_ = Kind::General;
        return;
    }
    kind_ = Kind::Sections;
    for (const QString& part : parts) {
        sections_.push_back(compileSection(part));
    }
    plainFixed_ = isPlainFixed();
}

NumberPattern::~NumberPattern() = default;
NumberPattern::NumberPattern(const NumberPattern&) = default;
NumberPattern& NumberPattern::operator=(const NumberPattern&) = default;

namespace {

// 10^n for 0 <= n <= 22, each exact.
double powerOfTen(int n) {
    double p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

// The kept digits of |value| x 10^decimals, rounded half away from zero, where the
// double itself decides them: the 15-digit form of the value lies within 5.2e-15 of it
// (relative, with the product's own rounding), so only a product that close to a half
// could round otherwise. Empty there, where the digits are zero, and from 10^14 on.
std::optional<double> keptDigitsOutsideTies(double value, double scale) {
    constexpr double kDigitsLimit = 1e14;
    constexpr double kNearHalf = 1e-14;
    const double scaled = std::fabs(value) * scale;
    if (!(scaled < kDigitsLimit)) {
        return std::nullopt;
    }
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;  // exact below 2^52
    if (std::fabs(fraction - 0.5) <= kNearHalf * scaled) {
        return std::nullopt;
    }
    const double kept = fraction > 0.5 ? whole + 1 : whole;
    return kept > 0 ? std::optional<double>(kept) : std::nullopt;
}

// The kept digits as the display's 15-digit rounding gives them, when at most 15.
std::optional<double> keptDigitsOfDisplay(double value, int decimals) {
    constexpr std::size_t kExactDigits = 15;
    const std::string kept = DecimalDigits::fromDouble(value).roundedScaled(decimals);
    // Zero keeps its sign only as the text has it: the text decides.
    if (kept.empty() || kept.size() > kExactDigits) {
        return std::nullopt;
    }
    unsigned long long digits = 0;
    std::from_chars(kept.data(), kept.data() + kept.size(), digits);
    return static_cast<double>(digits);
}

}  // namespace

bool NumberPattern::isPlainFixed() const {
    if (kind_ != Kind::Sections || sections_.size() != 1) {
        return false;
    }
    const Section& s = sections_.front();
    if (!s.hasDigits() || s.percent || s.scientific || s.grouping || s.scaleCommas != 0) {
        return false;
    }
    return std::all_of(s.items.begin(), s.items.end(), [](const Item& item) {
        return item.type == Item::IntDigit || item.type == Item::FracDigit ||
               item.type == Item::Decimal;
    });
}

std::optional<double> NumberPattern::readBack(double value,
                                              const RegionalSettings& regional) const {
    constexpr int kExactPowers = 22;  // 10^22 is the last power of ten a double holds exactly
    if (std::isfinite(value) && plainFixed_ && sections_.front().fracCount <= kExactPowers) {
        const int decimals = sections_.front().fracCount;
        const double scale = powerOfTen(decimals);
        std::optional<double> kept = keptDigitsOutsideTies(value, scale);
        if (!kept) {
            kept = keptDigitsOfDisplay(value, decimals);
        }
        if (kept) {
            // Both operands are exact, so the quotient is the correctly rounded value of
            // the decimal text, the same double the text reads as.
            const double magnitude = *kept / scale;
            return value < 0 ? -magnitude : magnitude;
        }
    }
    return readLocaleNumber(format(value, regional), regional);
}

QString NumberPattern::format(double value, const RegionalSettings& regional) const {
    if (!std::isfinite(value)) {
        return {};
    }
    switch (kind_) {
        case Kind::General:
            return formatGeneralNumber(value, regional);
        case Kind::Currency:
            return NumberPattern(regional.currencyPattern()).format(value, regional);
        case Kind::YesNo:
            return value != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
        case Kind::TrueFalse:
            return value != 0 ? QStringLiteral("True") : QStringLiteral("False");
        case Kind::OnOff:
            return value != 0 ? QStringLiteral("On") : QStringLiteral("Off");
        case Kind::Sections:
            return formatSections(value, regional);
    }
    return {};
}

QString NumberPattern::formatSections(double value, const RegionalSettings& regional) const {
    const auto count = sections_.size();
    const double magnitude = std::fabs(value);
    if (value < 0) {
        if (count >= 2 && !sections_[1].isEmpty()) {
            return writeSection(sections_[1], magnitude, false, regional);
        }
        return writeSection(sections_[0], magnitude, true, regional);
    }
    if (value == 0 && count >= 3 && !sections_[2].isEmpty()) {
        return writeSection(sections_[2], magnitude, false, regional);
    }
    return writeSection(sections_[0], magnitude, false, regional);
}

QString NumberPattern::formatText(const QString& text, const RegionalSettings& regional) const {
    const auto number = readLocaleNumber(text, regional);
    return number ? format(*number, regional) : text;
}

QString formatNumber(double value, const QString& pattern, const RegionalSettings& regional) {
    return NumberPattern(pattern).format(value, regional);
}

QString formatGeneralNumber(double value, const RegionalSettings& regional) {
    if (!std::isfinite(value)) {
        return {};
    }
    const DecimalDigits d = DecimalDigits::fromDouble(value);
    if (d.isZero()) {
        return QStringLiteral("0");
    }
    QString out;
    if (value < 0) {
        out += regional.negativeSign();
    }
    const QString digits = QString::fromLatin1(d.digits.c_str());
    const int length = static_cast<int>(digits.size());
    if (d.power > 15 || (d.power <= 0 && length - d.power > 15)) {
        out += digits.at(0);
        if (length > 1) {
            out += regional.decimalSeparator();
            out += digits.mid(1);
        }
        const int exponent = d.power - 1;
        out += QLatin1Char('E');
        out += exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return out;
    }
    if (d.power <= 0) {
        out += QLatin1Char('0');
        out += regional.decimalSeparator();
        out += QString(-d.power, QLatin1Char('0'));
        out += digits;
        return out;
    }
    if (length <= d.power) {
        out += digits;
        out += QString(d.power - length, QLatin1Char('0'));
        return out;
    }
    out += digits.left(d.power);
    out += regional.decimalSeparator();
    out += digits.mid(d.power);
    return out;
}

QString fixedPattern(int decimals) {
    return decimals <= 0 ? QStringLiteral("0")
                         : QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
}

QString formatSignificant(double value, int digits, const RegionalSettings& regional) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0) {
        return formatNumber(0, fixedPattern(0), regional);
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(digits - 1 - magnitude, 0, 15);
    return formatNumber(value, fixedPattern(decimals), regional);
}

int patternDecimals(const QString& pattern) {
    const QString first = pattern.section(QLatin1Char(';'), 0, 0);
    const int point = first.indexOf(QLatin1Char('.'));
    int decimals = 0;
    for (int i = point + 1; point >= 0 && i < first.size(); ++i) {
        if (first[i] != QLatin1Char('0') && first[i] != QLatin1Char('#')) {
            break;
        }
        ++decimals;
    }
    return decimals;
}
