#include "rr_study.h"

#include <cmath>

#include "binary_noise.h"
#include "measured_values.h"
#include "number_pattern.h"
#include "number_reader.h"

namespace {

using Number = std::optional<double>;

constexpr int kMaxCount = 10;  // appraisers and trials beyond any real study
constexpr int kStoredBlocks = 3;

double zero(Number n) {
    return n.value_or(0.0);
}

Number finiteOrEmpty(double v) {
    return std::isfinite(v) ? Number(v) : std::nullopt;
}

int boundedCount(const Value& v, int limit) {
    const double n = v.number();
    return n < 0 ? 0 : (n > limit ? limit : static_cast<int>(n));
}

// A value as the grid shows it, and the number read back from that text.
struct Displayed {
    QString text;
    Number value;
};

class StudyRun {
public:
    StudyRun(const StudyInput& in, const FactorTables& factors, const RegionalSettings& rs,
             StudyTexts texts)
        : in_(in),
          factors_(factors),
          rs_(rs),
          pattern_(in.numberPattern),
          n_(StudyInput::partCount(in.parts)),
          k_(boundedCount(in.appraisers, kMaxCount)),
          r_(boundedCount(in.trials, kMaxCount)),
          texts_(texts == StudyTexts::Grid),
          shown_(in.shown && in.shown->serves(rs) ? in.shown : &ownShown_.emplace(rs)) {}

    StudyOutput run() {
        out_.seriesCount = static_cast<int>(in_.series.size());
        layOutHeader();
        walkBlocks();
        out_.complete =
            static_cast<double>(out_.seriesCount) == in_.appraisers.number() * in_.trials.number();
        out_.displayed = displayed_;
        if (out_.complete && out_.seriesCount > 0) {
            computeResults();
        }
        return out_;
    }

private:
    Displayed display(const Value& v) const {
        if (v.isEmpty()) {
            return {};
        }
        if (v.isNumber() && !texts_) {
            return {QString(), shown_->readBack(v.number(), in_.numberPattern)};
        }
        if (v.isNumber()) {
            const ShownNumbers::Shown& s = shown_->textAndReadBack(v.number(), in_.numberPattern);
            return {s.text, s.readBack};
        }
        const QString text = v.format(pattern_, rs_);  // a stored text that may hold a number
        return {text, readLocaleNumber(text, rs_)};
    }

    QString show(Number v) const { return v ? shown_->text(*v, in_.numberPattern) : QString(); }

    int averageColumn() const { return n_ + 3; }
    int gapColumn() const { return n_ + 2; }

    void layOutHeader() {
        if (!texts_) {
            return;
        }
        GridLayout& g = out_.grid;
        g.resize(k_ * (r_ + 3) + 2, n_ + 4);
        g.setText(0, 0, QStringLiteral("Lp"));
        g.setText(0, 1, QString::fromUtf8("Oceniający"));
        g.columnWidths[0] = 350;
        g.columnWidths[1] = 1780;
        for (int j = 1; j <= n_; ++j) {
            g.setText(0, j + 1, QStringLiteral("X%1").arg(j));
            g.columnWidths[j + 1] = 660;
        }
        g.columnWidths[gapColumn()] = 60;
        g.setText(0, averageColumn(), QStringLiteral("X"));
        g.columnWidths[averageColumn()] = 660;
        g.mergeableColumns[1] = true;
        g.mergeableColumns[gapColumn()] = true;
    }

    void writeSeriesRow(int index) {
        const SeriesInput& s = in_.series[index];
        GridLayout* const g = texts_ ? &out_.grid : nullptr;
        if (g) {
            g->ensureRows(row_ + 1);
            g->setText(row_, 0, QString::number(index + 1));
            g->setText(row_, 1, s.appraiser.toText(rs_));
            g->setText(row_, gapColumn(), QStringLiteral(" "));
        }
        QVector<Number> values(n_);
        for (int j = 0; j < n_; ++j) {
            const Displayed d = display(s.parts.value(j));
            if (g) {
                g->setText(row_, j + 2, d.text);
            }
            values[j] = d.value;
        }
        const Displayed average = display(s.average);
        if (g) {
            g->setText(row_, averageColumn(), average.text);
        }
        displayed_ << values;
        displayedAverages_ << average.value;
        ++row_;
    }

    void writeSummaryRow(const QString& caption, const QVector<Number>& values, Number last) {
        if (!texts_) {
            ++row_;
            return;
        }
        GridLayout& g = out_.grid;
        g.ensureRows(row_ + 1);
        g.setText(row_, 1, caption);
        for (int j = 0; j < n_; ++j) {
            g.setText(row_, j + 2, show(values[j]));
        }
        g.setText(row_, gapColumn(), QStringLiteral(" "));
        g.setText(row_, averageColumn(), show(last));
        for (int c = 1; c <= averageColumn(); ++c) {
            g.setFixed(row_, c, true);
        }
        ++row_;
    }

