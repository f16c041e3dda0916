#pragma once

#include <QString>

#include "regional_settings.h"

// The number proposed for a new analysis from the last stored one: its leading number
// plus one, followed by the rest of it (12/2005 -> 13/2005, 7 -> 8, A1 -> 11,
// 007 -> 807); "1" when nothing is stored yet.
QString proposeAnalysisNumber(const QString& lastNumber, bool anyStored,
                              const RegionalSettings& regional);
