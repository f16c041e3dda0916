#pragma once

#include <QWidget>
#include <array>

#include "panels.h"
#include "result_symbol.h"
#include "result_texts.h"
#include "rr_study.h"

class QGroupBox;
class QLabel;
class QLayout;
class QPushButton;

// The result frames of the average-and-range study under the grid: ranges, repeatability
// and reproducibility with the reference, variations, resolution, and the two report
// buttons. Their panels show the result texts, the %R&R and ndc panels in their verdict
// colours; an incomplete study shows them empty.
class ResultPanels : public QWidget {
    Q_OBJECT

public:
    explicit ResultPanels(QWidget* parent = nullptr);

    // A result panel (13..26); none for a header index.
    QLabel* panel(int index) const;
    QPushButton* chartButton() const { return chartButton_; }
    QPushButton* previewButton() const { return previewButton_; }

    void showResults(const StudyOutput& study, const ResultTexts::Texts& texts);
    void clearResults();
    // Label2: the reference mode's code; an empty code leaves the last one.
    void setReferenceCode(const QString& code);
    void clearReferenceCode();
    void setReportButtonsEnabled(bool on);

private:
    QGroupBox* buildRangesFrame();
    QGroupBox* buildRepeatabilityFrame();
    QGroupBox* buildVariationFrame();
    QGroupBox* buildResolutionFrame();
    QLayout* buildReportButtons();
    QGroupBox* makeFrame(const char* title);
    QLabel* makePanel(int index, Qt::Alignment alignment);
    QLabel* makeValuePanel(int index);
    QWidget* makeSymbol(ResultSymbol::Kind kind, const char* text);
    void setPanelColour(int index, const QColor& colour);

    std::array<QLabel*, Panels::kCount> panels_{};
    QLabel* label2_ = nullptr;
    QPushButton* chartButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    int symbolCount_ = 0;
    int frameCount_ = 0;
};
