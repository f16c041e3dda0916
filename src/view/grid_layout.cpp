#include "grid_layout.h"

void GridLayout::resize(int rowCount, int columnCount) {
    rows = rowCount;
    columns = columnCount;
    const int size = rows * columns;
    cells = QVector<QString>(size);
    fixed = QVector<bool>(size, false);
    white = QVector<bool>(size, false);
    flagged = QVector<bool>(size, false);
    columnWidths = QVector<int>(columns, 0);
    rowHeights = QVector<int>(rows, kDefaultRowHeight);
    mergeableColumns = QVector<bool>(columns, false);
    mergeableRows = QVector<bool>(rows, false);
}

void GridLayout::ensureRows(int rowCount) {
    if (rowCount <= rows) {
        return;
    }
    const int added = (rowCount - rows) * columns;
    cells.resize(cells.size() + added);
    fixed.resize(fixed.size() + added);
    white.resize(white.size() + added);
    flagged.resize(flagged.size() + added);
    rowHeights.resize(rowCount);
    mergeableRows.resize(rowCount);
    for (int r = rows; r < rowCount; ++r) {
        rowHeights[r] = kDefaultRowHeight;
    }
    rows = rowCount;
}