    void writeSeparatorRow() {
        if (!texts_) {
            ++row_;
            return;
        }
        GridLayout& g = out_.grid;
        g.ensureRows(row_ + 1);
        for (int c = 1; c < g.columns; ++c) {
            g.setText(row_, c, QStringLiteral(" "));
        }
        g.rowHeights[row_] = GridLayout::kSeparatorRowHeight;
        g.mergeableRows[row_] = true;
        ++row_;
    }

    // The statistics of one complete block, whose last series is `last`.
    void closeBlock(int last, int block) {
        QVector<Number> averages(n_);
        QVector<Number> ranges(n_);
        for (int j = 0; j < n_; ++j) {
            double sum = 0;
            bool numeric = true;
            Value highest(zeroOrEmpty(displayed_[last][j]));
            Value lowest = highest;
            for (int t = last - r_ + 1; t <= last; ++t) {
                const Number v = displayed_[t][j];
                numeric = numeric && v.has_value();
                sum += zero(v);
                highest = Wieksza(highest, zeroOrEmpty(v));
                lowest = Mniejsza(lowest, zeroOrEmpty(v));
            }
            averages[j] = numeric && r_ > 0 ? finiteOrEmpty(sum / r_) : std::nullopt;
            ranges[j] = finiteOrEmpty(highest.number() - lowest.number());
        }
        const Number appraiserAverage = meanOf(averages);
        const Number appraiserRange = meanOf(ranges);
        if (block <= kStoredBlocks) {
            out_.results.appraiserAverages[block - 1] = appraiserAverage;
            out_.results.appraiserRanges[block - 1] = appraiserRange;
        }
        writeSummaryRow(QString::fromUtf8("Średnia"), averages, appraiserAverage);
        out_.rangeRows << row_;
        writeSummaryRow(QString::fromUtf8("Rozstęp"), ranges, appraiserRange);
        writeSeparatorRow();
    }

    static Value zeroOrEmpty(Number v) { return v ? Value(*v) : Value(); }

    Number meanOf(const QVector<Number>& values) const {
        if (n_ == 0) {
            return std::nullopt;
        }
        double sum = 0;
        for (const Number& v : values) {
            sum += zero(v);
        }
        return finiteOrEmpty(sum / n_);
    }

    // Appraiser blocks are maximal runs of equal Operator values; the block counter
    // counts incomplete blocks too, but only blocks of exactly R series get statistics.
    void walkBlocks() {
        for (const AppraiserRun& run : appraiserRuns(in_.series)) {
            for (int i = run.first; i < run.first + run.count; ++i) {
                writeSeriesRow(i);
            }
            ++blocks_;
            if (run.count == r_) {
                closeBlock(run.first + run.count - 1, blocks_);
            }
        }
    }

    void writeLastRow() {
        if (!texts_) {
            return;
        }
        GridLayout& g = out_.grid;
        g.ensureRows(row_ + 1);
        g.setText(row_, 1, QString::fromUtf8("Średnia dla części"));
        for (int j = 0; j < n_; ++j) {
            g.setText(row_, j + 2, show(out_.results.partAverages[j]));
        }
        g.setText(row_, averageColumn(), show(out_.results.grandAverage));
        for (int c = 1; c <= averageColumn(); ++c) {
            g.setFixed(row_, c, true);
        }
        g.setWhite(row_, averageColumn());
    }

    Number averageOver(const QVector<Number>& values) const {
        const double divisor = in_.appraisers.number() * in_.trials.number();
        double sum = 0;
        for (const Number& v : values) {
            if (!v) {
                return std::nullopt;
            }
            sum += *v;
        }
        return divisor == 0 ? std::nullopt : finiteOrEmpty(sum / divisor);
    }

    void computeAverages() {
        RRResults& res = out_.results;
        res.partAverages = QVector<Number>(n_);
        for (int j = 0; j < n_; ++j) {
            QVector<Number> column;
            column.reserve(displayed_.size());
            for (const auto& series : displayed_) {
                column << series[j];
            }
            res.partAverages[j] = averageOver(column);
        }
        res.grandAverage = averageOver(displayedAverages_);
        writeLastRow();
    }

    // The range of the part averages, the grand average taking part in the extremes.
    Number partRange() const {
        const RRResults& res = out_.results;
        if (n_ == 0) {
            return std::nullopt;
        }
        Value highest = zeroOrEmpty(res.partAverages[0]);
        Value lowest = highest;
        for (int j = 0; j < n_; ++j) {
            highest = Wieksza(highest, zeroOrEmpty(res.partAverages[j]));
            lowest = Mniejsza(lowest, zeroOrEmpty(res.partAverages[j]));
        }
        highest = Wieksza(highest, zeroOrEmpty(res.grandAverage));
        lowest = Mniejsza(lowest, zeroOrEmpty(res.grandAverage));
        return finiteOrEmpty(highest.number() - lowest.number());
    }

