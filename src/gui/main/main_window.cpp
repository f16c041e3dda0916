#include "main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

#include "analysis_number_model.h"
#include "caption_parts.h"
#include "commands.h"
#include "data_grid.h"
#include "inform.h"
#include "modal_commands.h"
#include "panel_label.h"
#include "result_symbol.h"
#include "session.h"
#include "twips.h"
#include "verdict_colour.h"

namespace {

const QColor kWhite(255, 255, 255);

QLabel* unitLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return label;
}

}  // namespace

Kalmet::Kalmet(const UiEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), env_(environment) {
    setObjectName(QStringLiteral("Kalmet"));
    setWindowTitle(QStringLiteral("Kalmet III"));
    buildMenu();
    buildWindow();
    setReportCommandsEnabled(false);
    clearResults();
    qApp->installEventFilter(this);
}

Kalmet::~Kalmet() {
    qApp->removeEventFilter(this);
    // The base class closes the window after this body: the focus leaves Combo1, which
    // then reports its text as a choice to a window whose members are gone.
    disconnect(combo_, nullptr, this, nullptr);
}

void Kalmet::buildMenu() {
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addEntry = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    auto addSeparator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* analysis = addMenu("Analiza", "&Analiza");
    addEntry(analysis, "NowaAnaliza", "&1. Nowa analiza");
    addEntry(analysis, "PoprawAnaliza", "&2. Popraw analizę");
    addEntry(analysis, "UsunAnaliza", "&3. Usuń analizę");
    addSeparator(analysis, "nic0");
    printAnalysis_ = addEntry(analysis, "DrukujAnaliza", "&4. Drukuj analizę");
    addSeparator(analysis, "nic1");
    quit_ = addEntry(analysis, "Koniec", "&Koniec");
    connect(quit_, &QAction::triggered, this, [] { QCoreApplication::exit(0); });

    QMenu* dataMenu = addMenu("MenDane", "&Dane");
    newSeries_ = addEntry(dataMenu, "NowaDana", "&1. Wprowadź serię danych");
    addEntry(dataMenu, "PoprawDana", "&2. Popraw serię danych");
    addEntry(dataMenu, "UsunDana", "&3. Usuń serię danych");
    addEntry(dataMenu, "UsunDanaW", "&4. Usuń wszystkie dane");

    chart_ = menuBar()->addAction(QStringLiteral("&Wykres"));
    chart_->setObjectName(QStringLiteral("WykKalmet"));
    QAction* settings = menuBar()->addAction(QStringLiteral("&Ustawienia"));
    settings->setObjectName(QStringLiteral("Ustawienia"));

    QMenu* tools = addMenu("Narzedzia", "&Narzędzia");
    anova_ = addEntry(tools, "Anova", "&1. Analiza wariancji (ANOVA)");
    controlCharts_ = addEntry(tools, "KartyKontrolne", "&2. Karty kontrolne X̄–R");
    addSeparator(tools, "nic2");
    exportAnalysis_ = addEntry(tools, "EksportAnalizy", "&3. Eksport analizy…");
    addEntry(tools, "ImportSerii", "&4. Import serii z pliku CSV…");
    addSeparator(tools, "nic3");
    addEntry(tools, "WeryfikacjaObliczen", "&5. Weryfikacja obliczeń…");
    addEntry(tools, "PrzyrzadyPomiarowe", "&6. Przyrządy pomiarowe…");
}

// A line in red plain text, hidden until there is something to say.
QLabel* Kalmet::makeWarningLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(red);
    label->hide();
    return label;
}

QLabel* Kalmet::makePanel(int index, Qt::Alignment alignment) {
    auto* panel = new PanelLabel;
    panel->setObjectName(QStringLiteral("SSPanel1_%1").arg(index));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setMinimumHeight(Twips::toPixels(300, logicalDpiY()));
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, kWhite);
    panel->setPalette(p);
    panels_[static_cast<std::size_t>(index)] = panel;
    return panel;
}

