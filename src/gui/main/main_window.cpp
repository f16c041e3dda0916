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
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

#include "analysis_number_model.h"
#include "attribute_results.h"
#include "data_grid.h"
#include "inform.h"
#include "linearity_results.h"
#include "panel_label.h"
#include "report_inputs.h"
#include "result_panels.h"
#include "session.h"
#include "twips.h"
#include "type1_results.h"
#include "window_commands.h"

namespace {

QLabel* unitLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return label;
}

// The menu bar as one table, in its order: a menu, the entries under it (an entry without
// a caption is a separator), an entry of the bar itself. An entry without a command ends
// the program; a report entry needs a complete study.
enum class Item { Menu, Entry, Separator, BarEntry };
struct MenuItem {
    Item item;
    const char* name;
    const char* caption;
    void (*command)(WindowCommands&);
    bool report;
};

const MenuItem kMenu[] = {
    {Item::Menu, "Analiza", "&Analiza", nullptr, false},
    {Item::Entry, "NowaAnaliza", "&1. Nowa analiza",
     [](WindowCommands& c) { c.analysis.newAnalysis(); }, false},
    {Item::Entry, "PoprawAnaliza", "&2. Popraw analizę",
     [](WindowCommands& c) { c.analysis.editAnalysis(); }, false},
    {Item::Entry, "UsunAnaliza", "&3. Usuń analizę",
     [](WindowCommands& c) { c.analysis.deleteAnalysis(); }, false},
    {Item::Separator, "nic0", nullptr, nullptr, false},
    {Item::Entry, "DrukujAnaliza", "&4. Drukuj analizę",
     [](WindowCommands& c) { c.windows.preview(); }, true},
    {Item::Separator, "nic1", nullptr, nullptr, false},
    {Item::Entry, "Koniec", "&Koniec", nullptr, false},
    {Item::Menu, "MenDane", "&Dane", nullptr, false},
    {Item::Entry, "NowaDana", "&1. Wprowadź serię danych",
     [](WindowCommands& c) { c.series.newSeries(); }, false},
    {Item::Entry, "PoprawDana", "&2. Popraw serię danych",
     [](WindowCommands& c) { c.series.editSeries(); }, false},
    {Item::Entry, "UsunDana", "&3. Usuń serię danych",
     [](WindowCommands& c) { c.series.deleteSeries(); }, false},
    {Item::Entry, "UsunDanaW", "&4. Usuń wszystkie dane",
     [](WindowCommands& c) { c.series.deleteAllSeries(); }, false},
    {Item::BarEntry, "WykKalmet", "&Wykres", [](WindowCommands& c) { c.windows.chart(); }, true},
    {Item::BarEntry, "Ustawienia", "&Ustawienia", [](WindowCommands& c) { c.windows.settings(); },
     false},
    {Item::Menu, "Narzedzia", "&Narzędzia", nullptr, false},
    {Item::Entry, "Anova", "&1. Analiza wariancji (ANOVA)",
     [](WindowCommands& c) { c.windows.anova(); }, true},
    {Item::Entry, "KartyKontrolne", "&2. Karty kontrolne X̄–R",
     [](WindowCommands& c) { c.windows.controlCharts(); }, true},
    {Item::Separator, "nic2", nullptr, nullptr, false},
    {Item::Entry, "EksportAnalizy", "&3. Eksport analizy…",
     [](WindowCommands& c) { c.files.exportAnalysis(); }, true},
    {Item::Entry, "ImportSerii", "&4. Import serii z pliku CSV…",
     [](WindowCommands& c) { c.files.importSeries(); }, false},
    {Item::Separator, "nic3", nullptr, nullptr, false},
    {Item::Entry, "WeryfikacjaObliczen", "&5. Weryfikacja obliczeń…",
     [](WindowCommands& c) { c.windows.verification(); }, false},
    {Item::Entry, "PrzyrzadyPomiarowe", "&6. Przyrządy pomiarowe…",
     [](WindowCommands& c) { c.windows.gaugeProfiles(); }, false},
};

// The commands of the crossed study only: a series of one appraiser, its charts, its ANOVA.
const char* const kCrossedOnlyActions[] = {"UsunDana", "WykKalmet", "Anova", "KartyKontrolne"};

}  // namespace

