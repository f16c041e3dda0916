#include <QtTest>
#include <cmath>

#include "date_pattern.h"
#include "format_vectors.h"
#include "number_pattern.h"
#include "number_reader.h"

class NumberFormatTest : public QObject {
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void decimalRoundingInsteadOfBinary_data();
    void decimalRoundingInsteadOfBinary();
    void nonFiniteValuesHaveNoText();
    void hugeAndTinyValues();
    void textValues();
    void roundTripThroughTheReader_data();
    void roundTripThroughTheReader();
    void compiledPatternServesManyValues();
    void handEditedHugePatterns();
    void significantDigits_data();
    void significantDigits();
};

void NumberFormatTest::vectors_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("polish");
    QTest::addColumn<QString>("legacy");
    const auto rows = loadFormatVectors(QStringLiteral("number"));
    QVERIFY2(rows.size() > 60, "format vectors not found");
    for (const FormatVector& row : rows) {
        const QByteArray name = (row.value + QLatin1String(" | ") + row.pattern).toUtf8();
        QTest::newRow(name.constData())
            << row.value.toDouble() << row.pattern << row.english << row.polish << row.polishLegacy;
    }
}

void NumberFormatTest::vectors() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, english);
    QFETCH(QString, polish);
    QFETCH(QString, legacy);
    QCOMPARE(formatNumber(value, pattern, RegionalSettings::english()), english);
    QCOMPARE(formatNumber(value, pattern, RegionalSettings::polish()), polish);
    QCOMPARE(formatNumber(value, pattern, RegionalSettings::polishLegacy()), legacy);
}

void NumberFormatTest::decimalRoundingInsteadOfBinary_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1.005 is a tie in decimal") << 1.005 << "0.00"
                                               << "1.01";
    QTest::newRow("1.015 is a tie in decimal") << 1.015 << "0.00"
                                               << "1.02";
    QTest::newRow("10.04 one decimal") << 10.04 << "0.0"
                                       << "10.0";
    QTest::newRow("10.06 one decimal") << 10.06 << "0.0"
                                       << "10.1";
    QTest::newRow("10.05 one decimal") << 10.05 << "0.0"
                                       << "10.1";
    QTest::newRow("negative tie away from zero") << -2.675 << "0.00"
                                                 << "-2.68";
    QTest::newRow("carry through all digits") << 999.9996 << "0.000"
                                              << "1000.000";
    QTest::newRow("percent pattern of the results") << 25.855 << "#0.00"
                                                    << "25.86";
    QTest::newRow("small result") << 0.0184999999 << "0.000"
                                  << "0.018";
}

void NumberFormatTest::decimalRoundingInsteadOfBinary() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(formatNumber(value, pattern, RegionalSettings::english()), expected);
}

void NumberFormatTest::nonFiniteValuesHaveNoText() {
    const auto rs = RegionalSettings::polish();
    QCOMPARE(formatNumber(std::nan(""), QStringLiteral("0.00"), rs), QString());
    QCOMPARE(formatNumber(HUGE_VAL, QStringLiteral("0.00"), rs), QString());
    QCOMPARE(formatNumber(-HUGE_VAL, QString(), rs), QString());
}

void NumberFormatTest::hugeAndTinyValues() {
    const auto rs = RegionalSettings::english();
    const QString big = formatNumber(1e300, QStringLiteral("0.000"), rs);
    QCOMPARE(big.size(), 301 + 4);
    QVERIFY(big.startsWith(QLatin1String("1000000000000000000")));
    QCOMPARE(formatNumber(1e-300, QStringLiteral("0.000"), rs), QStringLiteral("0.000"));
    QCOMPARE(formatNumber(-1e-300, QStringLiteral("0.000"), rs), QStringLiteral("-0.000"));
    QCOMPARE(formatNumber(1.7976931348623157e308, QStringLiteral("0.00E+00"), rs),
             QStringLiteral("1.80E+308"));
    QCOMPARE(formatNumber(5e-324, QStringLiteral("0.00E+00"), rs), QStringLiteral("4.94E-324"));
}

void NumberFormatTest::textValues() {
    const NumberPattern pattern(QStringLiteral("0.00"));
    const auto pl = RegionalSettings::polish();
    QCOMPARE(pattern.formatText(QStringLiteral("10,005"), pl), QStringLiteral("10,01"));
    QCOMPARE(pattern.formatText(QStringLiteral("10.005"), pl), QStringLiteral("10.005"));
    QCOMPARE(pattern.formatText(QStringLiteral("abc"), pl), QStringLiteral("abc"));
    QCOMPARE(pattern.formatText(QStringLiteral("10.005"), RegionalSettings::english()),
             QStringLiteral("10.01"));
}

void NumberFormatTest::roundTripThroughTheReader_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("decimals");
    for (const char* p :
         {"0", "0.0", "0.00", "0.000", "#0.00", "#,##0.00", "0.0000", "#,##0.000"}) {
        const QString pattern = QString::fromLatin1(p);
        const int point = pattern.indexOf(QLatin1Char('.'));
        const int decimals = point < 0 ? 0 : static_cast<int>(pattern.size()) - point - 1;
        QTest::newRow(p) << pattern << decimals;
    }
}

