#include "rr_study.h"

#include <cmath>

#include "binary_noise.h"
#include "number_pattern.h"
#include "number_reader.h"

namespace {

using Number = std::optional<double>;

constexpr int kMaxCount = CrossedDesign::kCountedAtMost;
constexpr int kStoredBlocks = 3;

double zero(Number n) {
    return n.value_or(0.0);
}

Number finiteOrEmpty(double v) {
    return std::isfinite(v) ? Number(v) : std::nullopt;
}

Value zeroOrEmpty(Number v) {
    return v ? Value(*v) : Value();
}

class StudyRun {
public:
    StudyRun(const Study& in, const CrossedDesign& design, const FactorTables& factors,
             const RegionalSettings& rs)
        : in_(in),
          design_(design),
          factors_(factors),
          rs_(rs),
          pattern_(in.numberPattern),
          n_(CrossedDesign::partCount(in.parts)),
          r_(CrossedDesign::boundedCount(in.trials, kMaxCount)),
          shown_(in.shown && in.shown->serves(rs) ? in.shown : &ownShown_.emplace(rs)) {}

    StudyOutput run() {
        out_.seriesCount = static_cast<int>(design_.series().size());
        walkBlocks();
        out_.complete =
            static_cast<double>(out_.seriesCount) == in_.appraisers.number() * in_.trials.number();
        if (out_.complete && out_.seriesCount > 0) {
            computeResults();
        }
        return out_;
    }

private:
    // A stored value as the grid shows it, read back: a number through the pattern, a
    // stored text read as a number in the locale.
    Number displayed(const Value& v) const {
        if (v.isEmpty()) {
            return std::nullopt;
        }
        if (v.isNumber()) {
            return shown_->readBack(v.number(), in_.numberPattern);
        }
        return readLocaleNumber(v.format(pattern_, rs_), rs_);
    }

    void readSeries(const SeriesRow& s) {
        QVector<Number> values(n_);
        for (int j = 0; j < n_; ++j) {
            values[j] = displayed(s.parts.value(j));
        }
        out_.displayed << values;
        displayedAverages_ << displayed(s.average);
    }

    // The statistics of one complete block, whose last series is `last`.
    void closeBlock(int last, int block) {
        BlockFigures figures;
        figures.lastSeries = last;
        figures.averages.resize(n_);
        figures.ranges.resize(n_);
        const auto& shown = out_.displayed;
        for (int j = 0; j < n_; ++j) {
            double sum = 0;
            bool numeric = true;
            Value highest(zeroOrEmpty(shown[last][j]));
            Value lowest = highest;
            for (int t = last - r_ + 1; t <= last; ++t) {
                const Number v = shown[t][j];
                numeric = numeric && v.has_value();
                sum += zero(v);
                highest = Wieksza(highest, zeroOrEmpty(v));
                lowest = Mniejsza(lowest, zeroOrEmpty(v));
            }
            figures.averages[j] = numeric && r_ > 0 ? finiteOrEmpty(sum / r_) : std::nullopt;
            figures.ranges[j] = finiteOrEmpty(highest.number() - lowest.number());
        }
        figures.appraiserAverage = meanOf(figures.averages);
        figures.appraiserRange = meanOf(figures.ranges);
        if (block <= kStoredBlocks) {
            out_.results.appraiserAverages[block - 1] = figures.appraiserAverage;
            out_.results.appraiserRanges[block - 1] = figures.appraiserRange;
        }
        out_.blocks << figures;
    }

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
        for (const AppraiserRun& run : design_.runs()) {
            for (int i = run.first; i < run.first + run.count; ++i) {
                readSeries(design_.series()[i]);
            }
            ++blocks_;
            if (run.count == r_) {
                closeBlock(run.first + run.count - 1, blocks_);
            }
        }
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
            column.reserve(out_.displayed.size());
            for (const auto& series : out_.displayed) {
                column << series[j];
            }
            res.partAverages[j] = averageOver(column);
        }
        res.grandAverage = averageOver(displayedAverages_);
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
        const std::optional<Value> k2 =
            factors_.k2(in_.level, CrossedDesign::boundedCount(in_.appraisers, 1000));
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
        const std::optional<int> mode = Study::referenceModeOf(in_.referenceMode);
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
        res.EV = times(res.meanRange,
                       factors_.k1(in_.level, CrossedDesign::boundedCount(in_.trials, 1000)));
        res.AV = reproducibility(res);
        res.RR = hypotenuse(res.EV, res.AV);
        res.PV =
            times(res.Rp, factors_.k3(in_.level, CrossedDesign::boundedCount(in_.parts, 1000)));
        res.TV = hypotenuse(res.RR, res.PV);
        res.resolution = distinctCategories(res.PV, res.RR);
        res.REF = referenceLevel(res);
        res.percentEV = percentOf(res.EV, res.REF);
        res.percentAV = percentOf(res.AV, res.REF);
        res.percentRR = percentOf(res.RR, res.REF);
        out_.resolutionVerdict = judgeResolution(res.resolution, in_.IK1, in_.IK2);
        out_.rrVerdict = judgeRR(res.percentRR, in_.POK, in_.PSR);
    }

    const Study& in_;
    const CrossedDesign& design_;
    const FactorTables& factors_;
    const RegionalSettings& rs_;
    const NumberPattern pattern_;
    const int n_;
    const int r_;
    // The texts of shown numbers: the session's, else this computation's own.
    std::optional<ShownNumbers> ownShown_;
    ShownNumbers* const shown_;

    StudyOutput out_;
    int blocks_ = 0;
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

StudyOutput computeStudy(const Study& study, const CrossedDesign& design,
                         const FactorTables& factors, const RegionalSettings& regional) {
    return StudyRun(study, design, factors, regional).run();
}

StudyOutput computeStudy(const Study& study, const FactorTables& factors,
                         const RegionalSettings& regional) {
    return computeStudy(study, CrossedDesign(study), factors, regional);
}
