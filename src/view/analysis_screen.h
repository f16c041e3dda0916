#pragma once

#include <QString>
#include <array>
#include <optional>

#include "anova.h"
#include "attribute_study.h"
#include "control_limits.h"
#include "linearity_study.h"
#include "result_texts.h"
#include "rr_study.h"
#include "study_grid.h"
#include "type1_study.h"

class Session;

// What the main window shows for one selected analysis, worked out without any
// widget: the header panel texts, the reference-mode code, and the study (grid,
// results, verdicts). The window only renders it; the batch interface prints it.
struct AnalysisScreen {
    bool found = false;  // false: no analysis has that number; the screen keeps its contents
    // Set when a read of the database failed: nothing else of the screen holds data.
    QString readError;
    bool failed() const { return !readError.isEmpty(); }
    StudyKind kind = StudyKind::Crossed;
    std::array<QString, Panels::kLastHeader + 1> header;  // by Panels index
    std::optional<QString> referenceCode;                 // Label2; empty: left as it was
    bool hasSeries = false;
    Study input;                 // the study as read, with the settings it was computed with
    StudyOutput study;           // its numbers
    StudyGrid grid;              // and its grid
    ResultTexts::Texts results;  // panels 13..26; empty while the study is incomplete
    std::optional<Anova::Results> anova;            // the same study by ANOVA, when complete
    std::optional<Anova::Input> anovaInput;         // what it was computed from, for another alpha
    std::optional<ControlLimits::Results> control;  // the X-bar and R charts, when complete
    QStringList appraisers;  // the names of the appraiser blocks, in grid order
    QString controlWarning;  // the line under the grid; empty without a flagged range
    // A type-1 study: its readings in order (empty where a row holds none) and its figures
    // or why it has none.
    QVector<std::optional<double>> readings;
    std::optional<Type1::Outcome> type1;
    std::optional<Linearity::Outcome> linearity;
    std::optional<Attribute::Outcome> attribute;

    // K x R series: results, the report and the chart exist.
    bool hasCompleteStudy() const { return hasSeries && study.complete; }
    // A study of another kind with its figures: its report exists.
    bool hasKindResults() const {
        return (type1 && type1->results) || (linearity && linearity->results) ||
               (attribute && attribute->results);
    }
    // Its figures can be exported (with its readings).
    bool hasResults() const { return hasCompleteStudy() || hasKindResults(); }
    // Its report page exists (printed, previewed).
    bool hasReport() const { return hasResults(); }

    // Positions the session's analysis record set on the analysis, opens its series
    // record set and computes the study; the series record set is left on its last row.
    static AnalysisScreen select(Session& session, const QString& numer,
                                 double anovaAlpha = kAnovaAlpha);
    static constexpr double kAnovaAlpha = 0.05;

    // The ANOVA of the same study at another alpha; nothing when the study has none.
    std::optional<Anova::Results> anovaAt(double alpha) const;

    static std::optional<QString> referenceModeCode(const Value& coRef);
};