QLabel* Kalmet::makeCaption(int index, const QString& caption, QString* unit) {
    const CaptionParts parts = CaptionParts::split(caption);
    auto* label = new QLabel(parts.label);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setProperty("caption", caption);
    if (unit) {
        *unit = parts.unit;
    }
    return label;
}

QWidget* Kalmet::buildSelectorFrame() {
    auto* frame = new QGroupBox;
    frame->setObjectName(QStringLiteral("FrameNumer"));
    auto* grid = new QGridLayout(frame);
    combo_ = new QComboBox;
    combo_->setObjectName(QStringLiteral("Combo1"));
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    // No completion: it would scan every stored number on each selection.
    combo_->setCompleter(nullptr);
    combo_->setMinimumWidth(Twips::toPixels(1800, logicalDpiX()));
    // Sized for a number of the usual length instead of measuring every stored number.
    combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo_->setMinimumContentsLength(12);
    if (auto* list = qobject_cast<QListView*>(combo_->view())) {
        list->setUniformItemSizes(true);
    }
    connect(combo_, qOverload<int>(&QComboBox::activated), this, &Kalmet::selectAnalysisAt);
    grid->addWidget(makeCaption(2, QStringLiteral("Numer analizy :")), 0, 0);
    grid->addWidget(combo_, 0, 1);
    const char* captions[] = {
        "Liczba części N :", "Liczba oceniających K :", "Liczba powtórzeń R :"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(makeCaption(10 + i, QString::fromUtf8(captions[i])), i + 1, 0);
        grid->addWidget(makePanel(10 + i, Qt::AlignRight), i + 1, 1);
    }
    return frame;
}

QWidget* Kalmet::buildHeaderFrame() {
    auto* frame = new QGroupBox;
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    struct Slot {
        int panel;
        const char* caption;
        int row;
        int column;
        int span;
    };
    const Slot places[] = {
        {0, "Nazwa części :", 0, 0, 1},
        {3, "Nazwa przyrządu :", 0, 3, 1},
        {1, "Numer części :", 1, 0, 1},
        {4, "Numer przyrządu :", 1, 3, 1},
        {9, "Charakterystyka :", 2, 0, 1},
        {5, "Zakres :", 2, 3, 1},
        {6, "Data :", 3, 0, 1},
        {7, "Temperatura :              °C", 3, 3, 1},
        {8, "Wilgotność :               %", 4, 3, 1},
    };
    for (const Slot& s : places) {
        QString unit;
        grid->addWidget(makeCaption(s.panel, QString::fromUtf8(s.caption), &unit), s.row, s.column);
        const bool number = s.panel == 7 || s.panel == 8;
        QLabel* panel = makePanel(s.panel, number ? Qt::AlignRight : Qt::AlignLeft);
        if (unit.isEmpty()) {
            grid->addWidget(panel, s.row, s.column + 1, 1, 2);
        } else {
            grid->addWidget(panel, s.row, s.column + 1);
            grid->addWidget(unitLabel(unit, frame), s.row, s.column + 2);
        }
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(4, 2);
    grid->setColumnMinimumWidth(2, 0);
    grid->setHorizontalSpacing(Twips::toPixels(90, logicalDpiX()));
    return frame;
}

ResultSymbol* Kalmet::makeSymbol(ResultSymbol::Kind kind, const char* text) {
    auto* symbol = new ResultSymbol(kind, QString::fromUtf8(text));
    symbol->setObjectName(QStringLiteral("Image1_%1").arg(symbolCount_++));
    return symbol;
}

QGroupBox* Kalmet::makeResultFrame(const char* title) {
    auto* frame = new QGroupBox(QString::fromUtf8(title));
    frame->setObjectName(QStringLiteral("Frame2_%1").arg(resultFrameCount_++));
    return frame;
}

QLabel* Kalmet::makeValuePanel(int index) {
    QLabel* panel = makePanel(index, Qt::AlignRight);
    panel->setMinimumWidth(Twips::toPixels(1000, logicalDpiX()));
    return panel;
}

// Rozstępy: mean range, Xdif, Rp
QGroupBox* Kalmet::buildRangesFrame() {
    QGroupBox* frame = makeResultFrame("Rozstępy");
    auto* grid = new QGridLayout(frame);
    const struct {
        ResultSymbol::Kind kind;
        int panel;
        const char* caption;
    } rows[] = {
        {ResultSymbol::Kind::MeanRange, Panels::kMeanRange, "Średni                 :"},
        {ResultSymbol::Kind::AveragesDifference, Panels::kXdif, "Średnich             :"},
        {ResultSymbol::Kind::RangeOfAverages, Panels::kRp, "Średnich             :"},
    };
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeSymbol(row.kind, ""), r, 0);
        grid->addWidget(makeCaption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        ++r;
    }
    return frame;
}

