#include "type1_results.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "figure_cells.h"
#include "page_chart_view.h"
#include "type1_page.h"

Type1Results::Type1Results(QWidget* parent)
    : QWidget(parent),
      table_(FigureCells::table("WynikiTyp1",
                                {QString::fromUtf8("Wielkość"), QString::fromUtf8("Wartość")})),
      notes_(FigureCells::note("UwagiTyp1")),
      refusal_(FigureCells::refusal("PowodTyp1")),
      charts_(new PageChartView(Type1Page::kChartsTop, Type1Page::kChartsBottom,
                                [](const ReportInputs& in, double zoom, Surface& s) {
                                    if (in.type1) {
                                        Type1Page(in, zoom).drawCharts(s);
                                    }
                                })) {
    setObjectName(QStringLiteral("StronaTyp1"));
    charts_->setObjectName(QStringLiteral("WykresyTyp1"));
    table_->setMinimumWidth(380);
    auto* left = new QVBoxLayout;
    left->addWidget(refusal_);
    left->addWidget(table_, 1);
    left->addWidget(notes_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 2);
    layout->addWidget(charts_, 3);
    clear();
}

void Type1Results::clear() {
    table_->setRowCount(0);
    notes_->clear();
    refusal_->hide();
    charts_->setInputs(std::nullopt);
}

void Type1Results::showStudy(const ReportInputs& inputs) {
    clear();
    if (!inputs.type1) {
        refusal_->setText(inputs.refusal);
        refusal_->show();
        return;
    }
    FigureCells::fill(*table_, inputs.type1Lines);
    notes_->setText(inputs.type1Notes.join(QLatin1Char('\n')));
    charts_->setInputs(inputs);
}
