#include "report_page.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "chart_plot.h"
#include "crossed_design.h"
#include "date_pattern.h"
#include "number_pattern.h"
#include "text_fitting.h"

namespace {

const QColor kWhite(255, 255, 255);

}  // namespace

int pagePosition(double value) {
    return static_cast<int>(std::nearbyint(value));  // the default rounding: halves to even
}

ReportPage::ReportPage(const ReportInputs& inputs, double zoom)
    : in_(inputs),
      zoom_(zoom),
      parts_(CrossedDesign::partCount(inputs.field("LiczbaN"))),
      appraisers_(CrossedDesign::appraiserCount(inputs.field("LiczbaK"))),
      trials_(CrossedDesign::trialCount(inputs.field("LiczbaR"))) {}

void ReportPage::DrP(int x, int y, const QString& text, int alignment, Surface& surface) const {
    double left = x * zoom_;
    if (alignment == 2) {
        left -= surface.textWidth(text);
    } else if (alignment == 1) {
        left -= surface.textWidth(text) / 2;
    }
    surface.setCurrentX(left);
    surface.setCurrentY(y * zoom_);
    surface.printText(text);
}

void ReportPage::line(Surface& s, double x1, double y1, double x2, double y2,
                      const QColor& colour) const {
    s.line(x1 * zoom_, y1 * zoom_, x2 * zoom_, y2 * zoom_, colour);
}

void ReportPage::setZoomedLineWidth(Surface& s, int width) const {
    (void)s.setLineWidth(pagePosition(width * zoom_));  // below a pixel: the old width stays
}

void ReportPage::setFont(Surface& s, double size, bool bold) const {
    s.setFontSize(size * zoom_);
    s.setBold(bold);
}

QString ReportPage::plain(const char* field) const {
    return in_.field(field).toText(in_.regional);
}

double ReportPage::pageWidth(const Surface& s, const QString& text) const {
    return zoom_ > 0 ? s.textWidth(text) / zoom_ : 0;
}

// Whole when it fits; otherwise as many characters as fit, then "…".
QString ReportPage::fitted(const Surface& s, const QString& text, double room) const {
    return TextFitting::elided(s, text, room * zoom_);
}

QString ReportPage::formatted(const Value& value) const {
    return value.format(NumberPattern(in_.numberPattern), in_.regional);
}

void ReportPage::beginPage(Surface& s) const {
    if (!s.isPrinter()) {
        s.clear();
    }
    s.setFillSolid(true);
    s.setFillColour(kWhite);
    s.setFontName(in_.fontName);
    s.setScaleLeft(-1000 * zoom_);
    s.setScaleTop(-1000 * zoom_);
}

bool ReportPage::PDT(Surface& s) const {
    beginPage(s);
    drawHeader(s, QStringLiteral("ANALIZA R&R"));
    drawTableHeading(s);
    const double y0 = drawTable(s);
    drawTableLabels(s);
    drawChart(s, y0);
    drawResults(s, y0);
    drawEvaluation(s);
    return !s.isPrinter() || s.endDocument();
}

void ReportPage::drawHeader(Surface& s, const QString& title) const {
    setZoomedLineWidth(s, 2);
    setFont(s, 14, true);
    s.rectangle(0, 0, 10000 * zoom_, 14700 * zoom_);
    line(s, 0, 700, 10000, 700);
    DrP(5000, 50, title, 1, s);
    drawCompanyName(s);
    setFont(s, 10, false);
    DrP(9900, 50, formatDate(in_.today, in_.datePattern, in_.regional), 2, s);
    DrP(100, 50, QStringLiteral("Koral Dudi - Kalmet"), 0, s);
    const double half = kHalfWidth;  // each half of the box ends before the divider or edge
    DrP(100, 725, fitted(s, QString::fromUtf8("Nazwa części : ") + plain("NazwaC"), half), 0, s);
    DrP(100, 975, fitted(s, QString::fromUtf8("Numer części : ") + plain("NumerC"), half), 0, s);
    DrP(5100, 725, fitted(s, QString::fromUtf8("Nazwa przyrządu : ") + plain("NazwaP"), half), 0,
        s);
    DrP(5100, 975, fitted(s, QString::fromUtf8("Numer przyrządu : ") + plain("NumerP"), half), 0,
        s);
    drawRangeAndError(s);
    line(s, 0, 1500, 10000, 1500);
    line(s, 5000, 700, 5000, 1500);
    drawCharacteristicAndReference(s);
    line(s, 0, 2300, 10000, 2300);
    DrP(100, 2350, QString::fromUtf8("Data analizy : ") + plain("Data"), 0, s);
    DrP(5000, 2350, QString::fromUtf8(" Temperatura : ") + plain("Temperatura"), 1, s);
    DrP(9900, 2350, QString::fromUtf8(" Wilgotność : ") + plain("Wilgotnosc"), 2, s);
    line(s, 0, 2600, 10000, 2600);
    drawNumberAndCounts(s);
    line(s, 0, 2950, 10000, 2950);
    setZoomedLineWidth(s, 1);
}

