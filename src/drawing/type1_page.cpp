#include "type1_page.h"

#include <algorithm>
#include <cmath>

#include "number_pattern.h"
#include "text_fitting.h"
#include "verdict_colour.h"

namespace {

constexpr double kLeft = 900;
constexpr double kRight = 8300;  // the lines' labels stand right of it
constexpr double kRunTop = 3450;
constexpr double kRunBottom = 7050;
constexpr double kHistogramTitle = 7300;
constexpr double kHistogramTop = 7750;
constexpr double kHistogramBottom = 10300;
constexpr double kFiguresTop = 10750;
constexpr double kFigureRow = 250;
constexpr double kColumnWidth = 5000;

const QColor kReadings(0, 0, 200);
const QColor kMaster(0, 128, 0);
const QColor kBand(200, 0, 0);
const QColor kBars(170, 200, 240);

}  // namespace

Type1Page::Type1Page(const ReportInputs& inputs, double zoom)
    : in_(inputs), page_(inputs, zoom), zoom_(zoom) {}

bool Type1Page::draw(Surface& s) const {
    page_.beginPage(s);
    page_.drawHeader(s, QString::fromUtf8("BADANIE PRZYRZĄDU - TYP 1"));
    if (!in_.type1) {
        return page_.drawRefusal(s, in_.refusal);
    }
    drawCharts(s);
    drawFigures(s);
    return !s.isPrinter() || s.endDocument();
}

void Type1Page::drawCharts(Surface& s) const {
    drawRunChart(s);
    drawHistogram(s);
}

Type1Page::Scale Type1Page::runScale() const {
    const Type1::Results& r = *in_.type1;
    const double half = r.k / 200 * r.tolerance;
    double low = std::min(r.reference - half, r.mean);
    double high = std::max(r.reference + half, r.mean);
    for (double v : in_.readings) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    const double margin = (high - low) * 0.05;
    return {low - margin, high + margin, kRunTop, kRunBottom};
}

void Type1Page::drawRunChart(Surface& s) const {
    const Type1::Results& r = *in_.type1;
    page_.setFont(s, 10, true);
    page_.DrP(5000, 3050, QString::fromUtf8("Przebieg odczytów"), 1, s);
    page_.line(s, kLeft, kRunTop, kLeft, kRunBottom);
    page_.line(s, kLeft, kRunBottom, kRight, kRunBottom);
    const NumberPattern pattern(in_.numberPattern);
    const double half = r.k / 200 * r.tolerance;
    const double halfK = r.k / 2;
    const QString k = NumberPattern(QString::fromLatin1(halfK == std::floor(halfK) ? "0" : "0.0#"))
                          .format(halfK, in_.regional);
    drawRunLine(s, r.reference + half, kBand, QString::fromUtf8("xm + %1 % T").arg(k), 0);
    drawRunLine(s, r.reference - half, kBand, QString::fromUtf8("xm − %1 % T").arg(k), 0);
    // The labels of the master and the mean stand apart: the higher one above its line.
    const bool meanAbove = r.mean >= r.reference;
    drawRunLine(s, r.reference, kMaster,
                QString::fromUtf8("xm = ") + pattern.format(r.reference, in_.regional),
                meanAbove ? 1 : -1);
    drawRunLine(s, r.mean, kReadings,
                QString::fromUtf8("x̄ = ") +
                    NumberPattern(fixedPattern(patternDecimals(in_.numberPattern) + 1))
                        .format(r.mean, in_.regional),
                meanAbove ? -1 : 1);
    const Scale scale = runScale();
    const std::size_t n = in_.readings.size();
    const double step = n > 1 ? (kRight - kLeft - 200) / static_cast<double>(n - 1) : 0;
    s.setFillSolid(true);
    s.setFillColour(kReadings);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = kLeft + 100 + step * static_cast<double>(i);
        const double y = scale.y(in_.readings[i]);
        if (i > 0) {
            page_.line(s, x - step, scale.y(in_.readings[i - 1]), x, y, kReadings);
        }
        s.filledCircle(x * zoom_, y * zoom_, 25 * zoom_, kReadings);
    }
    s.setFillColour(Qt::white);
    page_.setFont(s, 8, false);
    page_.DrP(pagePosition((kLeft + kRight) / 2), pagePosition(kRunBottom + 30),
              QString::fromUtf8("kolejne odczyty (1 … %1)").arg(n), 1, s);
}

// The label right of the line: beside it (0), above it (-1) or below it (1).
void Type1Page::drawRunLine(Surface& s, double value, const QColor& colour, const QString& label,
                            int side) const {
    const double y = runScale().y(value);
    page_.line(s, kLeft, y, kRight, y, colour);
    page_.setFont(s, 8, false);
    page_.DrP(pagePosition(kRight + 80), pagePosition(y - 90 + side * 110), label, 0, s);
}

