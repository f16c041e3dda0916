#pragma once

#include <QDialog>
#include <QImage>
#include <array>

#include "chart_drawing.h"
#include "report_inputs.h"

class QCheckBox;
class QFrame;

// KalmetWyk, the chart window: five check boxes that switch the series and serve as
// the legend, and Picture1 with its retained image, drawn by Wykres on activation and
// on every click of a box. Laid out in twips; nothing is
// stored, and every opening starts with all five boxes checked.
class KalmetWyk : public QDialog {
    Q_OBJECT

public:
    explicit KalmetWyk(const ReportInputs& inputs, QWidget* parent = nullptr);

    void Wykres();
    int drawCount() const { return drawCount_; }
    const QImage& picture() const { return image_; }
    ChartDrawing drawing() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    ReportInputs inputs_;
    QWidget* picture_ = nullptr;
    QFrame* shape1_ = nullptr;
    QFrame* shape2_ = nullptr;
    std::array<QCheckBox*, 5> boxes_{};
    QImage image_;
    int drawCount_ = 0;
};
