#include "attribute_page.h"

#include "text_fitting.h"
#include "verdict_colour.h"

namespace {

constexpr double kLeft = 900;
constexpr double kRight = 9700;
constexpr double kTop = 3400;
constexpr double kBottom = 6400;
constexpr double kRow = 230;

const QColor kWithin(0, 0, 200);
const QColor kReference(200, 0, 0);

}  // namespace

AttributePage::AttributePage(const ReportInputs& inputs, double zoom)
    : in_(inputs), page_(inputs, zoom), zoom_(zoom) {}

double AttributePage::plotY(double pct) {
    return kBottom - pct / 100 * (kBottom - kTop);
}

bool AttributePage::draw(Surface& s) const {
    page_.beginPage(s);
    page_.drawHeader(s, QString::fromUtf8("ZGODNOŚĆ OCENY ATRYBUTOWEJ"));
    if (!in_.attribute) {
        return page_.drawRefusal(s, in_.refusal);
    }
    drawPlot(s);
    double y = kBottom + 450;
    for (const AttributeTexts::Table& t : in_.attributeTables) {
        y = drawTable(s, y, t) + 120;
    }
    page_.setFont(s, 8, false);
    for (const QString& note : in_.attributeNotes) {
        for (const QString& line : TextFitting::wrapped(s, note, 9800 * zoom_)) {
            page_.DrP(100, pagePosition(y), line, 0, s);
            y += 190;
        }
    }
    return !s.isPrinter() || s.endDocument();
}

// Each appraiser's agreement as a point on its interval: within (blue) and against the
// reference (red), side by side.
void AttributePage::drawPlot(Surface& s) const {
    page_.setFont(s, 10, true);
    page_.DrP(5000, 3000,
              QString::fromUtf8("Zgodność oceniających z przedziałem 95 % (niebieska: "
                                "wewnętrzna, czerwona: z wzorcem)"),
              1, s);
    page_.line(s, kLeft, kTop, kLeft, kBottom);
    page_.line(s, kLeft, kBottom, kRight, kBottom);
    page_.setFont(s, 8, false);
    for (int pct : {0, 50, 100}) {
        page_.DrP(pagePosition(kLeft - 60), pagePosition(plotY(pct) - 90),
                  QStringLiteral("%1 %").arg(pct), 2, s);
    }
    const auto& appraisers = in_.attribute->appraisers;
    const double step = (kRight - kLeft) / static_cast<double>(appraisers.size());
    s.setFillSolid(true);
    for (std::size_t i = 0; i < appraisers.size(); ++i) {
        const double centre = kLeft + step * (static_cast<double>(i) + 0.5);
        const std::pair<const std::optional<Attribute::Agreement>*, QColor> marks[] = {
            {&appraisers[i].within, kWithin}, {&appraisers[i].vsReference, kReference}};
        for (std::size_t m = 0; m < 2; ++m) {
            const auto& a = *marks[m].first;
            if (!a) {
                continue;
            }
            const double x = centre + (m == 0 ? -150.0 : 150.0);
            page_.line(s, x, plotY(a->ciLow), x, plotY(a->ciHigh), marks[m].second);
            page_.line(s, x - 60, plotY(a->ciLow), x + 60, plotY(a->ciLow), marks[m].second);
            page_.line(s, x - 60, plotY(a->ciHigh), x + 60, plotY(a->ciHigh), marks[m].second);
            s.setFillColour(marks[m].second);
            s.filledCircle(x * zoom_, plotY(a->pct) * zoom_, 40 * zoom_, marks[m].second);
        }
        page_.DrP(pagePosition(centre), pagePosition(kBottom + 30), appraisers[i].name, 1, s);
    }
    s.setFillColour(Qt::white);
}

// A table: its title, the headings, the rows; a judged cell in its verdict colour.
double AttributePage::drawTable(Surface& s, double y, const AttributeTexts::Table& t) const {
    page_.setFont(s, 9, true);
    page_.DrP(100, pagePosition(y), t.title, 0, s);
    y += 240;
    const int columns = static_cast<int>(t.headings.size());
    const double first = 2400;
    const double width = (10000 - first) / (columns - 1);
    const auto right = [&](int c) { return c == 0 ? first : first + width * c; };
    for (int r = -1; r < t.rows.size(); ++r) {
        const QStringList cells = r < 0 ? t.headings : t.rows[r];
        page_.line(s, 0, y, 10000, y);
        for (int c = 0; c < cells.size() && c < columns; ++c) {
            const Verdict v = r < 0 ? Verdict::None : t.verdicts.value(r).value(c, Verdict::None);
            if (v != Verdict::None) {
                s.setFillSolid(true);
                s.setFillColour(verdictColour(v));
                s.rectangle((right(c - 1) + 20) * zoom_, y * zoom_, right(c) * zoom_,
                            (y + kRow) * zoom_);
                s.setFillColour(Qt::white);
            }
            page_.setFont(s, 8, r < 0);
            const double room = c == 0 ? first - 150 : width - 150;
            const QString text = page_.fitted(s, cells[c], room);
            page_.DrP(pagePosition(c == 0 ? 100 : right(c) - 80), pagePosition(y + 25), text,
                      c == 0 ? 0 : 2, s);
        }
        y += kRow;
    }
    page_.line(s, 0, y, 10000, y);
    return y;
}
