#pragma once

#include <QWidget>
#include <optional>

#include "report_inputs.h"

class QLabel;
class QTableWidget;
class PageChartView;

// The main window's page of a type-1 study: the table of its figures (the verdicts in
// their colours), what the reader must know of them, and its run chart and histogram;
// or why the study has no figures.
class Type1Results : public QWidget {
    Q_OBJECT

public:
    explicit Type1Results(QWidget* parent = nullptr);
    void showStudy(const ReportInputs& inputs);
    void clear();

private:
    QTableWidget* table_;
    QLabel* notes_;
    QLabel* refusal_;
    PageChartView* charts_;
};
