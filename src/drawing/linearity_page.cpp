#include "linearity_page.h"

#include <algorithm>

#include "number_pattern.h"
#include "text_fitting.h"
#include "verdict_colour.h"

namespace {

constexpr double kLeft = 900;
constexpr double kRight = 9700;
constexpr double kTop = 3450;
constexpr double kBottom = 7900;
constexpr double kTablesTop = 8550;
constexpr double kRow = 250;
constexpr int kBandSteps = 40;

const QColor kReadings(120, 120, 120);
const QColor kMeans(200, 0, 0);
const QColor kLine(0, 0, 200);

}  // namespace

LinearityPage::LinearityPage(const ReportInputs& inputs, double zoom)
    : in_(inputs), page_(inputs, zoom), zoom_(zoom) {}

double LinearityPage::Scale::x(double reference) const {
    return kLeft + (reference - xLow) / (xHigh - xLow) * (kRight - kLeft);
}

double LinearityPage::Scale::y(double bias) const {
    return kBottom - (bias - yLow) / (yHigh - yLow) * (kBottom - kTop);
}

LinearityPage::Scale LinearityPage::scale() const {
    const Linearity::Results& r = *in_.linearity;
    const double span = r.referenceHigh - r.referenceLow;
    Scale k{r.referenceLow - 0.05 * span, r.referenceHigh + 0.05 * span, 0, 0};
    for (const Linearity::Point& p : in_.points) {
        k.yLow = std::min(k.yLow, p.value - p.reference);
        k.yHigh = std::max(k.yHigh, p.value - p.reference);
    }
    for (double x : {k.xLow, k.xHigh}) {
        k.yLow = std::min(k.yLow, r.line(x) - r.bandHalfWidth(x));
        k.yHigh = std::max(k.yHigh, r.line(x) + r.bandHalfWidth(x));
    }
    const double margin = std::max(k.yHigh - k.yLow, 1e-12) * 0.05;
    k.yLow -= margin;
    k.yHigh += margin;
    return k;
}

bool LinearityPage::draw(Surface& s) const {
    page_.beginPage(s);
    page_.drawHeader(s, QString::fromUtf8("OBCIĄŻENIE I LINIOWOŚĆ PRZYRZĄDU"));
    if (!in_.linearity) {
        return page_.drawRefusal(s, in_.refusal);
    }
    drawPlot(s);
    drawRegression(s);
    return !s.isPrinter() || s.endDocument();
}

void LinearityPage::drawPlot(Surface& s) const {
    const Linearity::Results& r = *in_.linearity;
    const Scale k = scale();
    page_.setFont(s, 10, true);
    page_.DrP(5000, 3050, QString::fromUtf8("Obciążenie względem wartości odniesienia"), 1, s);
    drawAxes(s, k);
    drawBand(s, k);
    page_.line(s, k.x(k.xLow), k.y(r.line(k.xLow)), k.x(k.xHigh), k.y(r.line(k.xHigh)), kLine);
    s.setFillSolid(true);
    s.setFillColour(kReadings);
    for (const Linearity::Point& p : in_.points) {
        s.filledCircle(k.x(p.reference) * zoom_, k.y(p.value - p.reference) * zoom_, 20 * zoom_,
                       kReadings);
    }
    s.setFillColour(kMeans);
    for (const Linearity::PartResult& part : r.parts) {
        s.filledCircle(k.x(part.reference) * zoom_, k.y(part.bias) * zoom_, 45 * zoom_, kMeans);
    }
    s.setFillColour(Qt::white);
}

void LinearityPage::drawAxes(Surface& s, const Scale& k) const {
    page_.line(s, kLeft, kTop, kLeft, kBottom);
    page_.line(s, kLeft, kBottom, kRight, kBottom);
    page_.line(s, kLeft, k.y(0), kRight, k.y(0));  // bias = 0
    const NumberPattern pattern(in_.numberPattern);
    page_.setFont(s, 8, false);
    for (const Linearity::PartResult& part : in_.linearity->parts) {
        page_.DrP(pagePosition(k.x(part.reference)), pagePosition(kBottom + 30),
                  pattern.format(part.reference, in_.regional), 1, s);
    }
    for (double y : {k.yLow, 0.0, k.yHigh}) {
        page_.DrP(pagePosition(kLeft - 60), pagePosition(k.y(y) - 90),
                  pattern.format(y, in_.regional), 2, s);
    }
    page_.DrP(pagePosition((kLeft + kRight) / 2), pagePosition(kBottom + 230),
              QString::fromUtf8("wartość odniesienia (czerwone: średnie obciążenie części; "
                                "linie kropkowane: 95 % pasmo ufności prostej)"),
              1, s);
}

