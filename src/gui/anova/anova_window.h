#pragma once

#include <QDialog>

#include "analysis_screen.h"
#include "report_inputs.h"
#include "ui_environment.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QTableWidget;
class PagePrinter;

// "Analiza wariancji (ANOVA)": the ANOVA of the selected analysis at a chosen alpha (0,05,
// 0,25 or typed, 0,001 to 0,5), its tables, variance components, %R&R and ndc in the
// verdict colours, and a line comparing it with average-and-range. It prints the ANOVA
// page and saves it as PDF; the statistics come from view/, the page from drawing/.
class AnovaWindow : public QDialog {
    Q_OBJECT

public:
    AnovaWindow(const AnalysisScreen& screen, const ReportInputs& inputs,
                const UiEnvironment& environment, PagePrinter& printer, const QString& suggestedPdf,
                QWidget* parent = nullptr);

    double alpha() const { return alpha_; }
    const ReportInputs& pageInputs() const { return inputs_; }

    // Takes the alpha typed or chosen in the box (on Enter, a choice, or the focus
    // leaving it); a text that is not an alpha from 0,001 to 0,5 is refused and the
    // previous alpha stays. False when refused.
    bool applyAlpha();
    void printPage();
    void savePdf();

private:
    QWidget* buildAlphaRow();
    QGroupBox* buildTable(const char* name, const QString& title, int rows, int columns,
                          QTableWidget** table);
    QWidget* buildVerdictRow();
    QLayout* buildButtons();
    void showTexts();
    void fillTable(QTableWidget* table, const QStringList& headings,
                   const std::vector<AnovaTexts::Row>& rows);
    void showJudged(QLabel* panel, const AnovaTexts::Judged& judged);

    AnalysisScreen screen_;
    ReportInputs inputs_;
    UiEnvironment env_;
    PagePrinter& printer_;
    QString suggestedPdf_;
    double alpha_;
    bool refusing_ = false;
    QComboBox* alphaBox_ = nullptr;
    QLabel* method_ = nullptr;
    QTableWidget* full_ = nullptr;
    QLabel* interaction_ = nullptr;
    QGroupBox* pooledFrame_ = nullptr;
    QTableWidget* pooled_ = nullptr;
    QTableWidget* components_ = nullptr;
    QLabel* rrPercent_ = nullptr;
    QLabel* ndc_ = nullptr;
    QLabel* comparison_ = nullptr;
    QLabel* difference_ = nullptr;
};
