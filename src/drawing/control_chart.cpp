#include "control_chart.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "blank_page.h"
#include "file_output.h"
#include "number_pattern.h"
#include "page_render.h"
#include "painter_surface.h"
#include "text_fitting.h"
#include "twips.h"

namespace {

constexpr double kMargin = 150;
constexpr double kLabelRoom = 1900;  // at least; a wider label takes what it needs
constexpr double kTitleRoom = 550;
constexpr double kFootRoom = 750;  // the reading of the averages and one warning line
constexpr double kFootLine = 250;
constexpr double kPointRadius = 35;
constexpr double kFlagRadius = 70;
constexpr double kLabelGap = 200;
const QColor kPoints(0, 0, 255);
const QColor kFlag(255, 0, 0);
const QColor kLimit(255, 0, 0);

}  // namespace

ControlChart::ControlChart(const ReportInputs& inputs, double width, double height)
    : in_(inputs), width_(width), height_(height) {}

void ControlChart::text(Surface& s, double x, double y, const QString& t, int alignment) const {
    const double w = s.textWidth(t);
    s.setCurrentX(alignment == 2 ? x - w : (alignment == 1 ? x - w / 2 : x));
    s.setCurrentY(y);
    s.printText(t);
}

// The values at the edges: every point and both limits inside, a tenth of the span
// to spare; equal values (all ranges 0) get a span of their own instead of none.
ControlChart::Plot ControlChart::plotBetween(double top, double bottom, double right,
                                             const std::vector<std::vector<double>>& points,
                                             double lowLimit, double highLimit) const {
    Plot p{kMargin + 100, top, right, bottom, lowLimit, highLimit};
    for (const auto& appraiser : points) {
        for (const double v : appraiser) {
            p.low = std::min(p.low, v);
            p.high = std::max(p.high, v);
        }
    }
    const double span = p.high - p.low;
    const double pad = span > 1e-12 * std::max(1.0, std::fabs(p.high))
                           ? span / 10
                           : std::max(std::fabs(p.high), 1.0) / 20;
    p.low -= pad;
    p.high += pad;
    return p;
}

namespace {

// The room under the plots: the reading of the averages and the warning's lines.
double footRoom(int warningLines) {
    return kFootRoom + std::max(0, warningLines - 1) * kFootLine;
}

}  // namespace

ControlChart::Layout ControlChart::layoutOn(Surface& s) const {
    s.setFontSize(9);
    s.setBold(false);
    const ControlTexts::Labels& l = in_.controlLabels;
    double labels = 0;
    for (const QString* label : {&l.uclX, &l.centreX, &l.lclX, &l.uclR, &l.centreR, &l.lclR}) {
        labels = std::max(labels, s.textWidth(*label));
    }
    const double right = width_ - std::max(kLabelRoom, labels + 80 + kMargin);
    const QStringList warning =
        in_.controlWarning.isEmpty()
            ? QStringList()
            : TextFitting::wrapped(s, in_.controlWarning, width_ - 2 * kMargin);
    const double foot = footRoom(static_cast<int>(warning.size()));
    const double middle = (kTitleRoom + height_ - foot) / 2;
    const ControlLimits::Results& c = *in_.control;
    Layout out{plotBetween(kTitleRoom + 250, middle - 350, right, c.averages, c.lclX, c.uclX),
               plotBetween(middle + 250, height_ - foot - 350, right, c.ranges, c.lclR, c.uclR),
               warning};
    out.ranges.low = std::max(out.ranges.low, -0.05 * out.ranges.high);  // no range is negative
    return out;
}

double ControlChart::xOf(const Plot& plot, int appraiser, int part) const {
    const int sections = std::max<int>(1, static_cast<int>(in_.control->averages.size()));
    const int parts = static_cast<int>(in_.control->averages.front().size());
    const double section = (plot.right - plot.left) / sections;
    return plot.left + section * appraiser + section * (part + 1) / (parts + 1);
}

void ControlChart::draw(Surface& s) const {
    s.clear();
    s.setFillSolid(true);
    s.setFillColour(Qt::white);
    s.setFontName(QGuiApplication::font().family());
    (void)s.setLineWidth(1);
    if (!in_.control) {
        s.setFontSize(10);
        text(s, width_ / 2, height_ / 2, QString::fromUtf8("Brak kart kontrolnych."), 1);
        return;
    }
    const ControlLimits::Results& c = *in_.control;
    s.setFontSize(10);
    s.setBold(true);
    text(s, kMargin, 100,
         TextFitting::elided(s,
                             QString::fromUtf8("Karty kontrolne X̄–R, analiza %1 — %2")
                                 .arg(in_.field("Numer").toText(in_.regional),
                                      ControlTexts::constants(c, in_.regional)),
                             width_ - 2 * kMargin),
         0);
    const ControlTexts::Labels& l = in_.controlLabels;
    const NumberPattern constant(QStringLiteral("0.000"));
    const Layout p = layoutOn(s);
    drawPlot(s, p.averages,
             QString::fromUtf8("Średnie X̄ (A2 = %1)").arg(constant.format(c.a2, in_.regional)),
             c.averages, {{{l.uclX, c.uclX}, {l.centreX, c.xbarbar}, {l.lclX, c.lclX}}}, false);
    drawPlot(s, p.ranges,
             QString::fromUtf8("Rozstępy R (D4 = %1, D3 = 0)")
                 .arg(NumberPattern(QStringLiteral("0.00")).format(c.d4, in_.regional)),
             c.ranges, {{{l.uclR, c.uclR}, {l.centreR, c.rbar}, {l.lclR, c.lclR}}}, true);
    s.setFontSize(9);
    s.setBold(false);
    const QStringList& warning = p.warning;
    const double foot = height_ - footRoom(static_cast<int>(warning.size()));
    text(s, kMargin, foot + 100,
         TextFitting::elided(s, ControlTexts::averagesReading(c), width_ - 2 * kMargin), 0);
    for (int i = 0; i < warning.size(); ++i) {
        text(s, kMargin, foot + 350 + i * kFootLine, warning[i], 0);
    }
}

