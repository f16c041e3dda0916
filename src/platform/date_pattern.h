#pragma once

#include <QDateTime>
#include <QString>

#include "regional_settings.h"

// Formats a date and time by a pattern of the number and date pattern language
// ("yyyy-mm-dd", "dd.mm.yyyy", "d mmmm yyyy", "hh:nn:ss"). Tokens ignore letter case;
// "/" and ":" are the locale's date and time separators; "m"/"mm" mean minutes right
// after an hour token; "mmmm" takes the genitive ("5 marca 2024") when a day of the
// month stands before it. The time is rounded to the nearest second first.
QString formatDate(const QDateTime& when, const QString& pattern, const RegionalSettings& regional);
