#pragma once

#include <QWidget>

#include "report_inputs.h"

class QLabel;
class QVBoxLayout;

// The main window's page of an attribute agreement study: its tables (agreement with
// intervals, kappa, the AIAG rates in their verdict colours) and what the reader must
// know; or why the study has no figures.
class AttributeResults : public QWidget {
    Q_OBJECT

public:
    explicit AttributeResults(QWidget* parent = nullptr);
    void showStudy(const ReportInputs& inputs);
    void clear();

private:
    QVBoxLayout* tables_;
    QLabel* notes_;
    QLabel* refusal_;
};