bool ReportPage::drawRefusal(Surface& s, const QString& why) const {
    setFont(s, 10, false);
    DrP(5000, 3100, fitted(s, why, 9800), 1, s);
    return !s.isPrinter() || s.endDocument();
}

double ReportPage::shrunkToFit(const Surface& s, const QString& text, double room,
                               double size) const {
    const double width = pageWidth(s, text);
    return width > room ? size * room / width : size;
}

// The company name shrinks until it fits the frame; it is cut only below a legible size.
void ReportPage::drawCompanyName(Surface& s) const {
    constexpr double kRoom = 9800;
    const QString name = in_.Firma.toText(in_.regional);
    setFont(s, std::max(shrunkToFit(s, name, kRoom, 14), 7.0), true);
    DrP(5000, 350, fitted(s, name, kRoom), 1, s);
    setFont(s, 14, true);
}

// "Zakres pomiarowy" and "Błąd wskazań" share a line: the shorter keeps its whole width
// (up to 60 % of the line), the other one gets the rest.
void ReportPage::drawRangeAndError(Surface& s) const {
    const QString range = QString::fromUtf8("Zakres pomiarowy: ") + plain("ZakresP");
    const QString error = QString::fromUtf8("Błąd wskazań : ") + plain("BladP");
    constexpr double kLine = 9900 - 5100 - kGap;
    const double rangeWidth = pageWidth(s, range);
    const double errorWidth = pageWidth(s, error);
    const double shorterRoom = std::min(std::min(rangeWidth, errorWidth), 0.6 * kLine);
    const bool rangeShorter = rangeWidth <= errorWidth;
    DrP(5100, 1225, fitted(s, range, rangeShorter ? shorterRoom : kLine - shorterRoom), 0, s);
    DrP(9900, 1225, fitted(s, error, rangeShorter ? kLine - shorterRoom : shorterRoom), 2, s);
}

void ReportPage::drawCharacteristicAndReference(Surface& s) const {
    const QStringList reference = referenceLines();
    const double taken = reference.isEmpty() ? 0 : pageWidth(s, reference.first()) + kGap;
    DrP(100, 1550,
        fitted(s,
               QString::fromUtf8("Charakterystyka : ") + plain("Parametr") + QStringLiteral("   ") +
                   plain("Jednostka"),
               9800 - taken),
        0, s);
    int y = 1550;
    for (const QString& text : reference) {
        DrP(9900, y, text, 2, s);
        y += 250;
    }
}

// The analysis number ends before the counts that share its line.
void ReportPage::drawNumberAndCounts(Surface& s) const {
    const QString counts =
        in_.kind == StudyKind::Type1
            ? QString::fromUtf8("Liczba odczytów n = %1").arg(in_.readings.size())
        : in_.kind == StudyKind::Linearity && in_.linearity
            ? QString::fromUtf8("Liczba części g = %1,    odczytów części m = %2")
                  .arg(in_.linearity->g)
                  .arg(in_.linearity->m)
        : in_.kind == StudyKind::Linearity
            ? QString::fromUtf8("Liczba odczytów = %1").arg(in_.points.size())
        : in_.kind == StudyKind::Attribute && in_.attribute
            ? QString::fromUtf8("Części n = %1,    oceniających k = %2,    powtórzeń r = %3")
                  .arg(in_.attribute->parts)
                  .arg(in_.attribute->appraisers.size())
                  .arg(in_.attribute->trials)
            : QString::fromUtf8("Liczba :    oceniających K = ") + plain("LiczbaK") +
                  QString::fromUtf8("    części N = ") + plain("LiczbaN") +
                  QString::fromUtf8(",    powtórzeń R = ") + plain("LiczbaR");
    const double countsWidth = pageWidth(s, counts);
    setFont(s, 12, true);
    DrP(100, 2650,
        fitted(s, QString::fromUtf8("Numer analizy : ") + plain("Numer"),
               9800 - countsWidth - kGap),
        0, s);
    setFont(s, 10, false);
    DrP(9900, 2650, counts, 2, s);
}

