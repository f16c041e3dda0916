#include "attribute_results.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "figure_cells.h"

namespace {

// One table of the study, as tall as its rows; a judged cell in its verdict colour.
QWidget* tableOf(const AttributeTexts::Table& t) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(t.title);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    QTableWidget* table = FigureCells::table("", t.headings);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setRowCount(static_cast<int>(t.rows.size()));
    for (int r = 0; r < t.rows.size(); ++r) {
        for (int c = 0; c < t.rows[r].size(); ++c) {
            table->setItem(r, c, FigureCells::figure(t.rows[r][c], t.verdicts.value(r).value(c)));
        }
        table->item(r, 0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    table->resizeRowsToContents();
    FigureCells::fitHeight(*table);
    layout->addWidget(title);
    layout->addWidget(table);
    return box;
}

}  // namespace

AttributeResults::AttributeResults(QWidget* parent)
    : QWidget(parent),
      tables_(new QVBoxLayout),
      notes_(FigureCells::note("UwagiZgodnosci")),
      refusal_(FigureCells::refusal("PowodZgodnosci")) {
    setObjectName(QStringLiteral("StronaZgodnosci"));
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->addWidget(refusal_);
    column->addLayout(tables_);
    column->addWidget(notes_);
    column->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    clear();
}

void AttributeResults::clear() {
    while (QLayoutItem* item = tables_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    notes_->clear();
    refusal_->hide();
}

void AttributeResults::showStudy(const ReportInputs& inputs) {
    clear();
    if (!inputs.attribute) {
        refusal_->setText(inputs.refusal);
        refusal_->show();
        return;
    }
    for (const AttributeTexts::Table& t : inputs.attributeTables) {
        tables_->addWidget(tableOf(t));
    }
    notes_->setText(inputs.attributeNotes.join(QLatin1Char('\n')));
}