    // Only three appraisers' figures are kept; a fourth block has nowhere to go.
    bool blocksStored() const { return blocks_ >= 1 && blocks_ <= kStoredBlocks; }

    Number meanRange() const {
        if (!blocksStored()) {
            return std::nullopt;
        }
        double sum = 0;
        for (int b = 0; b < blocks_; ++b) {
            sum += zero(out_.results.appraiserRanges[b]);
        }
        return finiteOrEmpty(sum / blocks_);
    }

    Number averagesDifference() const {
        if (!blocksStored()) {
            return std::nullopt;
        }
        Value highest = zeroOrEmpty(out_.results.appraiserAverages[0]);
        Value lowest = highest;
        for (int b = 0; b < blocks_; ++b) {
            highest = Wieksza(highest, zeroOrEmpty(out_.results.appraiserAverages[b]));
            lowest = Mniejsza(lowest, zeroOrEmpty(out_.results.appraiserAverages[b]));
        }
        return finiteOrEmpty(highest.number() - lowest.number());
    }

    static Number times(Number a, const std::optional<Value>& factor) {
        return factor ? finiteOrEmpty(zero(a) * factor->number()) : std::nullopt;
    }

    Number reproducibility(const RRResults& res) const {
        const std::optional<Value> k2 = factors_.k2(in_.level, boundedCount(in_.appraisers, 1000));
        const double nr = in_.parts.number() * in_.trials.number();
        if (!k2 || nr == 0) {
            return std::nullopt;
        }
        const double between = zero(res.Xdif) * k2->number();
        // A negative difference gives the root of its magnitude, not zero.
        return finiteOrEmpty(
            std::sqrt(std::fabs(between * between - zero(res.EV) * zero(res.EV) / nr)));
    }

    static Number hypotenuse(Number a, Number b) {
        return finiteOrEmpty(std::sqrt(zero(a) * zero(a) + zero(b) * zero(b)));
    }

    Number referenceLevel(const RRResults& res) const {
        const std::optional<int> mode = StudyInput::referenceModeOf(in_.referenceMode);
        const double tolerance = in_.GWG.number() - in_.DWG.number();
        if (mode == 0 || mode == 1) {
            const double spread = 6 * in_.WN.number();
            return spread == 0 ? std::nullopt : finiteOrEmpty(tolerance / spread);
        }
        if (mode == 2) {
            return in_.WN.isEmpty() ? std::nullopt : finiteOrEmpty(in_.WN.number());
        }
        if (mode == 3) {
            return res.TV;
        }
        if (mode == 4) {
            return finiteOrEmpty(tolerance * in_.FRTol.number() / 100);
        }
        return std::nullopt;
    }

    static Number percentOf(Number part, Number whole) {
        return zero(whole) == 0 ? std::nullopt : finiteOrEmpty(100 * zero(part) / zero(whole));
    }

    void computeResults() {
        computeAverages();
        RRResults& res = out_.results;
        res.Rp = partRange();
        res.meanRange = meanRange();
        res.Xdif = averagesDifference();
        res.EV = times(res.meanRange, factors_.k1(in_.level, boundedCount(in_.trials, 1000)));
        res.AV = reproducibility(res);
        res.RR = hypotenuse(res.EV, res.AV);
        res.PV = times(res.Rp, factors_.k3(in_.level, boundedCount(in_.parts, 1000)));
        res.TV = hypotenuse(res.RR, res.PV);
        res.resolution = distinctCategories(res.PV, res.RR);
        res.REF = referenceLevel(res);
        res.percentEV = percentOf(res.EV, res.REF);
        res.percentAV = percentOf(res.AV, res.REF);
        res.percentRR = percentOf(res.RR, res.REF);
        out_.resolutionVerdict = judgeResolution(res.resolution, in_.IK1, in_.IK2);
        out_.rrVerdict = judgeRR(res.percentRR, in_.POK, in_.PSR);
    }

    const StudyInput& in_;
    const FactorTables& factors_;
    const RegionalSettings& rs_;
    const NumberPattern pattern_;
    const int n_;
    const int k_;
    const int r_;
    const bool texts_;
    // The texts of shown numbers: the session's, else this computation's own.
    std::optional<ShownNumbers> ownShown_;
    ShownNumbers* const shown_;

    StudyOutput out_;
    int row_ = 1;
    int blocks_ = 0;
    QVector<QVector<Number>> displayed_;
    QVector<Number> displayedAverages_;
};

}  // namespace

std::optional<double> distinctCategories(std::optional<double> PV, std::optional<double> RR) {
    if (zero(RR) == 0) {
        return std::nullopt;
    }
    const Number ratio = finiteOrEmpty(1.41 * zero(PV) / zero(RR));
    return ratio ? finiteOrEmpty(BinaryNoise::wholePart(*ratio)) : std::nullopt;
}

StudyOutput computeStudy(const StudyInput& input, const FactorTables& factors,
                         const RegionalSettings& regional, StudyTexts texts) {
    return StudyRun(input, factors, regional, texts).run();
}
