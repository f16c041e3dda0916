#include "linearity_results.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "linearity_page.h"
#include "page_chart_view.h"
#include "verdict_colour.h"

namespace {

QTableWidget* table(const char* name, const QStringList& headings) {
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()));
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QLabel* plainLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QTableWidgetItem* item(const QString& text, Verdict verdict = Verdict::None) {
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (verdict != Verdict::None) {
        cell->setBackground(verdictColour(verdict));
        QFont bold = cell->font();
        bold.setBold(true);
        cell->setFont(bold);
    }
    return cell;
}

}  // namespace

LinearityResults::LinearityResults(QWidget* parent)
    : QWidget(parent),
      figures_(
          table("WynikiLiniowosci", {QString::fromUtf8("Wielkość"), QString::fromUtf8("Wartość")})),
      parts_(table("CzesciLiniowosci", LinearityTexts::partHeadings())),
      verdict_(plainLabel("OcenaLiniowosci")),
      notes_(plainLabel("UwagiLiniowosci")),
      refusal_(plainLabel("PowodLiniowosci")),
      plot_(new PageChartView(LinearityPage::kPlotTop, LinearityPage::kPlotBottom,
                              [](const ReportInputs& in, double zoom, Surface& s) {
                                  if (in.linearity) {
                                      LinearityPage(in, zoom).drawPlot(s);
                                  }
                              })) {
    setObjectName(QStringLiteral("StronaLiniowosci"));
    plot_->setObjectName(QStringLiteral("WykresLiniowosci"));
    figures_->setMinimumWidth(360);
    refusal_->setStyleSheet(QStringLiteral("color: red"));
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
        refusal_->setText(inputs.refusal.isEmpty()
                              ? QString::fromUtf8("Analiza nie ma jeszcze odczytów: wprowadź je "
                                                  "(Dane → Wprowadź serię danych).")
                              : inputs.refusal);
        refusal_->show();
        return;
    }
    figures_->setRowCount(static_cast<int>(inputs.linearityLines.size()));
    for (int row = 0; row < inputs.linearityLines.size(); ++row) {
        const FigureLine& line = inputs.linearityLines[row];
        figures_->setItem(row, 0, new QTableWidgetItem(line.caption));
        figures_->setItem(row, 1, item(line.value, line.verdict));
    }
    parts_->setRowCount(static_cast<int>(inputs.linearityParts.size()));
    for (int row = 0; row < inputs.linearityParts.size(); ++row) {
        for (int c = 0; c < inputs.linearityParts[row].size(); ++c) {
            parts_->setItem(row, c, item(inputs.linearityParts[row][c]));
        }
    }
    figures_->resizeRowsToContents();
    parts_->resizeRowsToContents();
    // The parts' table as tall as its rows (up to eight), the figures take the rest.
    const int shown = std::min(8, parts_->rowCount());
    int height = parts_->horizontalHeader()->sizeHint().height() + 2 * parts_->frameWidth();
    for (int row = 0; row < shown; ++row) {
        height += parts_->rowHeight(row);
    }
    parts_->setFixedHeight(height);
    verdict_->setText(inputs.linearityVerdict);
    notes_->setText(inputs.linearityNotes.join(QLatin1Char('\n')));
    plot_->setInputs(inputs);
}