namespace {

// The same double, zero's sign included.
bool sameBits(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() &&
           (!a || (*a == *b && std::signbit(*a) == std::signbit(*b)));
}

}  // namespace

// Formatting and reading back gives the value rounded to the pattern's decimals: never
// more than half a unit of the last place away, ties away from zero, and formatting
// the read-back value again gives the same text. The number read back without a text
// is that same double.
void NumberFormatTest::roundTripThroughTheReader() {
    QFETCH(QString, pattern);
    QFETCH(int, decimals);
    const NumberPattern compiled(pattern);
    const double unit = std::pow(10.0, -decimals);
    QRandomGenerator random(20261208);
    for (const RegionalSettings& rs : {RegionalSettings::polish(), RegionalSettings::english(),
                                       RegionalSettings::polishLegacy()}) {
        for (int i = 0; i < 4000; ++i) {
            const double magnitude = std::pow(10.0, random.bounded(-3, 7));
            const double v = (random.generateDouble() * 2 - 1) * magnitude;
            const QString text = compiled.format(v, rs);
            const auto back = readLocaleNumber(text, rs);
            QVERIFY2(back.has_value(), qPrintable(text));
            QVERIFY2(sameBits(compiled.readBack(v, rs), back), qPrintable(text));
            QVERIFY2(std::fabs(*back - v) <= unit / 2 * (1 + 1e-9) + std::fabs(v) * 1e-15,
                     qPrintable(QStringLiteral("%1 -> %2").arg(v, 0, 'g', 17).arg(text)));
            if (*back != 0) {  // "-0,00" keeps its sign, the number read back does not
                QCOMPARE(compiled.format(*back, rs), text);
            }
        }
        for (const double v : {0.0, -0.0, -1e-9, 4e-4, -4e-4, 123456789012345.6, -1e20, 1e300}) {
            QVERIFY(
                sameBits(compiled.readBack(v, rs), readLocaleNumber(compiled.format(v, rs), rs)));
        }
        for (int k = -2000; k <= 2000; k += 7) {
            // exact decimal ties such as 1.005 with two decimals
            const double tie = (k + 0.5) * unit;
            const QString text = compiled.format(tie, rs);
            // and the doubles beside a tie, whose 15-digit form is the tie
            for (const double v : {tie, std::nextafter(tie, -1e9), std::nextafter(tie, 1e9)}) {
                QVERIFY2(sameBits(compiled.readBack(v, rs),
                                  readLocaleNumber(compiled.format(v, rs), rs)),
                         qPrintable(text));
            }
            const double back = readLocaleNumber(text, rs).value_or(0);
            const double expected = (k >= 0 ? k + 1 : k) * unit;
            QVERIFY2(std::fabs(back - expected) < unit * 1e-6,
                     qPrintable(QStringLiteral("%1 -> %2").arg(tie, 0, 'g', 17).arg(text)));
        }
    }
}

void NumberFormatTest::compiledPatternServesManyValues() {
    const NumberPattern pattern(QStringLiteral("#,##0.00;(#,##0.00);\"zero\""));
    const auto pl = RegionalSettings::polish();
    QCOMPARE(pattern.format(1234.5, pl), QString::fromUtf8("1\u00A0234,50"));
    QCOMPARE(pattern.format(-1234.5, pl), QString::fromUtf8("(1\u00A0234,50)"));
    QCOMPARE(pattern.format(0, pl), QStringLiteral("zero"));
    QCOMPARE(pattern.format(0.001, pl), QStringLiteral("0,00"));
}

// A settings row can be edited by hand: forty thousand commas or date letters must
// format at once (they took minutes while the compilers were quadratic).
void NumberFormatTest::handEditedHugePatterns() {
    const RegionalSettings rs = RegionalSettings::polish();
    const QString commas =
        QStringLiteral("0") + QString(40000, QLatin1Char(',')) + QStringLiteral(".00");
    QCOMPARE(formatNumber(1234.5, commas, rs), QStringLiteral("0,00"));
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
    QCOMPARE(formatDate(when, QString(60000, QLatin1Char('y')), rs),
             QStringLiteral("2024").repeated(15000));
    QCOMPARE(formatDate(when, QString(60000, QLatin1Char('h')), rs),
             QStringLiteral("14").repeated(30000));
}

void NumberFormatTest::significantDigits_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a repeatable gauge's variance") << 0.000190278 << "0,0001903";
    QTest::newRow("unit scale") << 0.302372 << "0,3024";
    QTest::newRow("tens") << 88.361934 << "88,36";
    QTest::newRow("large: every integer digit") << 399732.51 << "399733";
    QTest::newRow("rounding up to the next power") << 9.99996 << "10,000";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -0.012345 << "-0,01235";
    QTest::newRow("not finite") << qInf() << "";
}

void NumberFormatTest::significantDigits() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatSignificant(value, 4, RegionalSettings::polish()), expected);
}

QTEST_GUILESS_MAIN(NumberFormatTest)
#include "tst_number_format.moc"