Type1Page::Classes Type1Page::classesOf(const std::vector<double>& readings) {
    Classes c;
    if (readings.empty()) {
        return c;
    }
    const auto [low, high] = std::minmax_element(readings.begin(), readings.end());
    // Sturges' rule; equal readings make one class.
    const int count =
        *high > *low ? static_cast<int>(std::ceil(std::log2(readings.size()) + 1)) : 1;
    c.first = *low;
    c.width = *high > *low ? (*high - *low) / count : 1;
    c.counts.assign(static_cast<std::size_t>(count), 0);
    for (double v : readings) {
        const int i = std::min(count - 1, static_cast<int>((v - *low) / c.width));
        ++c.counts[static_cast<std::size_t>(i)];
    }
    return c;
}

void Type1Page::drawHistogram(Surface& s) const {
    const Type1::Results& r = *in_.type1;
    page_.setFont(s, 10, true);
    page_.DrP(5000, pagePosition(kHistogramTitle), QStringLiteral("Histogram"), 1, s);
    const Classes c = classesOf(in_.readings);
    const int most = *std::max_element(c.counts.begin(), c.counts.end());
    // The axis spans the classes and the master's value.
    const double low = std::min(c.first, r.reference);
    const double high =
        std::max(c.first + c.width * static_cast<double>(c.counts.size()), r.reference + c.width);
    const auto x = [&](double v) { return kLeft + (v - low) / (high - low) * (kRight - kLeft); };
    const double height = kHistogramBottom - kHistogramTop;
    s.setFillSolid(true);
    s.setFillColour(kBars);
    for (std::size_t i = 0; i < c.counts.size(); ++i) {
        const double left = c.first + c.width * static_cast<double>(i);
        const double top = kHistogramBottom - height * c.counts[i] / most;
        if (c.counts[i] > 0) {
            s.rectangle(x(left) * zoom_, top * zoom_, x(left + c.width) * zoom_,
                        kHistogramBottom * zoom_);
        }
    }
    s.setFillColour(Qt::white);
    page_.line(s, kLeft, kHistogramBottom, kRight, kHistogramBottom);
    page_.line(s, x(r.reference), kHistogramTop - 100, x(r.reference), kHistogramBottom, kMaster);
    const NumberPattern pattern(in_.numberPattern);
    page_.setFont(s, 8, false);
    page_.DrP(pagePosition(x(r.reference) + 60), pagePosition(kHistogramTop - 120),
              QString::fromUtf8("xm"), 0, s);
    page_.DrP(pagePosition(kLeft), pagePosition(kHistogramBottom + 30),
              pattern.format(low, in_.regional), 1, s);
    page_.DrP(pagePosition(kRight), pagePosition(kHistogramBottom + 30),
              pattern.format(high, in_.regional), 1, s);
    page_.DrP(pagePosition(kLeft - 60), pagePosition(kHistogramTop - 90), QString::number(most), 2,
              s);
}

// Two columns of figures, each value in a cell of its verdict colour (white without one).
void Type1Page::drawFigures(Surface& s) const {
    page_.setZoomedLineWidth(s, 2);
    page_.line(s, 0, kFiguresTop - 100, 10000, kFiguresTop - 100);
    page_.setZoomedLineWidth(s, 1);
    const QVector<Type1Texts::Line>& lines = in_.type1Lines;
    const int perColumn = static_cast<int>((lines.size() + 1) / 2);
    for (int i = 0; i < lines.size(); ++i) {
        const double left = (i / perColumn) * kColumnWidth;
        const double y = kFiguresTop + (i % perColumn) * kFigureRow;
        const Type1Texts::Line& line = lines[i];
        s.setFillSolid(true);
        s.setFillColour(verdictColour(line.verdict));
        if (line.verdict != Verdict::None) {
            s.rectangle((left + 3300) * zoom_, y * zoom_, (left + 4900) * zoom_,
                        (y + kFigureRow) * zoom_);
        }
        s.setFillColour(Qt::white);
        page_.setFont(s, 9, false);
        page_.DrP(pagePosition(left + 100), pagePosition(y + 30),
                  page_.fitted(s, line.caption, 3100), 0, s);
        const bool judged = line.verdict != Verdict::None;
        page_.setFont(s, 9, judged);  // measured in the font it is printed in
        page_.setFont(s, page_.shrunkToFit(s, line.value, 1500, 9), judged);
        page_.DrP(pagePosition(left + 4800), pagePosition(y + 30), line.value, 2, s);
    }
    page_.line(s, kColumnWidth, kFiguresTop, kColumnWidth, kFiguresTop + perColumn * kFigureRow);
    drawNotes(s, kFiguresTop + perColumn * kFigureRow + 150);
}

void Type1Page::drawNotes(Surface& s, double y) const {
    page_.setFont(s, 8, false);
    for (const QString& note : in_.type1Notes) {
        for (const QString& line : TextFitting::wrapped(s, note, 9800 * zoom_)) {
            page_.DrP(100, pagePosition(y), line, 0, s);
            y += 200;
        }
    }
}
