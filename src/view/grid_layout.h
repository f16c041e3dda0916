#pragma once

#include <QString>
#include <QVector>

// The data grid as the statistics lay it out: row 0 is the header; per appraiser
// block the series rows, "Średnia", "Rozstęp" and a thin separator row; last the
// "Średnia dla części" row. The main window and the report only render this.
struct GridLayout {
    static constexpr int kDefaultRowHeight = 240;   // twips
    static constexpr int kSeparatorRowHeight = 60;  // twips

    int rows = 0;
    int columns = 0;
    QVector<QString> cells;     // rows x columns, row-major
    QVector<bool> fixed;        // cell carries the fixed-cell (summary) colour
    QVector<bool> white;        // cell is painted white over the fixed colour
    QVector<bool> flagged;      // cell text in red: a range out of statistical control
    QVector<int> columnWidths;  // twips
    QVector<int> rowHeights;    // twips
    QVector<bool> mergeableColumns;
    QVector<bool> mergeableRows;
    int leftAlignedColumn = 1;

    void resize(int rowCount, int columnCount);
    // Adds empty rows at the end when a walk needs more than were planned.
    void ensureRows(int rowCount);

    QString text(int row, int column) const { return cells.value(index(row, column)); }
    bool isFixed(int row, int column) const { return fixed.value(index(row, column)); }
    bool isWhite(int row, int column) const { return white.value(index(row, column)); }
    bool isFlagged(int row, int column) const { return flagged.value(index(row, column)); }
    void setText(int row, int column, const QString& text) { cells[index(row, column)] = text; }
    void setFixed(int row, int column, bool on) { fixed[index(row, column)] = on; }
    void setWhite(int row, int column) { white[index(row, column)] = true; }
    void setFlagged(int row, int column) {
        if (contains(row, column)) {
            flagged[index(row, column)] = true;
        }
    }
    bool contains(int row, int column) const {
        return row >= 0 && row < rows && column >= 0 && column < columns;
    }

private:
    int index(int row, int column) const {
        return contains(row, column) ? row * columns + column : -1;
    }
};
