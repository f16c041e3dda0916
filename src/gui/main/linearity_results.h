#pragma once

#include <QWidget>

#include "report_inputs.h"

class QLabel;
class QTableWidget;
class PageChartView;

// The main window's page of a bias and linearity study: the regression's figures with the
// verdict in its colour, the verdict in words, the parts' table, the notes and the plot
// of bias against reference; or why the study has no figures.
class LinearityResults : public QWidget {
    Q_OBJECT

public:
    explicit LinearityResults(QWidget* parent = nullptr);
    void showStudy(const ReportInputs& inputs);
    void clear();

private:
    QTableWidget* figures_;
    QTableWidget* parts_;
    QLabel* verdict_;
    QLabel* notes_;
    QLabel* refusal_;
    PageChartView* plot_;
};
