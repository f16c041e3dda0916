#include "linearity_results.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "figure_cells.h"
#include "linearity_page.h"
#include "page_chart_view.h"

LinearityResults::LinearityResults(QWidget* parent)
    : QWidget(parent),
      figures_(FigureCells::table("WynikiLiniowosci",
                                  {QString::fromUtf8("Wielkość"), QString::fromUtf8("Wartość")})),
      parts_(FigureCells::table("CzesciLiniowosci", LinearityTexts::partHeadings())),
      verdict_(FigureCells::note("OcenaLiniowosci")),
      notes_(FigureCells::note("UwagiLiniowosci")),
      refusal_(FigureCells::refusal("PowodLiniowosci")),
      plot_(new PageChartView(LinearityPage::kPlotTop, LinearityPage::kPlotBottom,
                              [](const ReportInputs& in, double zoom, Surface& s) {
                                  if (in.linearity) {
                                      LinearityPage(in, zoom).drawPlot(s);
                                  }
                              })) {
    setObjectName(QStringLiteral("StronaLiniowosci"));
    plot_->setObjectName(QStringLiteral("WykresLiniowosci"));
    figures_->setMinimumWidth(360);
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);
    auto* left = new QVBoxLayout;
    left->addWidget(refusal_);
    left->addWidget(figures_, 1);
    left->addWidget(verdict_);
    left->addWidget(parts_);
    left->addWidget(notes_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addWidget(plot_, 1);
    clear();
}

void LinearityResults::clear() {
    figures_->setRowCount(0);
    parts_->setRowCount(0);
    verdict_->clear();
    notes_->clear();
    refusal_->hide();
    plot_->setInputs(std::nullopt);
}

void LinearityResults::showStudy(const ReportInputs& inputs) {
    clear();
    if (!inputs.linearity) {
        refusal_->setText(inputs.refusal);
        refusal_->show();
        return;
    }
    FigureCells::fill(*figures_, inputs.linearityLines);
    parts_->setRowCount(static_cast<int>(inputs.linearityParts.size()));
    for (int row = 0; row < inputs.linearityParts.size(); ++row) {
        for (int c = 0; c < inputs.linearityParts[row].size(); ++c) {
            parts_->setItem(row, c, FigureCells::figure(inputs.linearityParts[row][c]));
        }
    }
    parts_->resizeRowsToContents();
    FigureCells::fitHeight(*parts_, 8);  // up to eight parts shown; the figures take the rest
    verdict_->setText(inputs.linearityVerdict);
    notes_->setText(inputs.linearityNotes.join(QLatin1Char('\n')));
    plot_->setInputs(inputs);
}
