#include "anova_page.h"

#include <algorithm>

#include "text_fitting.h"
#include "verdict_colour.h"

namespace {

constexpr double kRow = 300;
constexpr double kHeadingLine = 190;
constexpr double kEvaluationTop = 13050;
constexpr double kEvaluationRow = 250;
constexpr double kMethodColumns[] = {3000, 6500};
constexpr double kMethodWidth = 3500;

std::vector<QStringList> cellsOf(const std::vector<AnovaTexts::Row>& rows) {
    std::vector<QStringList> out;
    for (const AnovaTexts::Row& row : rows) {
        out.push_back(QStringList{row.name} + row.cells);
    }
    return out;
}

const std::vector<double> kTableEdges = {0, 2800, 4240, 5680, 7120, 8560, 10000};
const std::vector<double> kComponentEdges = {0, 1900, 2850, 3750, 5000, 6150, 7150, 8300, 10000};

}  // namespace

AnovaPage::AnovaPage(const ReportInputs& inputs, double zoom)
    : in_(inputs), page_(inputs, zoom), zoom_(zoom) {}

bool AnovaPage::draw(Surface& s) const {
    page_.beginPage(s);
    page_.drawHeader(s, QStringLiteral("ANALIZA R&R - METODA ANOVA"));
    if (!in_.anova) {
        page_.setFont(s, 10, false);
        page_.DrP(5000, 3100,
                  QString::fromUtf8("Analiza nie ma kompletu serii pomiarowych: brak wyników."), 1,
                  s);
        return !s.isPrinter() || s.endDocument();
    }
    const AnovaTexts::Texts& a = *in_.anova;
    page_.setFont(s, 10, true);
    page_.DrP(100, 3050, page_.fitted(s, a.method, 9800), 0, s);
    double y =
        drawTable(s, 3400, QString::fromUtf8("Tabela analizy wariancji — model z interakcją"),
                  {kTableEdges, a.tableHeadings, cellsOf(a.full)});
    page_.setFont(s, 10, false);
    page_.DrP(100, pagePosition(y + 100), page_.fitted(s, a.interactionSentence, 9800), 0, s);
    y += 450;
    if (!a.pooled.empty()) {
        y = drawTable(s, y,
                      QString::fromUtf8("Tabela analizy wariancji — interakcja połączona "
                                        "z powtarzalnością"),
                      {kTableEdges, a.tableHeadings, cellsOf(a.pooled)});
        y += 100;
    }
    y = drawTable(s, y, QStringLiteral("Składniki wariancji"),
                  {kComponentEdges, a.componentHeadings, cellsOf(a.components)});
    drawWrapped(s, y + 150, a.difference, 9);
    drawEvaluation(s);
    return !s.isPrinter() || s.endDocument();
}

double AnovaPage::drawWrapped(Surface& s, double y, const QString& text, double size) const {
    page_.setFont(s, size, false);
    const QStringList lines = TextFitting::wrapped(s, text, 9800 * zoom_);
    for (const QString& line : lines) {
        page_.DrP(100, pagePosition(y), line, 0, s);
        y += size * 25;
    }
    return y;
}

double AnovaPage::drawTable(Surface& s, double y, const QString& title, const Table& t) const {
    page_.setFont(s, 10, true);
    page_.DrP(5000, pagePosition(y), title, 1, s);
    const double top = y + 300;
    page_.setZoomedLineWidth(s, 2);
    page_.line(s, 0, top, 10000, top);
    page_.setZoomedLineWidth(s, 1);
    double rowTop = drawHeadings(s, top, t);
    page_.line(s, 0, rowTop, 10000, rowTop);
    page_.setFont(s, 9, false);
    for (const QStringList& row : t.rows) {
        const int textY = pagePosition(rowTop + 50);
        page_.DrP(pagePosition(t.edges[0] + 100), textY,
                  page_.fitted(s, row.value(0), t.edges[1] - t.edges[0] - 150), 0, s);
        // A number shrinks to its column; a digit is never cut.
        for (int c = 1; c < row.size() && c + 1 < static_cast<int>(t.edges.size()); ++c) {
            const double room = t.edges[c + 1] - t.edges[c] - 150;
            page_.setFont(s, page_.shrunkToFit(s, row.value(c), room, 9), false);
            page_.DrP(pagePosition(t.edges[c + 1] - 100), textY, row.value(c), 2, s);
            page_.setFont(s, 9, false);
        }
        rowTop += kRow;
        page_.line(s, 0, rowTop, 10000, rowTop);
    }
    for (std::size_t c = 1; c + 1 < t.edges.size(); ++c) {
        page_.line(s, t.edges[c], top, t.edges[c], rowTop);
    }
    return rowTop;
}