// The band's edges as short segments, dotted.
void LinearityPage::drawBand(Surface& s, const Scale& k) const {
    const Linearity::Results& r = *in_.linearity;
    s.setLineStyle(Surface::LineStyle::Dotted);
    for (int side : {-1, 1}) {
        for (int i = 0; i < kBandSteps; ++i) {
            const double x0 = k.xLow + (k.xHigh - k.xLow) * i / kBandSteps;
            const double x1 = k.xLow + (k.xHigh - k.xLow) * (i + 1) / kBandSteps;
            page_.line(s, k.x(x0), k.y(r.line(x0) + side * r.bandHalfWidth(x0)), k.x(x1),
                       k.y(r.line(x1) + side * r.bandHalfWidth(x1)), kLine);
        }
    }
    s.setLineStyle(Surface::LineStyle::Solid);
}

// The regression's figures in two columns, the verdict in its colour, then the parts.
void LinearityPage::drawRegression(Surface& s) const {
    page_.setZoomedLineWidth(s, 2);
    page_.line(s, 0, kTablesTop - 100, 10000, kTablesTop - 100);
    page_.setZoomedLineWidth(s, 1);
    const QVector<FigureLine>& lines = in_.linearityLines;
    const int perColumn = static_cast<int>((lines.size() + 1) / 2);
    for (int i = 0; i < lines.size(); ++i) {
        const double left = (i / perColumn) * 5000.0;
        const double y = kTablesTop + (i % perColumn) * kRow;
        s.setFillSolid(true);
        s.setFillColour(verdictColour(lines[i].verdict));
        if (lines[i].verdict != Verdict::None) {
            s.rectangle((left + 3100) * zoom_, y * zoom_, (left + 4900) * zoom_,
                        (y + kRow) * zoom_);
        }
        s.setFillColour(Qt::white);
        page_.setFont(s, 9, false);
        page_.DrP(pagePosition(left + 100), pagePosition(y + 30),
                  page_.fitted(s, lines[i].caption, 2900), 0, s);
        const bool judged = lines[i].verdict != Verdict::None;
        page_.setFont(s, 9, judged);  // measured in the font it is printed in
        page_.setFont(s, page_.shrunkToFit(s, lines[i].value, 1600, 9), judged);
        page_.DrP(pagePosition(left + 4800), pagePosition(y + 30), lines[i].value, 2, s);
    }
    double y = kTablesTop + perColumn * kRow + 80;
    page_.setFont(s, 9, true);
    for (const QString& line : TextFitting::wrapped(s, in_.linearityVerdict, 9800 * zoom_)) {
        page_.DrP(100, pagePosition(y), line, 0, s);
        y += 220;
    }
    drawParts(s, y + 80);
}

void LinearityPage::drawParts(Surface& s, double top) const {
    const double edges[] = {0, 900, 2600, 3300, 5000, 6500, 8000, 10000};
    QVector<QStringList> rows = {LinearityTexts::partHeadings()};
    rows += in_.linearityParts;
    double y = top;
    for (int r = 0; r < rows.size(); ++r) {
        page_.setFont(s, 9, r == 0);
        page_.line(s, 0, y, 10000, y);
        for (int c = 0; c < rows[r].size() && c + 1 < 8; ++c) {
            page_.DrP(pagePosition(edges[c + 1] - 100), pagePosition(y + 30), rows[r][c], 2, s);
        }
        y += kRow;
    }
    page_.line(s, 0, y, 10000, y);
    page_.setFont(s, 8, false);
    for (const QString& note : in_.linearityNotes) {
        for (const QString& line : TextFitting::wrapped(s, note, 9800 * zoom_)) {
            page_.DrP(100, pagePosition(y + 60), line, 0, s);
            y += 190;
        }
    }
}
