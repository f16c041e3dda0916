#include "regional_settings.h"

namespace {

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

}  // namespace

RegionalSettings RegionalSettings::polish() {
    RegionalSettings s;
    s.decimal_ = QLatin1Char(',');
    s.thousands_ = QChar(0x00A0);
    s.dateSeparator_ = QLatin1Char('.');
    s.timeSeparator_ = QLatin1Char(':');
    s.currency_ = QStringLiteral("zł");
    s.currencyPattern_ = QString::fromUtf8("#,##0.00 \"zł\";-#,##0.00 \"zł\"");
    s.shortDate_ = QStringLiteral("dd/mm/yyyy");
    s.longDate_ = QStringLiteral("d mmmm yyyy");
    s.longTime_ = QStringLiteral("hh:nn:ss");
    // The month and day names live here rather than in ICU/CLDR data, so that the
    // program's output does not change with the library version.
    s.monthNames_ = words(
        "styczeń|luty|marzec|kwiecień|maj|czerwiec|lipiec|sierpień|wrzesień|październik|"
        "listopad|grudzień");
    s.monthGenitive_ = words(
        "stycznia|lutego|marca|kwietnia|maja|czerwca|lipca|sierpnia|września|października|"
        "listopada|grudnia");
    s.monthShort_ = words("sty|lut|mar|kwi|maj|cze|lip|sie|wrz|paź|lis|gru");
    s.dayNames_ = words("poniedziałek|wtorek|środa|czwartek|piątek|sobota|niedziela");
    s.dayShort_ = words("pon.|wt.|śr.|czw.|pt.|sob.|niedz.");
    s.collation_ = QLocale(QLocale::Polish, QLocale::Poland);
    return s;
}

RegionalSettings RegionalSettings::polishLegacy() {
    RegionalSettings s = polish();
    s.thousands_ = QLatin1Char(' ');
    s.dateSeparator_ = QLatin1Char('-');
    s.shortDate_ = QStringLiteral("yyyy/mm/dd");
    s.dayShort_ = words("Pn|Wt|Śr|Cz|Pt|So|N");
    return s;
}

RegionalSettings RegionalSettings::english() {
    RegionalSettings s;
    s.currency_ = QStringLiteral("$");
    s.currencyPattern_ = QStringLiteral("$#,##0.00;($#,##0.00)");
    s.shortDate_ = QStringLiteral("m/d/yyyy");
    s.longDate_ = QStringLiteral("dddd, mmmm d, yyyy");
    s.longTime_ = QStringLiteral("h:nn:ss AMPM");
    s.am_ = QStringLiteral("AM");
    s.pm_ = QStringLiteral("PM");
    s.monthNames_ = words(
        "January|February|March|April|May|June|July|August|September|October|November|"
        "December");
    s.monthGenitive_ = s.monthNames_;
    s.monthShort_ = words("Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec");
    s.dayNames_ = words("Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday");
    s.dayShort_ = words("Mon|Tue|Wed|Thu|Fri|Sat|Sun");
    s.collation_ = QLocale(QLocale::English, QLocale::UnitedStates);
    return s;
}

RegionalSettings RegionalSettings::fromSystem() {
    return fromLocale(QLocale::system());
}

RegionalSettings RegionalSettings::fromLocale(const QLocale& locale) {
    if (locale.language() == QLocale::Polish) {
        // Qt 6.4 groups Polish numbers wrongly; the program's own table is right.
        return polish();
    }
    if (locale.language() == QLocale::English || locale.language() == QLocale::C) {
        RegionalSettings s = english();
        if (locale.language() == QLocale::English) {
            s.collation_ = locale;
        }
        return s;
    }
    RegionalSettings s = english();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    if (decimal.size() == 1) {
        s.decimal_ = decimal.at(0);
    }
    if (group.size() == 1 && group.at(0) != s.decimal_) {
        s.thousands_ = group.at(0);
    }
    s.currency_ = locale.currencySymbol();
    s.currencyPattern_ = QStringLiteral("#,##0.00 \"%1\";-#,##0.00 \"%1\"").arg(s.currency_);
    s.monthNames_.clear();
    s.monthGenitive_.clear();
    s.monthShort_.clear();
    for (int m = 1; m <= 12; ++m) {
        s.monthNames_ << locale.standaloneMonthName(m, QLocale::LongFormat);
        s.monthGenitive_ << locale.monthName(m, QLocale::LongFormat);
        s.monthShort_ << locale.standaloneMonthName(m, QLocale::ShortFormat);
    }
    s.dayNames_.clear();
    s.dayShort_.clear();
    for (int d = 1; d <= 7; ++d) {
        s.dayNames_ << locale.dayName(d, QLocale::LongFormat);
        s.dayShort_ << locale.dayName(d, QLocale::ShortFormat);
    }
    s.shortDate_ = QStringLiteral("dd/mm/yyyy");
    s.longDate_ = QStringLiteral("d mmmm yyyy");
    s.longTime_ = QStringLiteral("hh:nn:ss");
    s.am_.clear();
    s.pm_.clear();
    s.collation_ = locale;
    return s;
}
