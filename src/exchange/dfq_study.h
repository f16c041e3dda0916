#pragma once

#include <QDateTime>
#include <QIODevice>
#include <QStringList>

#include "study_file.h"

// A study as a Q-DAS DFQ file (AQDEF, K-field notation, CRLF): the header K-fields of
// the part, the characteristic, the gauge and the design, then per reading K0001 value,
// K0004 date, K0008 appraiser number and K0014 part number, in appraiser -> part ->
// trial order. Texts in Windows-1250 unless UTF-8 is asked for.
namespace DfqStudy {

enum class Encoding { Windows1250, Utf8 };

// decimals: those of the number pattern; when: the readings' date and time. A line break
// in a text becomes a blank. In Windows-1250 a character it lacks is written as its
// nearest letter (Ø and ⌀ as O, ² as 2, ³ as 3, µ as u) or "?", and the fields so written
// are named in *changed (their K-field and the analysis field). False when the device
// refused a write.
bool write(QIODevice& out, const StudyFile& study, int decimals, const QDateTime& when,
           Encoding encoding = Encoding::Windows1250, QStringList* changed = nullptr);

}  // namespace DfqStudy
