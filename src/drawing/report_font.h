#pragma once

#include <QString>

// The report font by the name the program knows it by ("Arial CE" at start). A name
// no installed family carries is matched by the system's font matching, without the
// Central European suffix " CE" of older font names first (so "Arial CE" becomes the Arial-metric
// Liberation Sans where it is installed), never the alphabetically first family.
QString resolveReportFont(const QString& name);
