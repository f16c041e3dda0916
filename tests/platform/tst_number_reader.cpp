#include <QtTest>
#include <optional>

#include "number_reader.h"

Q_DECLARE_METATYPE(std::optional<double>)

namespace {
const std::optional<double> none;
std::optional<double> n(double v) {
    return v;
}
}  // namespace

class NumberReaderTest : public QObject {
    Q_OBJECT

private slots:
    void localeNumbers_data();
    void localeNumbers();
    void leadingNumber_data();
    void leadingNumber();
    void decimalText_data();
    void decimalText();
};

void NumberReaderTest::localeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("english");
    QTest::addColumn<std::optional<double>>("polish");
    QTest::addColumn<std::optional<double>>("legacy");
    const QString nbsp(QChar(0x00A0));
    QTest::newRow("comma") << "1,5" << n(15) << n(1.5) << n(1.5);
    QTest::newRow("point") << "1.5" << n(1.5) << none << none;
    QTest::newRow("space group") << "1 000,5" << none << n(1000.5) << n(1000.5);
    QTest::newRow("nbsp group") << (QStringLiteral("1") + nbsp + QStringLiteral("000,5")) << none
                                << n(1000.5) << none;
    QTest::newRow("dot group in Polish") << "1.000,5" << none << none << none;
    QTest::newRow("english grouping") << "1,000.5" << n(1000.5) << none << none;
    QTest::newRow("blanks around") << " 12 " << n(12) << n(12) << n(12);
    QTest::newRow("tab and newline") << "\t12\n" << n(12) << n(12) << n(12);
    QTest::newRow("dollar") << "$12" << n(12) << none << none;
    QTest::newRow("zloty after") << QString::fromUtf8("12 zł") << none << n(12) << n(12);
    QTest::newRow("parentheses") << "(12)" << n(-12) << n(-12) << n(-12);
    QTest::newRow("trailing minus") << "12-" << n(-12) << n(-12) << n(-12);
    QTest::newRow("plus") << "+12" << n(12) << n(12) << n(12);
    QTest::newRow("minus blank") << "- 12" << n(-12) << n(-12) << n(-12);
    QTest::newRow("exponent") << "1e3" << n(1000) << n(1000) << n(1000);
    QTest::newRow("comma exponent") << "1,5e2" << n(1500) << n(150) << n(150);
    QTest::newRow("point exponent") << "1.5E-2" << n(0.015) << none << none;
    QTest::newRow("hex") << "&H10" << n(16) << n(16) << n(16);
    QTest::newRow("empty") << "" << none << none << none;
    QTest::newRow("blanks") << "  " << none << none << none;
    QTest::newRow("point alone") << "." << none << none << none;
    QTest::newRow("trailing point") << "1." << n(1) << none << none;
    QTest::newRow("leading comma") << ",5" << none << n(0.5) << n(0.5);
    QTest::newRow("leading point") << ".5" << n(0.5) << none << none;
    QTest::newRow("groups unchecked") << "1,2,3" << n(123) << none << none;
    QTest::newRow("letters after") << "12abc" << none << none << none;
    QTest::newRow("unclosed parenthesis") << "(12" << none << none << none;
    QTest::newRow("exponent without digits") << "1e" << none << none << none;
    QTest::newRow("two minus signs") << "--1" << none << none << none;
    QTest::newRow("blank inside") << "1 2" << none << n(12) << n(12);
    QTest::newRow("overflow") << "1e400" << none << none << none;
    QTest::newRow("long hex") << "&H7FFFFFFFFF" << n(549755813887.0) << n(549755813887.0)
                              << n(549755813887.0);
    QTest::newRow("hex past 63 bits") << "&H8000000000000000" << none << none << none;
    QTest::newRow("hex to infinity")
        << QStringLiteral("&H") + QString(300, QLatin1Char('F')) << none << none << none;
    QTest::newRow("negative measured value") << "-0,015" << n(-15) << n(-0.015) << n(-0.015);
}

void NumberReaderTest::localeNumbers() {
    QFETCH(QString, text);
    QFETCH(std::optional<double>, english);
    QFETCH(std::optional<double>, polish);
    QFETCH(std::optional<double>, legacy);
    QCOMPARE(readLocaleNumber(text, RegionalSettings::english()), english);
    QCOMPARE(readLocaleNumber(text, RegionalSettings::polish()), polish);
    QCOMPARE(readLocaleNumber(text, RegionalSettings::polishLegacy()), legacy);
    QCOMPARE(isNumeric(text, RegionalSettings::polish()), polish.has_value());
}

void NumberReaderTest::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("address") << "    1615 198th Street N.E." << 1615198.0;
    QTest::newRow("blanks inside") << " 2 45 7" << 2457.0;
    QTest::newRow("words") << "24 and 57" << 24.0;
    QTest::newRow("hex word") << "&HFFFF" << -1.0;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("point") << "1.5" << 1.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("minus") << "-1" << -1.0;
    QTest::newRow("plus") << "+1" << 1.0;
    QTest::newRow("leading point") << ".1" << 0.1;
    QTest::newRow("blank after point") << "1. 1" << 1.1;
    QTest::newRow("two points") << "1..1" << 1.0;
    QTest::newRow("three parts") << "1.1.1" << 1.1;
    QTest::newRow("hex with blank") << "&H F" << 15.0;
    QTest::newRow("octal") << "&O177" << 127.0;
    QTest::newRow("hex three") << "&H0F0" << 240.0;
    QTest::newRow("exponent") << "-1e20" << -1e20;
    QTest::newRow("small exponent") << "1e-3" << 0.001;
    QTest::newRow("bad exponent") << "1eA" << 1.0;
    QTest::newRow("exponent blanks") << "1.1e +3" << 1100.0;
    QTest::newRow("suffix") << "1%" << 1.0;
    QTest::newRow("d exponent") << "1.5d3" << 1500.0;
    QTest::newRow("sign blanks") << "  -  3" << -3.0;
    QTest::newRow("two signs") << "--5" << 0.0;
    QTest::newRow("nbsp not skipped") << QString::fromUtf8("1\u00A0234,5") << 1.0;
    QTest::newRow("date") << "02/04/2010" << 2.0;
    QTest::newRow("street") << "50 Park Lane" << 50.0;
    QTest::newRow("letter first") << "L13.5" << 0.0;
    QTest::newRow("text") << "sometext" << 0.0;
    QTest::newRow("hex 16 bit") << "&H8000" << -32768.0;
    QTest::newRow("hex 32 bit") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex 64 bit top digit") << "&H8000000000000000" << 0.0;
    QTest::newRow("hex past 16 digits")
        << QStringLiteral("&H") + QString(300, QLatin1Char('F')) << -1.0;
    QTest::newRow("analysis number") << "12/2005" << 12.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
}

void NumberReaderTest::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(readLeadingNumber(text), expected);
}

void NumberReaderTest::decimalText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("expected");
    QTest::newRow("comma") << "1,5" << 1.5f;
    QTest::newRow("only first comma") << "1,5,7" << 1.5f;
    QTest::newRow("point") << "10.4" << 10.4f;
    QTest::newRow("limit comma") << "10,5" << 10.5f;
    QTest::newRow("no number") << "abc" << 0.0f;
    QTest::newRow("blanks") << " 1 0,2" << 10.2f;
}

void NumberReaderTest::decimalText() {
    QFETCH(QString, text);
    QFETCH(float, expected);
    QCOMPARE(readDecimalText(text), expected);
}

QTEST_GUILESS_MAIN(NumberReaderTest)
#include "tst_number_reader.moc"
