#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "report_inputs.h"

class Surface;

// A part of a study's report page (its charts) drawn as the page draws it, scaled to the
// widget: the page twips from `top` to `bottom`, the page's whole width.
class PageChartView : public QWidget {
    Q_OBJECT

public:
    using Draw = std::function<void(const ReportInputs& inputs, double zoom, Surface& surface)>;

    PageChartView(double top, double bottom, Draw draw, QWidget* parent = nullptr);
    void setInputs(const std::optional<ReportInputs>& inputs);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double top_;
    double bottom_;
    Draw draw_;
    std::optional<ReportInputs> inputs_;
};
