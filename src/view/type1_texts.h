#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "figure_line.h"
#include "regional_settings.h"
#include "type1_study.h"

// The texts of a type-1 study for its window page and its report page: the figures with
// their verdicts, what the reader must know about them, and why a study was refused.
namespace Type1Texts {

using Line = FigureLine;

// Measured quantities through the number pattern (the standard deviation and the bias's
// interval one decimal finer), the indices and percentages with two decimals.
QVector<Line> figures(const Type1::Results& results, const QString& numberPattern,
                      const RegionalSettings& regional);

// "Mniej niż 25 odczytów: …", the limit taken as zero, the resolution read off the
// readings, no spread; empty when there is nothing to say.
QStringList notes(const Type1::Results& results, const QString& numberPattern,
                  const RegionalSettings& regional);

// Why the study has no figures, in a sentence.
QString refusal(Type1::Refusal refusal);

}  // namespace Type1Texts
