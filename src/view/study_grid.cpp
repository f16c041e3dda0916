#include "study_grid.h"

#include <optional>

#include "number_pattern.h"

namespace {

using Number = std::optional<double>;

constexpr int kMaxCount = CrossedDesign::kCountedAtMost;

class GridWriter {
public:
    GridWriter(const Study& study, const CrossedDesign& design, const StudyOutput& output,
               const RegionalSettings& rs)
        : study_(study),
          design_(design),
          output_(output),
          rs_(rs),
          pattern_(study.numberPattern),
          n_(CrossedDesign::partCount(study.parts)),
          shown_(study.shown && study.shown->serves(rs) ? study.shown : &ownShown_.emplace(rs)) {}

    StudyGrid write() {
        layOutHeader(CrossedDesign::boundedCount(study_.appraisers, kMaxCount),
                     CrossedDesign::boundedCount(study_.trials, kMaxCount));
        int block = 0;
        for (int i = 0; i < design_.series().size(); ++i) {
            writeSeriesRow(i);
            if (block < output_.blocks.size() && output_.blocks[block].lastSeries == i) {
                writeBlockRows(output_.blocks[block++]);
            }
        }
        if (output_.complete && output_.seriesCount > 0) {
            writeLastRow();
        }
        return std::move(grid_);
    }

private:
    int averageColumn() const { return n_ + 3; }
    int gapColumn() const { return n_ + 2; }
    GridLayout& g() { return grid_.layout; }

    // A stored value as the grid shows it: a number through the pattern, a text as the
    // pattern shows a text.
    QString display(const Value& v) {
        if (v.isEmpty()) {
            return {};
        }
        if (v.isNumber()) {
            return shown_->textAndReadBack(v.number(), study_.numberPattern).text;
        }
        return v.format(pattern_, rs_);
    }

    QString show(Number v) const { return v ? shown_->text(*v, study_.numberPattern) : QString(); }

    void layOutHeader(int k, int r) {
        g().resize(k * (r + 3) + 2, n_ + 4);
        g().setText(0, 0, QStringLiteral("Lp"));
        g().setText(0, 1, QString::fromUtf8("Oceniający"));
        g().columnWidths[0] = 350;
        g().columnWidths[1] = 1780;
        for (int j = 1; j <= n_; ++j) {
            g().setText(0, j + 1, QStringLiteral("X%1").arg(j));
            g().columnWidths[j + 1] = 660;
        }
        g().columnWidths[gapColumn()] = 60;
        g().setText(0, averageColumn(), QStringLiteral("X"));
        g().columnWidths[averageColumn()] = 660;
        g().mergeableColumns[1] = true;
        g().mergeableColumns[gapColumn()] = true;
    }

    void writeSeriesRow(int index) {
        const SeriesRow& s = design_.series()[index];
        g().ensureRows(row_ + 1);
        g().setText(row_, 0, QString::number(index + 1));
        g().setText(row_, 1, s.appraiser.toText(rs_));
        g().setText(row_, gapColumn(), QStringLiteral(" "));
        for (int j = 0; j < n_; ++j) {
            g().setText(row_, j + 2, display(s.parts.value(j)));
        }
        g().setText(row_, averageColumn(), display(s.average));
        ++row_;
    }

    void writeSummaryRow(const QString& caption, const QVector<Number>& values, Number last) {
        g().ensureRows(row_ + 1);
        g().setText(row_, 1, caption);
        for (int j = 0; j < n_; ++j) {
            g().setText(row_, j + 2, show(values.value(j)));
        }
        g().setText(row_, gapColumn(), QStringLiteral(" "));
        g().setText(row_, averageColumn(), show(last));
        for (int c = 1; c <= averageColumn(); ++c) {
            g().setFixed(row_, c, true);
        }
        ++row_;
    }

    void writeSeparatorRow() {
        g().ensureRows(row_ + 1);
        for (int c = 1; c < g().columns; ++c) {
            g().setText(row_, c, QStringLiteral(" "));
        }
        g().rowHeights[row_] = GridLayout::kSeparatorRowHeight;
        g().mergeableRows[row_] = true;
        ++row_;
    }

    void writeBlockRows(const BlockFigures& block) {
        writeSummaryRow(QString::fromUtf8("Średnia"), block.averages, block.appraiserAverage);
        grid_.rangeRows << row_;
        writeSummaryRow(QString::fromUtf8("Rozstęp"), block.ranges, block.appraiserRange);
        writeSeparatorRow();
    }

    void writeLastRow() {
        const RRResults& res = output_.results;
        g().ensureRows(row_ + 1);
        g().setText(row_, 1, QString::fromUtf8("Średnia dla części"));
        for (int j = 0; j < n_; ++j) {
            g().setText(row_, j + 2, show(res.partAverages.value(j)));
        }
        g().setText(row_, averageColumn(), show(res.grandAverage));
        for (int c = 1; c <= averageColumn(); ++c) {
            g().setFixed(row_, c, true);
        }
        g().setWhite(row_, averageColumn());
    }

    const Study& study_;
    const CrossedDesign& design_;
    const StudyOutput& output_;
    const RegionalSettings& rs_;
    const NumberPattern pattern_;
    const int n_;
    std::optional<ShownNumbers> ownShown_;
    ShownNumbers* const shown_;

    StudyGrid grid_;
    int row_ = 1;
};

}  // namespace

StudyGrid StudyGrid::of(const Study& study, const CrossedDesign& design, const StudyOutput& output,
                        const RegionalSettings& regional) {
    return GridWriter(study, design, output, regional).write();
}
