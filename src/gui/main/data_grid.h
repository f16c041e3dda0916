#pragma once

#include <QTableWidget>

#include "grid_layout.h"

// Grid1: the data grid. It renders a laid-out study (header row, series rows, summary
// rows in the fixed-cell colour, thin separator rows, the white grand-average cell)
// and lets others read back what it shows: rows, cell texts and the fixed-colour flag.
class DataGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit DataGrid(QWidget* parent = nullptr);

    void showLayout(const GridLayout& layout);
    // Back to one empty row (the state before a fill).
    void clearToOneRow();

    int rows() const { return layout_.rows; }
    int columns() const { return layout_.columns; }
    QString cellText(int row, int column) const { return layout_.text(row, column); }
    bool isFixedColour(int row, int column) const { return layout_.isFixed(row, column); }
    // A range out of statistical control, in red text.
    bool isFlagged(int row, int column) const { return layout_.isFlagged(row, column); }
    int rowHeightTwips(int row) const { return layout_.rowHeights.value(row); }
    QColor fixedColour() const;

private:
    void applyMerges();
    void fitColumns();
    bool holdsNumbers(int column) const;
    int pixels(int twips) const;

    GridLayout layout_;
};
