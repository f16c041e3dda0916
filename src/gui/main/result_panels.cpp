#include "result_panels.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "panel_label.h"
#include "result_symbol.h"
#include "twips.h"
#include "verdict_colour.h"

namespace {

QLabel* unitLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return label;
}

}  // namespace

// The four result frames at their natural height, and the two report buttons.
ResultPanels::ResultPanels(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QGroupBox* frame : {buildRangesFrame(), buildRepeatabilityFrame(), buildVariationFrame(),
                             buildResolutionFrame()}) {
        layout->addWidget(frame, 0, Qt::AlignTop);
    }
    layout->addLayout(buildReportButtons());
    clearResults();
    setReportButtonsEnabled(false);
}

QLabel* ResultPanels::panel(int index) const {
    return index > Panels::kLastHeader && index < Panels::kCount
               ? panels_[static_cast<std::size_t>(index)]
               : nullptr;
}

QWidget* ResultPanels::makeSymbol(ResultSymbol::Kind kind, const char* text) {
    auto* symbol = new ResultSymbol(kind, QString::fromUtf8(text));
    symbol->setObjectName(QStringLiteral("Image1_%1").arg(symbolCount_++));
    return symbol;
}

QGroupBox* ResultPanels::makeFrame(const char* title) {
    auto* frame = new QGroupBox(QString::fromUtf8(title));
    frame->setObjectName(QStringLiteral("Frame2_%1").arg(frameCount_++));
    return frame;
}

QLabel* ResultPanels::makePanel(int index, Qt::Alignment alignment) {
    QLabel* panel = PanelLabel::valuePanel(index, alignment, logicalDpiY());
    panels_[static_cast<std::size_t>(index)] = panel;
    return panel;
}

QLabel* ResultPanels::makeValuePanel(int index) {
    QLabel* panel = makePanel(index, Qt::AlignRight);
    panel->setMinimumWidth(Twips::toPixels(1000, logicalDpiX()));
    return panel;
}

// Rozstępy: mean range, Xdif, Rp
QGroupBox* ResultPanels::buildRangesFrame() {
    QGroupBox* frame = makeFrame("Rozstępy");
    auto* grid = new QGridLayout(frame);
    using Kind = ResultSymbol::Kind;
    const struct {
        Kind kind;
        int panel;
        const char* caption;
    } rows[] = {
        {Kind::MeanRange, Panels::kMeanRange, "Średni                 :"},
        {Kind::AveragesDifference, Panels::kXdif, "Średnich             :"},
        {Kind::RangeOfAverages, Panels::kRp, "Średnich             :"},
    };
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeSymbol(row.kind, ""), r, 0);
        grid->addWidget(PanelLabel::caption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        ++r;
    }
    return frame;
}

// EV, AV, R&R with their percentages, and the reference level
QGroupBox* ResultPanels::buildRepeatabilityFrame() {
    QGroupBox* frame = makeFrame("Powtarzalność i odtwarzalność");
    auto* grid = new QGridLayout(frame);
    const struct {
        const char* symbol;
        int panel;
        int percent;
        const char* caption;
    } rows[] = {
        {"EV", Panels::kEV, Panels::kPercentEV,
         "Powtarzalność        :                             %"},
        {"AV", Panels::kAV, Panels::kPercentAV,
         "Odtwarzalność        :                             %"},
        {"R&R", Panels::kRR, Panels::kPercentRR, "R&R :"},
    };
    const ResultSymbol::Kind text = ResultSymbol::Kind::Text;
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeSymbol(text, row.symbol), r, 0);
        grid->addWidget(PanelLabel::caption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        grid->addWidget(makeValuePanel(row.percent), r, 3);
        grid->addWidget(unitLabel(QStringLiteral("%"), frame), r, 4);
        ++r;
    }
    QString refUnit;
    grid->addWidget(makeSymbol(text, "RF"), r, 0);
    grid->addWidget(
        PanelLabel::caption(Panels::kREF,
                            QString::fromUtf8("Wartość odniesienia        :                 -"),
                            &refUnit),
        r, 1);
    grid->addWidget(makePanel(Panels::kREF, Qt::AlignRight), r, 2);
    auto* refLine = new QHBoxLayout;
    refLine->addWidget(unitLabel(refUnit, frame));
    label2_ = new QLabel;
    label2_->setObjectName(QStringLiteral("Label2"));
    refLine->addWidget(label2_);
    refLine->addStretch();
    grid->addLayout(refLine, r, 3, 1, 2);
    return frame;
}

// Zmienności: PV, TV
QGroupBox* ResultPanels::buildVariationFrame() {
    QGroupBox* frame = makeFrame("Zmienności");
    auto* grid = new QGridLayout(frame);
    const struct {
        const char* symbol;
        int panel;
        const char* caption;
    } rows[] = {{"PV", Panels::kPV, "Części                             :"},
                {"TV", Panels::kTV, "Całkowita                       :"}};
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeSymbol(ResultSymbol::Kind::Text, row.symbol), r, 0);
        grid->addWidget(PanelLabel::caption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        ++r;
    }
    return frame;
}

QGroupBox* ResultPanels::buildResolutionFrame() {
    QGroupBox* frame = makeFrame("    Rozdzielczość    ");
    auto* layout = new QVBoxLayout(frame);
    QLabel* resolution = makePanel(Panels::kResolution, Qt::AlignHCenter);
    QFont big = resolution->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    resolution->setFont(big);
    resolution->setMinimumSize(Twips::toPixels(1300, logicalDpiX()),
                               Twips::toPixels(600, logicalDpiY()));
    layout->addWidget(resolution);
    layout->addStretch();
    return frame;
}

QLayout* ResultPanels::buildReportButtons() {
    auto* buttons = new QVBoxLayout;
    chartButton_ = new QPushButton(QStringLiteral("Wykonaj wykres analizy"));
    chartButton_->setObjectName(QStringLiteral("SSCommand1"));
    previewButton_ = new QPushButton(QString::fromUtf8("Podgląd wydruku"));
    previewButton_->setObjectName(QStringLiteral("SSCommand2"));
    for (QPushButton* b : {chartButton_, previewButton_}) {
        b->setMinimumHeight(Twips::toPixels(500, logicalDpiY()));
        buttons->addWidget(b);
    }
    buttons->addStretch();
    return buttons;
}

void ResultPanels::setPanelColour(int index, const QColor& colour) {
    QLabel* p = panel(index);
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, colour);
    p->setPalette(palette);
}

void ResultPanels::showResults(const StudyOutput& study, const ResultTexts::Texts& texts) {
    for (const int i : Panels::resultIndices()) {
        panel(i)->setText(texts[static_cast<std::size_t>(i)]);
    }
    setPanelColour(Panels::kResolution, verdictColour(study.resolutionVerdict));
    setPanelColour(Panels::kPercentRR, verdictColour(study.rrVerdict));
}

void ResultPanels::clearResults() {
    for (const int i : Panels::resultIndices()) {
        panel(i)->clear();
    }
    setPanelColour(Panels::kPercentRR, Qt::white);
    setPanelColour(Panels::kResolution, Qt::white);
}

void ResultPanels::setReferenceCode(const QString& code) {
    label2_->setText(code);
}

void ResultPanels::clearReferenceCode() {
    label2_->clear();
}

void ResultPanels::setReportButtonsEnabled(bool on) {
    chartButton_->setEnabled(on);
    previewButton_->setEnabled(on);
}
