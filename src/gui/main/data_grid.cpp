#include "data_grid.h"

#include <QHeaderView>

#include "twips.h"

DataGrid::DataGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // The value columns are 660 twips wide, as in the delivered layout; a compact font and
    // no eliding keep "11,998" whole in them.
    QFont compact = font();
    compact.setPointSizeF(8);
    setFont(compact);
    setTextElideMode(Qt::ElideNone);
    setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 1px; }"));
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    clearToOneRow();
}

QColor DataGrid::fixedColour() const {
    return QColor(0xD4, 0xD0, 0xC8);
}

int DataGrid::pixels(int twips) const {
    return Twips::toPixels(twips, logicalDpiY());
}

void DataGrid::clearToOneRow() {
    clearSpans();
    clear();
    setRowCount(1);
    layout_ = GridLayout();
    layout_.resize(1, 0);
}

void DataGrid::showLayout(const GridLayout& layout) {
    clearToOneRow();
    layout_ = layout;
    setColumnCount(layout.columns);
    setRowCount(layout.rows);
    for (int r = 0; r < layout.rows; ++r) {
        setRowHeight(r, pixels(layout.rowHeights.value(r)));
        for (int c = 0; c < layout.columns; ++c) {
            auto* item = new QTableWidgetItem(layout.text(r, c));
            const bool header = r == 0 || c == 0;
            if (header || layout.isFixed(r, c)) {
                item->setBackground(fixedColour());
            }
            if (layout.isWhite(r, c)) {
                item->setBackground(Qt::white);
            }
            if (layout.isFlagged(r, c)) {
                item->setForeground(QColor(255, 0, 0));
            }
            if (r == 0) {
                item->setTextAlignment(Qt::AlignCenter);
            } else if (c == layout.leftAlignedColumn) {
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            } else if (c == 0) {
                item->setTextAlignment(Qt::AlignCenter);
            } else {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            setItem(r, c, item);
        }
    }
    applyMerges();
    fitColumns();
}

// The twips widths are the least a column gets; a wider number widens its column, so
// no digit and no sign is ever cut off.
void DataGrid::fitColumns() {
    const int dpiX = logicalDpiX();
    for (int c = 0; c < layout_.columns; ++c) {
        const int designed = Twips::toPixels(layout_.columnWidths.value(c), dpiX);
        setColumnWidth(c, holdsNumbers(c) ? qMax(designed, sizeHintForColumn(c)) : designed);
    }
}

// The value columns; not the names, nor the blank separator column.
bool DataGrid::holdsNumbers(int column) const {
    if (column < 2 || column == layout_.leftAlignedColumn) {
        return false;
    }
    for (int r = 1; r < layout_.rows; ++r) {
        if (!layout_.text(r, column).trimmed().isEmpty()) {
            return true;
        }
    }
    return false;
}

// Equal neighbours in a mergeable column (the appraiser of a block's series) show as
// one cell; a mergeable row (the separator) shows as one thin band.
void DataGrid::applyMerges() {
    for (int r = 1; r < layout_.rows; ++r) {
        if (layout_.mergeableRows.value(r) && layout_.columns > 2) {
            setSpan(r, 1, 1, layout_.columns - 1);
        }
    }
    const int c = layout_.leftAlignedColumn;
    if (!layout_.mergeableColumns.value(c)) {
        return;
    }
    int start = 1;
    for (int r = 2; r <= layout_.rows; ++r) {
        const bool same = r < layout_.rows && !layout_.mergeableRows.value(r) &&
                          !layout_.text(r, c).trimmed().isEmpty() &&
                          layout_.text(r, c) == layout_.text(start, c) &&
                          layout_.isFixed(r, c) == layout_.isFixed(start, c);
        if (!same) {
            if (r - start > 1) {
                setSpan(start, c, r - start, 1);
            }
            start = r;
        }
    }
}
