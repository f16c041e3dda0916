#pragma once

#include <QString>
#include <array>

#include "panels.h"
#include "rr_study.h"
#include "shown_numbers.h"

// The texts of the average-and-range results as the main window's panels 13..26 show
// them, the report prints them and kalmet-cli gives them: numbers through the number
// pattern (the texts already shown are reused), percentages as "#0.00", the resolution
// as a whole number, each followed by a blank; an empty result has no text. An
// incomplete study has no texts at all.
namespace ResultTexts {

using Texts = std::array<QString, Panels::kCount>;

// `shown`: the session's texts of shown numbers, if any.
Texts of(const StudyOutput& study, const QString& numberPattern, ShownNumbers* shown,
         const RegionalSettings& regional);

}  // namespace ResultTexts
