#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "figure_line.h"
#include "linearity_study.h"
#include "regional_settings.h"

// The texts of a bias and linearity study for its window page and its report page.
namespace LinearityTexts {

// The regression and the study's own figures, the verdict last in its colour.
QVector<FigureLine> regression(const Linearity::Results& results, const QString& numberPattern,
                               const RegionalSettings& regional);
// The column names of the parts' table, and one row of cells a part.
QStringList partHeadings();
QVector<QStringList> parts(const Linearity::Results& results, const QString& numberPattern,
                           const RegionalSettings& regional);
// The verdict in words: where the line bias = 0 lies against the band.
QString verdict(const Linearity::Results& results);
// The method of the parts' tests, and what else the reader must know.
QStringList notes(const Linearity::Results& results);
QString refusal(Linearity::Refusal refusal);

}  // namespace LinearityTexts
