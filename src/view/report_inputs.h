#pragma once

#include <QDateTime>
#include <QHash>
#include <array>
#include <optional>

#include "anova_texts.h"
#include "control_texts.h"

#include "attribute_texts.h"
#include "grid_layout.h"
#include "linearity_texts.h"
#include "measured_values.h"
#include "panels.h"
#include "regional_settings.h"
#include "type1_texts.h"
#include "value.h"

class Session;
struct AnalysisScreen;

// Everything the report page reads, gathered once: the selected analysis row, the
// settings it prints, the grid and the result texts exactly as the main window shows
// them (read, never recomputed), and the stored measured values for the chart. The
// window and the batch command build it the same way, so they draw identical pages.
struct ReportInputs {
    QHash<QString, Value> analysis;  // the fields of the analysis row, by name
    Value FRTol;
    Value Firma;
    QString datePattern;       // FD
    QString numberPattern;     // FP
    std::array<bool, 5> PW{};  // PW1..PW5; an empty field counts as no
    GridLayout grid;
    std::array<QString, Panels::kCount> panels;
    MeasuredValues measured;
    QDateTime today;
    QString fontName;
    RegionalSettings regional = RegionalSettings::polish();
    std::optional<AnovaTexts::Texts> anova;  // the ANOVA page's texts, when it has any
    // The control charts, their appraisers in block order and their texts.
    std::optional<ControlLimits::Results> control;
    QStringList appraisers;
    ControlTexts::Labels controlLabels;
    QString controlWarning;
    // A study of another kind: which, its readings in order, its figures and their texts,
    // or why it has none.
    StudyKind kind = StudyKind::Crossed;
    std::vector<double> readings;
    std::optional<Type1::Results> type1;
    QVector<Type1Texts::Line> type1Lines;
    QStringList type1Notes;
    std::optional<Linearity::Results> linearity;
    std::vector<Linearity::Point> points;  // every reading with its part's reference
    QVector<FigureLine> linearityLines;
    QVector<QStringList> linearityParts;
    QString linearityVerdict;
    QStringList linearityNotes;
    Attribute::Input attributeInput;  // the decisions, as stored
    std::optional<Attribute::Results> attribute;
    QVector<AttributeTexts::Table> attributeTables;
    QStringList attributeNotes;
    QString refusal;

    Value field(const char* name) const { return analysis.value(QString::fromLatin1(name)); }

    // The analysis fields a study of the kind keeps, in the table's order.
    static const QStringList& analysisFields(StudyKind kind = StudyKind::Crossed);

    // From the session's current rows and the screen the main window rendered. The
    // series record set keeps its current row.
    static ReportInputs gather(Session& session, const AnalysisScreen& screen,
                               const QDateTime& today);
};
