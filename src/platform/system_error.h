#pragma once

#include <QString>

// What the system said when a file could not be read or written (an errno), in Polish:
// "brak miejsca na dysku" rather than the C library's English. The number is added for
// a cause this table does not know.
QString systemErrorText(int code);