// Each heading centred in its column, broken into lines at blanks; the row is as tall
// as the tallest heading.
double AnovaPage::drawHeadings(Surface& s, double top, const Table& t) const {
    page_.setFont(s, 8, true);
    int lines = 1;
    std::vector<QStringList> wrapped;
    for (int c = 0; c < t.headings.size() && c + 1 < static_cast<int>(t.edges.size()); ++c) {
        const double room = (t.edges[c + 1] - t.edges[c] - 100) * zoom_;
        wrapped.push_back(TextFitting::wrapped(s, t.headings[c], room));
        lines = std::max(lines, static_cast<int>(wrapped.back().size()));
    }
    const double height = 100 + lines * kHeadingLine;
    for (std::size_t c = 0; c < wrapped.size(); ++c) {
        const double centre = (t.edges[c] + t.edges[c + 1]) / 2;
        double textY = top + 50 + (lines - wrapped[c].size()) * kHeadingLine / 2;
        for (const QString& line : wrapped[c]) {
            page_.DrP(pagePosition(centre), pagePosition(textY), line, 1, s);
            textY += kHeadingLine;
        }
    }
    return top + height;
}

// Both methods side by side, R&R and ndc in cells of their verdict colours.
void AnovaPage::drawEvaluation(Surface& s) const {
    const AnovaTexts::Texts& a = *in_.anova;
    page_.setZoomedLineWidth(s, 2);
    page_.line(s, 0, kEvaluationTop, 10000, kEvaluationTop);
    page_.setZoomedLineWidth(s, 1);
    page_.setFont(s, 12, true);
    page_.DrP(5000, pagePosition(kEvaluationTop + 50), QStringLiteral("OCENA ANALIZY"), 1, s);
    double y = kEvaluationTop + 400;
    page_.setFont(s, 9, false);
    page_.DrP(100, pagePosition(y + 30), QString::fromUtf8("(% poziomu odniesienia)"), 0, s);
    page_.setFont(s, 9, true);
    page_.DrP(pagePosition(kMethodColumns[0] + kMethodWidth / 2), pagePosition(y + 30),
              QStringLiteral("ANOVA"), 1, s);
    page_.DrP(pagePosition(kMethodColumns[1] + kMethodWidth / 2), pagePosition(y + 30),
              QString::fromUtf8("Średnia i rozstęp"), 1, s);
    page_.line(s, 0, y, 10000, y);
    for (const AnovaTexts::Texts::Evaluation& row : a.evaluation) {
        y += kEvaluationRow;
        drawEvaluationRow(s, y, row);
    }
    page_.line(s, kMethodColumns[0], kEvaluationTop + 400, kMethodColumns[0], y + kEvaluationRow);
    page_.line(s, kMethodColumns[1], kEvaluationTop + 400, kMethodColumns[1], y + kEvaluationRow);
}

// A label and the two methods' values, each centred in a cell of its verdict colour
// (white without one).
void AnovaPage::drawEvaluationRow(Surface& s, double y,
                                  const AnovaTexts::Texts::Evaluation& row) const {
    page_.setFont(s, 9, false);
    const AnovaTexts::Judged* values[] = {&row.anova, &row.averageAndRange};
    for (std::size_t i = 0; i < 2; ++i) {
        s.setFillColour(verdictColour(values[i]->verdict));
        const double left = kMethodColumns[i];
        s.rectangle(left * zoom_, y * zoom_, (left + kMethodWidth) * zoom_,
                    (y + kEvaluationRow) * zoom_);
        page_.DrP(pagePosition(left + kMethodWidth / 2), pagePosition(y + 30), values[i]->text, 1,
                  s);
    }
    s.setFillColour(Qt::white);
    page_.DrP(100, pagePosition(y + 30), row.label, 0, s);
    page_.line(s, 0, y, 10000, y);
}
