#pragma once

#include <QWidget>
#include <optional>

#include "report_inputs.h"

// The run chart and the histogram of a type-1 study, drawn as its report page draws them,
// scaled to the widget.
class Type1ChartView : public QWidget {
    Q_OBJECT

public:
    explicit Type1ChartView(QWidget* parent = nullptr);
    void setInputs(const std::optional<ReportInputs>& inputs);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<ReportInputs> inputs_;
};
