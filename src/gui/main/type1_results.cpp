#include "type1_results.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "page_chart_view.h"
#include "type1_page.h"
#include "verdict_colour.h"

Type1Results::Type1Results(QWidget* parent)
    : QWidget(parent),
      table_(new QTableWidget(0, 2)),
      notes_(new QLabel),
      refusal_(new QLabel),
      charts_(new PageChartView(Type1Page::kChartsTop, Type1Page::kChartsBottom,
                                [](const ReportInputs& in, double zoom, Surface& s) {
                                    if (in.type1) {
                                        Type1Page(in, zoom).drawCharts(s);
                                    }
                                })) {
    setObjectName(QStringLiteral("StronaTyp1"));
    charts_->setObjectName(QStringLiteral("WykresyTyp1"));
    table_->setObjectName(QStringLiteral("WynikiTyp1"));
    table_->setHorizontalHeaderLabels(
        {QString::fromUtf8("Wielkość"), QString::fromUtf8("Wartość")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->setMinimumWidth(380);
    notes_->setObjectName(QStringLiteral("UwagiTyp1"));
    notes_->setWordWrap(true);
    notes_->setTextFormat(Qt::PlainText);
    refusal_->setObjectName(QStringLiteral("PowodTyp1"));
    refusal_->setWordWrap(true);
    refusal_->setTextFormat(Qt::PlainText);
    refusal_->setStyleSheet(QStringLiteral("color: red"));
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
        refusal_->setText(inputs.refusal.isEmpty()
                              ? QString::fromUtf8("Analiza nie ma jeszcze odczytów: wprowadź je "
                                                  "(Dane → Wprowadź serię danych).")
                              : inputs.refusal);
        refusal_->show();
        return;
    }
    fillTable(inputs.type1Lines);
    notes_->setText(inputs.type1Notes.join(QLatin1Char('\n')));
    charts_->setInputs(inputs);
}

void Type1Results::fillTable(const QVector<Type1Texts::Line>& lines) {
    table_->setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const Type1Texts::Line& line = lines[row];
        auto* caption = new QTableWidgetItem(line.caption);
        auto* value = new QTableWidgetItem(line.value);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (line.verdict != Verdict::None) {
            value->setBackground(verdictColour(line.verdict));
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
        }
        table_->setItem(row, 0, caption);
        table_->setItem(row, 1, value);
    }
    table_->resizeRowsToContents();
}
