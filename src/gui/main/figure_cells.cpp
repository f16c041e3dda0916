#include "figure_cells.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <algorithm>

#include "verdict_colour.h"

namespace FigureCells {

QTableWidgetItem* figure(const QString& text, Verdict verdict) {
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

QLabel* note(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* refusal(const char* name) {
    QLabel* label = note(name);
    label->setStyleSheet(QStringLiteral("color: red"));
    return label;
}

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

void fill(QTableWidget& table, const QVector<FigureLine>& lines) {
    table.setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        table.setItem(row, 0, new QTableWidgetItem(lines[row].caption));
        table.setItem(row, 1, figure(lines[row].value, lines[row].verdict));
    }
    table.resizeRowsToContents();
}

void fitHeight(QTableWidget& table, int rows) {
    const int shown = rows < 0 ? table.rowCount() : std::min(rows, table.rowCount());
    int height = table.horizontalHeader()->sizeHint().height() + 2 * table.frameWidth();
    for (int row = 0; row < shown; ++row) {
        height += table.rowHeight(row);
    }
    table.setFixedHeight(height);
}

}  // namespace FigureCells
