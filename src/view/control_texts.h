#pragma once

#include <QString>
#include <QStringList>

#include "control_limits.h"
#include "regional_settings.h"

// The texts of the control charts: the warning under the main window's grid, the
// labels of the limits and the reading of the averages, numbers through the pattern.
namespace ControlTexts {

// "Rozstęp poza granicą kontrolną (UCL = 0,8815): oceniający B, część 4 — powtórz
// pomiar."; empty when no range is above the limit. Limits show one decimal more than
// the number pattern.
QString warning(const ControlLimits::Results& control, const QStringList& appraisers,
                const QString& numberPattern, const RegionalSettings& regional);

// "22 z 30 średnich (73 %) poza granicami X̄ — przyrząd rozróżnia części."
QString averagesReading(const ControlLimits::Results& control);

// "D4 = 2,58, A2 = 1,023 (3 powtórzenia)"
QString constants(const ControlLimits::Results& control, const RegionalSettings& regional);

// The labels of the charts' lines, one decimal more than the number pattern.
struct Labels {
    QString uclX, centreX, lclX, uclR, centreR, lclR;
};
Labels labels(const ControlLimits::Results& control, const QString& numberPattern,
              const RegionalSettings& regional);

}  // namespace ControlTexts