// The lines of the reference area, by CoRef as the statistics read it: an empty mode is
// mode 0, a mode the program does not know prints nothing.
QStringList ReportPage::referenceLines() const {
    const QStringList limits = {
        QString::fromUtf8("Górna wartość graniczna : ") + formatted(in_.field("GWG")),
        QString::fromUtf8("Dolna wartość graniczna : ") + formatted(in_.field("DWG"))};
    if (in_.kind == StudyKind::Type1) {
        return QStringList{QString::fromUtf8("Wzorzec xm : ") + formatted(in_.field("Wzorzec"))} +
               limits;
    }
    if (in_.kind == StudyKind::Attribute) {
        return {QString::fromUtf8("Decyzja przyjęcia : ") + plain("Akceptacja")};
    }
    if (in_.kind == StudyKind::Linearity) {
        return QStringList{QString::fromUtf8("Zmienność procesu PV : ") +
                           formatted(in_.field("ZmProc"))} +
               limits;
    }
    const std::optional<int> mode = Study::referenceModeOf(in_.field("CoRef"));
    if (!mode) {
        return {};
    }
    const QString cp = QString::fromUtf8(*mode == 0 ? "Założona wartość wskaźnika Cp : "
                                                    : "Wartość wskaźnika Cp (proces) : ");
    QString first;
    switch (*mode) {
        case 0:
        case 1:
            first = cp + formatted(in_.field("WN"));
            break;
        case 2:
            return {QString::fromUtf8("Wartość odchylenia S (proces) : ") +
                    formatted(in_.field("WN"))};
        case 3:
            return {QString::fromUtf8("Zmienność całkowita TV : ") +
                    formatted(Value(in_.panels[Panels::kREF]))};
        default:
            first = QString::fromUtf8("Poziom odniesienia to ") + in_.FRTol.toText(in_.regional) +
                    QString::fromUtf8(" % tolerancji");
            break;
    }
    return QStringList{first} + limits;
}

void ReportPage::drawTableHeading(Surface& s) const {
    DrP(100, 2975, QString::fromUtf8("Oceniający"), 0, s);
    if (parts_ > 0) {
        const double w = 7000.0 / parts_;
        for (int i = 1; i <= parts_; ++i) {
            DrP(pagePosition(2000 + (i - 1) * w + w / 2), 2975, QStringLiteral("X%1").arg(i), 1, s);
        }
    }
    DrP(9900, 3000, QString::fromUtf8("Średnia"), 2, s);
    line(s, 0, 3250, 10000, 3250);
    setFont(s, 8, false);
}

namespace {

// The grid's own layout tells the row kinds: a separator is a thin row, whatever its
// cells hold (a value may be empty in a file edited outside the program).
bool isSeparatorRow(const GridLayout& g, int row) {
    return g.rowHeights.value(row) == GridLayout::kSeparatorRowHeight;
}

}  // namespace

// The cells of the main window's grid, right-aligned in their columns, with the row
// lines; a separator row takes 100 twips instead of 300. The average stands in column
// N + 3, past the spacer.
double ReportPage::drawTable(Surface& s) const {
    const GridLayout& g = in_.grid;
    const double w = parts_ > 0 ? 7000.0 / parts_ : 0;
    const int average = parts_ + 3;
    setFont(s, valueFontSize(s, w), false);
    double d = 0;
    bool trialLineDrawn = false;  // the first trial row after a separator is ruled across
    for (int i = 1; i < g.rows; ++i) {
        const double yT = 3250 + 300.0 * (i - 1) - d;
        const double yL = 3200 + 300.0 * (i - 1) - d;
        if (isSeparatorRow(g, i)) {
            line(s, 0, yL, 10000, yL);
            d += 200;
            trialLineDrawn = false;
            continue;
        }
        for (int j = 1; j <= parts_; ++j) {
            DrP(pagePosition(2000 + w * j - 50), pagePosition(yT), g.text(i, j + 1), 2, s);
        }
        DrP(9900, pagePosition(yT), g.text(i, average), 2, s);
        if (g.isFixed(i, average)) {
            line(s, 0, yL, 10000, yL);
        } else if (!trialLineDrawn) {
            line(s, 0, yL, 10000, yL);
            trialLineDrawn = true;
        } else {
            line(s, 2000, yL, 10000, yL);  // the name column stays open within a block
        }
    }
    setFont(s, 8, false);
    double yB = 3250 + 300.0 * (qMax(g.rows, 1) - 1) - d;
    line(s, 0, yB, 10000, yB);
    for (int j = 0; j <= parts_; ++j) {
        line(s, 2000 + j * w, 2950, 2000 + j * w, yB);
    }
    line(s, 9100, 2950, 9100, yB);
    yB += 50;
    setZoomedLineWidth(s, 2);
    line(s, 0, yB, 10000, yB);
    setZoomedLineWidth(s, 1);
    yB += 50;
    line(s, 0, yB, 10000, yB);
    return yB;
}

