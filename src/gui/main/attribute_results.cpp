#include "attribute_results.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include "verdict_colour.h"

namespace {

QLabel* plainLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// One table of the study, as tall as its rows.
QWidget* tableOf(const AttributeTexts::Table& t) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(t.title);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* table =
        new QTableWidget(static_cast<int>(t.rows.size()), static_cast<int>(t.headings.size()));
    table->setHorizontalHeaderLabels(t.headings);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int r = 0; r < t.rows.size(); ++r) {
        for (int c = 0; c < t.rows[r].size(); ++c) {
            auto* cell = new QTableWidgetItem(t.rows[r][c]);
            cell->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            const Verdict v = t.verdicts.value(r).value(c, Verdict::None);
            if (v != Verdict::None) {
                cell->setBackground(verdictColour(v));
            }
            table->setItem(r, c, cell);
        }
    }
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) {
        height += table->rowHeight(r);
    }
    table->setFixedHeight(height);
    layout->addWidget(title);
    layout->addWidget(table);
    return box;
}

}  // namespace

AttributeResults::AttributeResults(QWidget* parent)
    : QWidget(parent),
      tables_(new QVBoxLayout),
      notes_(plainLabel("UwagiZgodnosci")),
      refusal_(plainLabel("PowodZgodnosci")) {
    setObjectName(QStringLiteral("StronaZgodnosci"));
    refusal_->setStyleSheet(QStringLiteral("color: red"));
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