void ControlChart::drawPlot(Surface& s, const Plot& p, const QString& title,
                            const std::vector<std::vector<double>>& points,
                            const std::array<std::pair<QString, double>, 3>& lines,
                            bool ranges) const {
    s.setFontSize(9);
    s.setBold(true);
    text(s, p.left, p.top - 250, title, 0);
    s.setBold(false);
    s.setFillSolid(false);
    s.rectangle(p.left, p.top, p.right, p.bottom);
    s.setFillSolid(true);
    drawSections(s, p);
    // Labels keep apart when the lines lie close (equal values: one line), and stay
    // beside the frame.
    std::array<double, 3> labelY{};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double y = p.yOf(lines[i].second);
        const bool centre = i == 1;
        s.setLineStyle(centre ? Surface::LineStyle::Solid : Surface::LineStyle::Dotted);
        s.line(p.left, y, p.right, y, centre ? QColor(Qt::black) : kLimit);
        labelY[i] = i == 0 ? y - 90 : std::max(y - 90, labelY[i - 1] + kLabelGap);
    }
    const double overrun = std::max(0.0, labelY.back() - (p.bottom - kLabelGap));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text(s, p.right + 80, labelY[i] - overrun, lines[i].first, 0);
    }
    s.setLineStyle(Surface::LineStyle::Solid);
    drawPoints(s, p, points, ranges);
}

// A section per appraiser, its name at the top, the part numbers under the frame.
void ControlChart::drawSections(Surface& s, const Plot& p) const {
    const auto sections = static_cast<int>(in_.control->averages.size());
    const int parts = static_cast<int>(in_.control->averages.front().size());
    const double width = (p.right - p.left) / sections;
    s.setFontSize(8);
    for (int i = 0; i < sections; ++i) {
        const double left = p.left + width * i;
        if (i > 0) {
            s.line(left, p.top, left, p.bottom, Qt::black);
        }
        text(s, left + 60, p.top + 30, TextFitting::elided(s, in_.appraisers.value(i), width - 120),
             0);
        for (int j = 0; j < parts; ++j) {
            text(s, xOf(p, i, j), p.bottom + 30, QString::number(j + 1), 1);
        }
    }
}

void ControlChart::drawPoints(Surface& s, const Plot& p,
                              const std::vector<std::vector<double>>& points, bool ranges) const {
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = 1; j < points[i].size(); ++j) {
            s.line(xOf(p, static_cast<int>(i), static_cast<int>(j - 1)), p.yOf(points[i][j - 1]),
                   xOf(p, static_cast<int>(i), static_cast<int>(j)), p.yOf(points[i][j]), kPoints);
        }
        for (std::size_t j = 0; j < points[i].size(); ++j) {
            const bool flagged =
                ranges && in_.control->isFlagged(static_cast<int>(i), static_cast<int>(j));
            s.setFillColour(flagged ? kFlag : kPoints);
            s.filledCircle(xOf(p, static_cast<int>(i), static_cast<int>(j)), p.yOf(points[i][j]),
                           flagged ? kFlagRadius : kPointRadius, flagged ? kFlag : kPoints);
        }
    }
    s.setFillColour(Qt::white);
}

QImage ControlChart::picture(const ReportInputs& inputs, const QSize& pixels) {
    QImage image = blankPage(pixels);
    QPainter painter(&image);
    PainterSurface surface(painter, PainterSurface::Target::Picture);
    ControlChart(inputs, Twips::fromDevice(pixels.width(), Twips::kScreenDpi),
                 Twips::fromDevice(pixels.height(), Twips::kScreenDpi))
        .draw(surface);
    return image;
}

bool ControlChart::writeFile(const ReportInputs& inputs, const QString& path, QString* error) {
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0) {
        return FileOutput::writeImage(picture(inputs, QSize(1123, 794)), path, "PNG", error);
    }
    return PageRender::writeA4Pdf(
        path, QPageLayout::Landscape,
        QStringLiteral("Karty kontrolne %1").arg(inputs.field("Numer").toText(inputs.regional)),
        [&](Surface& surface, const QSizeF& twips) {
            ControlChart(inputs, twips.width(), twips.height()).draw(surface);
        },
        error);
}