// The values are drawn at 8 points; when the widest of them would run into the next
// column (ten parts of long numbers), all of them get the smaller size that fits.
double ReportPage::valueFontSize(const Surface& s, double columnWidth) const {
    const GridLayout& g = in_.grid;
    double widest = 0;
    for (int i = 1; i < g.rows; ++i) {
        for (int j = 2; j <= parts_ + 1; ++j) {
            widest = std::max(widest, pageWidth(s, g.text(i, j)));
        }
    }
    const double room = columnWidth - 100;
    return widest > room && room > 0 ? std::max(5.0, 8 * room / widest) : 8.0;
}

// Summary-row labels at their rows; an appraiser's name centred on its trial rows and
// kept inside the name column.
void ReportPage::drawTableLabels(Surface& s) const {
    constexpr double kNameColumn = 1950 - 100;
    const GridLayout& g = in_.grid;
    double d = 0;
    for (int i = 1; i < g.rows; ++i) {
        const double yT = 3250 + 300.0 * (i - 1) - d;
        const QString text = g.text(i, 1);
        if (isSeparatorRow(g, i)) {
            d += 200;
        } else if (g.isFixed(i, 1)) {
            DrP(100, pagePosition(yT), text, 0, s);
        } else {
            DrP(100, pagePosition(yT + 150.0 * (trials_ - 1)), fitted(s, text, kNameColumn), 0, s);
            i += qMax(trials_ - 1, 0);
        }
    }
}

// The frame, the names and the scale of the chart below the table, then its series.
void ReportPage::drawChart(Surface& s, double y0) const {
    const MeasuredValues& m = in_.measured;
    const ChartGeometry g =
        ChartGeometry::forReport(y0, appraisers_, parts_, m.lo.number(), m.hi.number());
    for (int i = 1; i <= appraisers_; ++i) {
        DrP(pagePosition(100 + g.bandWidth * (i - 1)), pagePosition(y0 + 2050),
            fitted(s, m.names.value(i - 1).toText(in_.regional), g.bandWidth - 200), 0, s);
    }
    line(s, 0, y0 + 2000, 9000, y0 + 2000);
    line(s, 0, y0 + 2300, 10000, y0 + 2300);
    line(s, 9000, y0, 9000, y0 + 2300);
    for (int i = 1; i < appraisers_; ++i) {
        line(s, g.bandWidth * i, y0, g.bandWidth * i, y0 + 2300);
    }
    setZoomedLineWidth(s, 2);
    line(s, 0, y0 + 2350, 10000, y0 + 2350);
    setZoomedLineWidth(s, 1);
    DrP(9050, pagePosition(y0 + 50), formatted(m.hi), 0, s);
    DrP(9050, pagePosition(y0 + 1800), formatted(m.lo), 0, s);
    ChartSeries{m, appraisers_, parts_, trials_}.draw(s, g, in_.PW, zoom_);
}

