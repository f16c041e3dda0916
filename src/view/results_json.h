#pragma once

#include <QJsonObject>
#include <QString>

struct AnalysisScreen;

// What the main window shows of one analysis as one JSON object, for scripts and other
// quality systems: the header and result panels' texts, the verdicts, the grid, and the
// ANOVA and control charts at full precision.
namespace ResultsJson {

QJsonObject of(const AnalysisScreen& screen, const QString& numer);

}  // namespace ResultsJson
