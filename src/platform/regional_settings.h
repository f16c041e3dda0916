#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The user's regional settings as the number and date formats and the number reader
// see them. Everything that formats or reads numbers takes one of these explicitly, so
// that tests can pin Polish or English settings whatever the machine's LANG says.
class RegionalSettings {
public:
    // Polish as current desktops show it: decimal comma, U+00A0 between thousands,
    // "." as date separator.
    static RegionalSettings polish();
    // Polish as older desktops showed it: a plain space between thousands, "-" dates.
    static RegionalSettings polishLegacy();
    static RegionalSettings english();
    // Built from the system locale (LC_NUMERIC / LC_TIME / LANG).
    static RegionalSettings fromSystem();
    static RegionalSettings fromLocale(const QLocale& locale);

    QChar decimalSeparator() const { return decimal_; }
    QChar thousandsSeparator() const { return thousands_; }
    QChar dateSeparator() const { return dateSeparator_; }
    QChar timeSeparator() const { return timeSeparator_; }
    QChar negativeSign() const { return QLatin1Char('-'); }
    QString currencySymbol() const { return currency_; }
    // Currency layout in the number pattern language ("$#,##0.00;($#,##0.00)").
    QString currencyPattern() const { return currencyPattern_; }
    // Composite date and time layouts, themselves written in the date pattern language.
    QString shortDatePattern() const { return shortDate_; }
    QString longDatePattern() const { return longDate_; }
    QString longTimePattern() const { return longTime_; }
    QString amDesignator() const { return am_; }
    QString pmDesignator() const { return pm_; }

    // month 1..12, dayOfWeek 1 = Monday .. 7 = Sunday
    QString monthName(int month) const { return monthNames_.value(month - 1); }
    QString monthNameGenitive(int month) const { return monthGenitive_.value(month - 1); }
    QString monthAbbreviation(int month) const { return monthShort_.value(month - 1); }
    QString dayName(int dayOfWeek) const { return dayNames_.value(dayOfWeek - 1); }
    QString dayAbbreviation(int dayOfWeek) const { return dayShort_.value(dayOfWeek - 1); }

    // The locale that orders text (collation of appraiser names).
    QLocale collationLocale() const { return collation_; }

private:
    RegionalSettings() = default;

    QChar decimal_{QLatin1Char('.')};
    QChar thousands_{QLatin1Char(',')};
    QChar dateSeparator_{QLatin1Char('/')};
    QChar timeSeparator_{QLatin1Char(':')};
    QString currency_;
    QString currencyPattern_;
    QString shortDate_;
    QString longDate_;
    QString longTime_;
    QString am_;
    QString pm_;
    QStringList monthNames_;
    QStringList monthGenitive_;
    QStringList monthShort_;
    QStringList dayNames_;
    QStringList dayShort_;
    QLocale collation_{QLocale::c()};
};