void ReportPage::drawResults(Surface& s, double y0) const {
    const double y1 = y0 + 2350;
    setFont(s, 12, true);
    DrP(5000, pagePosition(y1 + 100), QStringLiteral("Wyniki analizy R&R"), 1, s);
    setFont(s, 10, false);
    const double y2 = y1 + 300;
    auto panel = [this](int index) { return in_.panels[static_cast<std::size_t>(index)]; };
    auto percent = [&](int index) { return panel(index) + QStringLiteral(" %"); };
    struct Row {
        int offset;
        const char* leftLabel;
        int leftPanel;
        int percentPanel;  // -1: none
        const char* rightLabel;
        int rightPanel;
    };
    const Row rows[] = {
        {100, "Rozstęp średnich Rp =", Panels::kRp, -1, nullptr, -1},
        {350, "Rozstęp średni R =", Panels::kMeanRange, -1,
         "Zmienność pomiędzy częściami PV =", Panels::kPV},
        {600, "Różnica średnich Xdif =", Panels::kXdif, -1,
         "Zmienność całkowita TV =", Panels::kTV},
        {850, "Powtarzalność EV =", Panels::kEV, Panels::kPercentEV,
         "Rozdzielczość =", Panels::kResolution},
        {1100, "Odtwarzalność AV =", Panels::kAV, Panels::kPercentAV,
         "Dla poziomu odniesienia REF =", Panels::kREF},
        {1350, "R&R =", Panels::kRR, Panels::kPercentRR, nullptr, -1},
    };
    // The percentages share one right edge: 4000, or as far right as the widest value
    // needs, never past 4400 (the declared error starts at 4500).
    double percentEdge = 4000;
    for (const Row& row : rows) {
        if (row.percentPanel >= 0) {
            percentEdge = std::max(percentEdge, 2600 + pageWidth(s, panel(row.leftPanel)) +
                                                    pageWidth(s, QStringLiteral("  ")) +
                                                    pageWidth(s, percent(row.percentPanel)));
        }
    }
    percentEdge = std::min(percentEdge, 4400.0);
    for (const Row& row : rows) {
        const int y = pagePosition(y2 + row.offset);
        DrP(2500, y, QString::fromUtf8(row.leftLabel), 2, s);
        DrP(2600, y, panel(row.leftPanel), 0, s);
        if (row.percentPanel >= 0) {
            DrP(pagePosition(percentEdge), y, percent(row.percentPanel), 2, s);
        }
        if (row.rightLabel) {
            DrP(8500, y, QString::fromUtf8(row.rightLabel), 2, s);
            DrP(8600, y, panel(row.rightPanel), 0, s);
        }
    }
    drawDeclaredError(s, y2 + 1350);
}

// Beside the R&R row from 4500 to 9900; a longer text goes on below it, broken at a
// blank where it can be, and only the second line is ever cut.
void ReportPage::drawDeclaredError(Surface& s, double y) const {
    constexpr double kRoom = 9900 - 4500;
    const QString text =
        QString::fromUtf8("Deklarowany błąd wskazań przyrządu pomiarowego : ") + plain("BladP");
    int cut = TextFitting::charactersFitting(s, text, kRoom * zoom_);
    const int blank = text.lastIndexOf(QLatin1Char(' '), cut);
    if (cut < text.size() && blank > 0) {
        cut = blank + 1;
    }
    DrP(4500, pagePosition(y), text.left(cut).trimmed(), 0, s);
    const QString rest = text.mid(cut).trimmed();
    if (!rest.isEmpty()) {
        DrP(4500, pagePosition(y + 250), fitted(s, rest, kRoom), 0, s);
    }
}

void ReportPage::drawEvaluation(Surface& s) const {
    setFont(s, 12, true);
    DrP(5000, 13100, QStringLiteral("OCENA ANALIZY"), 1, s);
    setFont(s, 10, false);
    setZoomedLineWidth(s, 2);
    line(s, 0, 13050, 10000, 13050);
    setZoomedLineWidth(s, 1);
    for (const int y : {13450, 13750, 14050, 14350}) {
        line(s, 0, y, 10000, y);
    }
    line(s, 3000, 13450, 3000, 14700);
    auto panel = [this](int index) { return in_.panels[static_cast<std::size_t>(index)]; };
    DrP(100, 13500, QString::fromUtf8("Powtarzalność EV :"), 0, s);
    DrP(2800, 13500, panel(Panels::kPercentEV) + QStringLiteral(" %"), 2, s);
    DrP(100, 13800, QString::fromUtf8("Odtwarzalność AV :"), 0, s);
    DrP(2800, 13800, panel(Panels::kPercentAV) + QStringLiteral(" %"), 2, s);
    DrP(100, 14100, QStringLiteral("R&R :"), 0, s);
    DrP(2800, 14100, panel(Panels::kPercentRR) + QStringLiteral(" %"), 2, s);
    DrP(100, 14400, QString::fromUtf8("Rozdzielczość :"), 0, s);
    DrP(2550, 14400, panel(Panels::kResolution), 2, s);
}