// EV, AV, R&R with their percentages, and the reference level
QGroupBox* Kalmet::buildRepeatabilityFrame() {
    QGroupBox* frame = makeResultFrame("Powtarzalność i odtwarzalność");
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
    int r = 0;
    for (const auto& row : rows) {
        grid->addWidget(makeSymbol(ResultSymbol::Kind::Text, row.symbol), r, 0);
        grid->addWidget(makeCaption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        grid->addWidget(makeValuePanel(row.percent), r, 3);
        grid->addWidget(unitLabel(QStringLiteral("%"), frame), r, 4);
        ++r;
    }
    QString refUnit;
    grid->addWidget(makeSymbol(ResultSymbol::Kind::Text, "RF"), r, 0);
    grid->addWidget(
        makeCaption(Panels::kREF,
                    QString::fromUtf8("Wartość odniesienia        :                 -"), &refUnit),
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
QGroupBox* Kalmet::buildVariationFrame() {
    QGroupBox* frame = makeResultFrame("Zmienności");
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
        grid->addWidget(makeCaption(row.panel, QString::fromUtf8(row.caption)), r, 1);
        grid->addWidget(makeValuePanel(row.panel), r, 2);
        ++r;
    }
    return frame;
}

QGroupBox* Kalmet::buildResolutionFrame() {
    QGroupBox* frame = makeResultFrame("    Rozdzielczość    ");
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

QLayout* Kalmet::buildReportButtons() {
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

// The four result frames at their natural height, and the two report buttons.
QWidget* Kalmet::buildResultsRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QGroupBox* frame : {buildRangesFrame(), buildRepeatabilityFrame(), buildVariationFrame(),
                             buildResolutionFrame()}) {
        layout->addWidget(frame, 0, Qt::AlignTop);
    }
    layout->addLayout(buildReportButtons());
    return row;
}

void Kalmet::buildWindow() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* top = new QHBoxLayout;
    top->addWidget(buildSelectorFrame());
    top->addWidget(buildHeaderFrame(), 1);
    layout->addLayout(top);

    auto* caption = new QLabel(QString::fromUtf8("Dane pomiarowe i wyniki obliczeń"));
    caption->setObjectName(QStringLiteral("Label3"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    readFailure_ = makeWarningLabel("LabelBlad");
    layout->addWidget(readFailure_);
    grid_ = new DataGrid;
    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->hide();
    // The grid keeps its place while hidden: the window does not jump when the first
    // series arrives, and the result frames do not stretch into the empty room.
    QSizePolicy gridPolicy = grid_->sizePolicy();
    gridPolicy.setRetainSizeWhenHidden(true);
    grid_->setSizePolicy(gridPolicy);
    // However the highlight moves (mouse, arrows, Home/End, PageDown), the series it
    // stands on is the selected series.
    connect(grid_, &QTableWidget::currentCellChanged, this, [this] { selectClickedSeries(); });
    // A range out of control, double-clicked, leads to its re-measurement.
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        const int appraiser = static_cast<int>(screen_.grid.rangeRows.indexOf(row));
        if (grid_->isFlagged(row, column) && appraiser >= 0) {
            const QScopedValueRollback<bool> running(commandRunning_, true);
            remeasure({appraiser, column - 2, 0});
        }
    });
    // room for the largest study: 20 rows, three of them thin separators
    grid_->setMinimumHeight(Twips::toPixels(17 * 250 + 3 * 60 + 120, logicalDpiY()));
    layout->addWidget(grid_, 1);
    controlWarning_ = makeWarningLabel("LabelKontrola");
    layout->addWidget(controlWarning_);
    layout->addWidget(buildResultsRow());
    setCentralWidget(central);
}

void Kalmet::load(Session& session) {
    session_ = &session;
    // A write waits while another program reads the file (up to half a minute): the user
    // sees why the window does not answer.
    session.database().setWaitingNotice([this](int waitedMs) { showWaiting(waitedMs); });
    commands_ = std::make_unique<Commands>(*this, session, env_);
    modalCommands_ = std::make_unique<ModalCommands>(*this, session, env_);
    connectCommands();
    numbers_ = new AnalysisNumberModel(session, combo_);
    combo_->setModel(numbers_);  // owns and drops the previous model
    RecordSet& analyses = session.analyses();
    analyses.clearReadError();
    const int last = combo_->count() - 1;
    if (last < 0) {
        return;
    }
    // The number of the analysis to show is read first: a read that fails is told, never
    // left as an empty window.
    if (!analyses.readFieldAt(last, QStringLiteral("Numer"))) {
        showReadFailure(QString(), analyses.readError());
        return;
    }
    selectAnalysisAt(last);
}

void Kalmet::showWaiting(int waitedMs) {
    statusBar()->showMessage(
        QString::fromUtf8("Czekam na dostęp do pliku… (używa go inny program, np. kalmet-cli "
                          "export-all) — %1 s")
            .arg(waitedMs / 1000));
    statusBar()->repaint();  // the event loop waits with the statement
}

void Kalmet::connectCommands() {
    Commands* editing = commands_.get();
    ModalCommands* windows = modalCommands_.get();
    const std::pair<const char*, std::function<void()>> entries[] = {
        {"NowaAnaliza", [editing] { editing->newAnalysis(); }},
        {"PoprawAnaliza", [editing] { editing->editAnalysis(); }},
        {"UsunAnaliza", [editing] { editing->deleteAnalysis(); }},
        {"NowaDana", [editing] { editing->newSeries(); }},
        {"PoprawDana", [editing] { editing->editSeries(); }},
        {"UsunDana", [editing] { editing->deleteSeries(); }},
        {"UsunDanaW", [editing] { editing->deleteAllSeries(); }},
        {"DrukujAnaliza", [windows] { windows->preview(); }},
        {"WykKalmet", [windows] { windows->chart(); }},
        {"Ustawienia", [windows] { windows->settings(); }},
        {"Anova", [windows] { windows->anova(); }},
        {"KartyKontrolne", [windows] { windows->controlCharts(); }},
        {"EksportAnalizy", [editing] { editing->exportAnalysis(); }},
        {"ImportSerii", [editing] { editing->importSeries(); }},
        {"WeryfikacjaObliczen", [windows] { windows->verification(); }},
        {"PrzyrzadyPomiarowe", [windows] { windows->gaugeProfiles(); }}};
    for (const auto& [name, command] : entries) {
        auto* action = findChild<QAction*>(QString::fromLatin1(name));
        disconnect(action, &QAction::triggered, this, nullptr);
        connect(action, &QAction::triggered, this, [this, command = command] {
            const QScopedValueRollback<bool> running(commandRunning_, true);
            command();
            setStatusBar(nullptr);  // a wait told is over with the command
        });
    }
    connect(previewButton_, &QPushButton::clicked, printAnalysis_, &QAction::trigger,
            Qt::UniqueConnection);
    connect(chartButton_, &QPushButton::clicked, chart_, &QAction::trigger, Qt::UniqueConnection);
}

void Kalmet::appendAndSelect(const QString& numer) {
    numbers_->reload();  // the record set holds the new row at its end
    const int last = combo_->count() - 1;
    if (last >= 0 && combo_->itemText(last) == numer) {
        selectAnalysisAt(last);
    }
}

void Kalmet::removeAnalysisAndSelectLast() {
    numbers_->reload();  // the record set no longer holds the deleted row
    if (combo_->count() == 0) {
        clearScreen();  // nothing is selected any more
        return;
    }
    selectAnalysisAt(combo_->count() - 1);
}

void Kalmet::clearScreen() {
    screen_ = AnalysisScreen();
    setReportCommandsEnabled(false);
    combo_->setEditText(QString());
    for (const int i : Panels::headerIndices()) {
        panel(i)->clear();
    }
    label2_->clear();
    readFailure_->hide();
    controlWarning_->hide();
    grid_->clearToOneRow();
    grid_->hide();
    clearResults();
    newSeries_->setEnabled(true);
}

void Kalmet::showAboutWindow() {
    Inform about(*env_.dialogs, this);
    env_.showModal(about);
}

void Kalmet::selectAnalysisAt(int index) {
    combo_->setCurrentIndex(index);
    selectAnalysis();
}

void Kalmet::setReportCommandsEnabled(bool on) {
    printAnalysis_->setEnabled(on);
    chart_->setEnabled(on);
    anova_->setEnabled(on);
    controlCharts_->setEnabled(on);
    exportAnalysis_->setEnabled(on);
    chartButton_->setEnabled(on);
    previewButton_->setEnabled(on);
}

void Kalmet::setPanelColour(int index, const QColor& colour) {
    QLabel* p = panel(index);
    QPalette palette = p->palette();
    palette.setColor(QPalette::Window, colour);
    p->setPalette(palette);
}

void Kalmet::selectAnalysis() {
    setReportCommandsEnabled(false);
    if (!session_) {
        return;
    }
    const QString numer = combo_->currentText();
    AnalysisScreen screen = AnalysisScreen::select(*session_, numer);
    if (screen.failed()) {
        showReadFailure(numer, screen.readError);
        screen_ = std::move(screen);
        return;
    }
    reportedFailure_.clear();
    readFailure_->hide();
    if (!screen.found) {
        return;  // the previous analysis stays on screen
    }
    // Rendered from this copy: the focus moves while the grid fills, and Combo1 may
    // report its choice again, re-entering this handler.
    showHeader(screen);
    grid_->hide();
    clearResults();
    newSeries_->setEnabled(true);
    if (screen.hasSeries) {
        Tablica(screen.study, screen.grid.layout, screen.results);
    }
    controlWarning_->setText(screen.controlWarning);
    controlWarning_->setVisible(!screen.controlWarning.isEmpty());
    screen_ = std::move(screen);
    combo_->setFocus();
}

// A read that failed shows no data at all, so nothing stale or empty can pass for a
// result, and the user is told why: in a box once, and in the window until a read
// succeeds (the next activation from another of the program's windows reads again).
void Kalmet::showReadFailure(const QString& numer, const QString& cause) {
    for (const int i : Panels::headerIndices()) {
        panel(i)->clear();
    }
    label2_->clear();
    controlWarning_->hide();
    grid_->clearToOneRow();
    grid_->hide();
    clearResults();
    const QString what = numer.isNull() ? QString::fromUtf8("listy analiz")
                                        : QString::fromUtf8("analizy „%1”").arg(numer);
    const QString text = QString::fromUtf8(
                             "Nie można odczytać %1 z bazy danych: %2.\n\n"
                             "Wyniki nie są pokazane.")
                             .arg(what, cause);
    readFailure_->setText(text);
    readFailure_->show();
    if (text == reportedFailure_) {
        return;
    }
    reportedFailure_ = text;
    const QScopedValueRollback<bool> telling(commandRunning_, true);
    env_.dialogs->message(text, QString::fromLatin1(Dialogs::kWarningTitle),
                          Dialogs::Icon::Critical);
}

void Kalmet::showHeader(const AnalysisScreen& screen) {
    for (const int i : Panels::headerIndices()) {
        panel(i)->setText(screen.header[static_cast<std::size_t>(i)]);
    }
    if (screen.referenceCode) {
        label2_->setText(*screen.referenceCode);
    }
}

void Kalmet::clearResults() {
    for (const int i : Panels::resultIndices()) {
        panel(i)->clear();
    }
    setPanelColour(Panels::kPercentRR, kWhite);
    setPanelColour(Panels::kResolution, kWhite);
}

void Kalmet::showResults(const StudyOutput& study, const ResultTexts::Texts& texts) {
    for (const int i : Panels::resultIndices()) {
        panel(i)->setText(texts[static_cast<std::size_t>(i)]);
    }
    setPanelColour(Panels::kResolution, verdictColour(study.resolutionVerdict));
    setPanelColour(Panels::kPercentRR, verdictColour(study.rrVerdict));
}

void Kalmet::Tablica(const StudyOutput& study, const GridLayout& grid,
                     const ResultTexts::Texts& texts) {
    grid_->clearToOneRow();
    grid_->hide();
    grid_->showLayout(grid);
    if (study.complete) {
        setReportCommandsEnabled(true);
        showResults(study, texts);
        newSeries_->setEnabled(false);
    } else {
        clearResults();
    }
    grid_->show();
    // The fill leaves the series-average column current once a block's summary rows
    // were coloured; the click on row 1 then selects the first series.
    const bool anySummary = grid.fixed.contains(true);
    grid_->setCurrentCell(1, anySummary ? grid.columns - 1 : 1);
    selectClickedSeries();
}

void Kalmet::selectClickedSeries() {
    RecordSet* series = session_ ? session_->series() : nullptr;
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (!series || row < 0 || column < 0) {
        return;
    }
    const bool selectable = !grid_->cellText(row, column).isEmpty() &&
                            !grid_->isFixedColour(row, column) && grid_->rowHeightTwips(row) > 100;
    if (!selectable) {
        return;
    }
    bool isNumber = false;
    const int n = grid_->cellText(row, 0).toInt(&isNumber);
    if (!isNumber || n < 1) {
        return;
    }
    series->moveFirst();
    series->move(n - 1);
}

// The series editor on the flagged part of the appraiser's trial that lies farthest
// from the subgroup's mean (the wild reading), the reason recorded with the correction.
void Kalmet::remeasure(const ControlLimits::Flag& flag) {
    if (!screen_.anovaInput || !screen_.control || !commands_) {
        return;
    }
    const int trials = screen_.control->trials;
    const int wild = ControlLimits::trialToRemeasure(screen_.anovaInput->y, flag);
    const int rangeRow = screen_.grid.rangeRows.value(flag.appraiser);
    grid_->setCurrentCell(rangeRow - 1 - trials + wild, flag.part + 2);
    const QString range = screen_.grid.layout.text(rangeRow, flag.part + 2);
    const QString why = QString::fromUtf8("Powtórzony pomiar: rozstęp %1 poza granicą kontrolną")
                            .arg(range.trimmed());
    commands_->editSeries(flag.part, why);
}

// The refresh on activation is meant for the program's own windows: start-up and the
// return from one of its modal windows. Coming back from another program (no window of
// the program was active before) changes nothing, so the selected series stays the one
// the user clicked; and while a command runs (its questions, its editor), it refreshes
// the window itself when it is done, so the series it acts on cannot change under it.
bool Kalmet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActivationChange && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isActiveWindow()) {
            const bool fromOwnWindow = previousActiveWindow_ != nullptr;
            previousActiveWindow_ = window;
            if (window == this && fromOwnWindow && !commandRunning_) {
                refreshOnActivation();
            }
        } else if (!QApplication::activeWindow()) {
            previousActiveWindow_ = nullptr;  // another program has the desktop's focus
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Kalmet::refreshOnActivation() {
    combo_->setFocus();
    selectAnalysis();
    update();
}