Kalmet::Kalmet(const UiEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), env_(environment) {
    setObjectName(QStringLiteral("Kalmet"));
    setWindowTitle(QStringLiteral("Kalmet III"));
    buildMenu();
    buildWindow();
    setReportCommandsEnabled(false);
    qApp->installEventFilter(this);
}

Kalmet::~Kalmet() {
    qApp->removeEventFilter(this);
    // The base class closes the window after this body: the focus leaves Combo1, which
    // then reports its text as a choice to a window whose members are gone.
    disconnect(combo_, nullptr, this, nullptr);
}

void Kalmet::buildMenu() {
    QMenu* menu = nullptr;
    for (const MenuItem& m : kMenu) {
        const QString name = QString::fromLatin1(m.name);
        if (m.item == Item::Separator) {
            menu->addSeparator()->setObjectName(name);
            continue;
        }
        if (m.item == Item::Menu) {
            menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            continue;
        }
        QAction* action = m.item == Item::BarEntry
                              ? menuBar()->addAction(QString::fromUtf8(m.caption))
                              : menu->addAction(QString::fromUtf8(m.caption));
        action->setObjectName(name);
        if (m.report) {
            reportActions_ << action;
        }
        if (!m.command) {
            connect(action, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
            continue;
        }
        connect(action, &QAction::triggered, this,
                [this, command = m.command] { runCommand(command); });
    }
    newSeries_ = findChild<QAction*>(QStringLiteral("NowaDana"));
}

// A command of the menu, once the session is open; the window shows what it changed.
void Kalmet::runCommand(void (*command)(WindowCommands&)) {
    if (!commands_) {
        return;
    }
    const QScopedValueRollback<bool> running(commandRunning_, true);
    command(*commands_);
    setStatusBar(nullptr);  // a wait told is over with the command
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

QLabel* Kalmet::panel(int index) const {
    return index >= 0 && index <= Panels::kLastHeader
               ? headerPanels_[static_cast<std::size_t>(index)]
               : results_->panel(index);
}

QLabel* Kalmet::makeHeaderPanel(int index, Qt::Alignment alignment) {
    QLabel* panel = PanelLabel::valuePanel(index, alignment, logicalDpiY());
    headerPanels_[static_cast<std::size_t>(index)] = panel;
    return panel;
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
    grid->addWidget(PanelLabel::caption(2, QStringLiteral("Numer analizy :")), 0, 0);
    grid->addWidget(combo_, 0, 1);
    const char* captions[] = {
        "Liczba części N :", "Liczba oceniających K :", "Liczba powtórzeń R :"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(PanelLabel::caption(10 + i, QString::fromUtf8(captions[i])), i + 1, 0);
        grid->addWidget(makeHeaderPanel(10 + i, Qt::AlignRight), i + 1, 1);
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
        grid->addWidget(PanelLabel::caption(s.panel, QString::fromUtf8(s.caption), &unit), s.row,
                        s.column);
        const bool number = s.panel == 7 || s.panel == 8;
        QLabel* panel = makeHeaderPanel(s.panel, number ? Qt::AlignRight : Qt::AlignLeft);
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

// The crossed study's page: its grid, the line of ranges out of control, its results.
QWidget* Kalmet::buildCrossedStudyPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("StronaRR"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
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
    results_ = new ResultPanels;
    layout->addWidget(results_);
    const auto trigger = [this](const char* name) {
        return [action = findChild<QAction*>(QString::fromLatin1(name))] { action->trigger(); };
    };
    connect(results_->previewButton(), &QPushButton::clicked, this, trigger("DrukujAnaliza"));
    connect(results_->chartButton(), &QPushButton::clicked, this, trigger("WykKalmet"));
    return page;
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
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("Wyniki"));
    crossedPage_ = buildCrossedStudyPage();
    pages_->addWidget(crossedPage_);
    type1Page_ = new Type1Results;
    pages_->addWidget(type1Page_);
    linearityPage_ = new LinearityResults;
    pages_->addWidget(linearityPage_);
    attributePage_ = new AttributeResults;
    pages_->addWidget(attributePage_);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);
}

void Kalmet::load(Session& session, FirstStudy first) {
    session_ = &session;
    // A write waits while another program reads the file (up to half a minute): the user
    // sees why the window does not answer.
    session.database().setWaitingNotice([this](int waitedMs) { showWaiting(waitedMs); });
    commands_ = std::make_unique<WindowCommands>(*this, session, env_);
    numbers_ = new AnalysisNumberModel(session, combo_);
    combo_->setModel(numbers_);  // owns and drops the previous model
    RecordSet& analyses = session.analyses();
    analyses.clearReadError();
    const int last = combo_->count() - 1;
    if (last < 0) {
        return;
    }
    if (first == FirstStudy::AfterFirstPaint) {
        combo_->setCurrentIndex(last);  // what an activation before the paint selects
        studyAfterPaint_ = true;
        return;
    }
    selectLastAnalysis();
}

// The number of the analysis to show is read first: a read that fails is told, never
// left as an empty window.
void Kalmet::selectLastAnalysis() {
    const int last = combo_->count() - 1;
    if (last < 0) {
        return;
    }
    RecordSet& analyses = session_->analyses();
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
    type1Page_->clear();
    linearityPage_->clear();
    attributePage_->clear();
    showPageOf(StudyKind::Crossed);
    setReportCommandsEnabled(false);
    combo_->setEditText(QString());
    clearHeader();
    readFailure_->hide();
    controlWarning_->hide();
    grid_->clearToOneRow();
    grid_->hide();
    results_->clearResults();
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
    for (QAction* action : reportActions_) {
        action->setEnabled(on);
    }
    results_->setReportButtonsEnabled(on);
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
    results_->clearResults();
    newSeries_->setEnabled(true);
    showPageOf(screen.kind);
    if (screen.kind != StudyKind::Crossed) {
        showKindStudy(screen);
    } else if (screen.hasSeries) {
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
    clearHeader();
    controlWarning_->hide();
    grid_->clearToOneRow();
    grid_->hide();
    results_->clearResults();
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
        results_->setReferenceCode(*screen.referenceCode);
    }
}

void Kalmet::clearHeader() {
    for (const int i : Panels::headerIndices()) {
        panel(i)->clear();
    }
    results_->clearReferenceCode();
}

// The results area shows the page of the analysis's kind; the commands that do not apply
// to that kind are disabled.
void Kalmet::showPageOf(StudyKind kind) {
    const bool crossed = kind == StudyKind::Crossed;
    QWidget* const pages[] = {crossedPage_, type1Page_, linearityPage_, attributePage_};
    pages_->setCurrentWidget(pages[static_cast<int>(kind)]);
    findChild<QAction*>(QStringLiteral("UsunDana"))->setEnabled(crossed);
    if (!crossed) {
        disableCrossedCommands();
    }
}

void Kalmet::disableCrossedCommands() {
    for (const char* name : kCrossedOnlyActions) {
        findChild<QAction*>(QString::fromLatin1(name))->setEnabled(false);
    }
}

// A study of another kind: its page, and its report once it has figures.
void Kalmet::showKindStudy(const AnalysisScreen& screen) {
    const ReportInputs inputs = ReportInputs::gather(*session_, screen, env_.now());
    if (screen.kind == StudyKind::Linearity) {
        linearityPage_->showStudy(inputs);
    } else if (screen.kind == StudyKind::Attribute) {
        attributePage_->showStudy(inputs);
    } else {
        type1Page_->showStudy(inputs);
    }
    if (screen.hasKindResults()) {
        setReportCommandsEnabled(true);
        disableCrossedCommands();
    }
}

void Kalmet::Tablica(const StudyOutput& study, const GridLayout& grid,
                     const ResultTexts::Texts& texts) {
    grid_->clearToOneRow();
    grid_->hide();
    grid_->showLayout(grid);
    if (study.complete) {
        setReportCommandsEnabled(true);
        results_->showResults(study, texts);
        newSeries_->setEnabled(false);
    } else {
        results_->clearResults();
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
    commands_->series.editSeries(flag.part, why);
}

// The refresh on activation is meant for the program's own windows: start-up and the
// return from one of its modal windows. Coming back from another program (no window of
// the program was active before) changes nothing, so the selected series stays the one
// the user clicked; and while a command runs (its questions, its editor), it refreshes
// the window itself when it is done, so the series it acts on cannot change under it.
bool Kalmet::eventFilter(QObject* watched, QEvent* event) {
    if (studyAfterPaint_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        studyAfterPaint_ = false;
        QTimer::singleShot(0, this, [this] {
            if (!screen_.found && !screen_.failed()) {  // unless an activation showed it
                selectLastAnalysis();
            }
        });
    }
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
