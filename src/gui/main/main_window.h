#pragma once

// Kalmet, the main window. It works on the session (database, record sets, shared
// values) that the start-up opened and that outlives it. Choosing an analysis in Combo1 runs the
// selection handler: the non-widget AnalysisScreen positions the record sets and computes the
// study, and the window renders it — header panels, Label2, Grid1 through Tablica, the result
// panels and their verdict colours, and the enabling of the commands. Every command changes the
// database through the session's record sets and then runs the handler again; the handler also runs
// when the window becomes active from another of the program's windows (not when the user comes
// back from another program). The editors and other modal windows are shown through
// UiEnvironment::showModal, messages through its Dialogs.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "analysis_screen.h"
#include "result_symbol.h"
#include "ui_environment.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLayout;
class QLabel;
class QPushButton;
class DataGrid;
class Session;
class Commands;
class ModalCommands;
class AnalysisNumberModel;

class Kalmet : public QMainWindow {
    Q_OBJECT

public:
    explicit Kalmet(const UiEnvironment& environment, QWidget* parent = nullptr);
    ~Kalmet() override;

    // The start-up: fills Combo1 from the session (which outlives the window) and
    // selects the last analysis.
    void load(Session& session);
    void showAboutWindow();

    Session* session() { return session_; }
    // What the window shows now, as computed; the report reads it.
    const AnalysisScreen& screen() const { return screen_; }
    DataGrid* grid() const { return grid_; }
    QLabel* panel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }
    // The reason of the last failed read, shown above the grid; hidden after a good read.
    QLabel* readFailureLabel() const { return readFailure_; }
    // The ranges out of statistical control, named under the grid; hidden without one.
    QLabel* controlWarningLabel() const { return controlWarning_; }

    // After a new analysis: its number goes to the end of Combo1 and is selected.
    void appendAndSelect(const QString& numer);
    // After a deleted analysis: its number leaves Combo1 and the last one is selected.
    void removeAnalysisAndSelectLast();

public slots:
    // The selection handler: the analysis named by Combo1's text.
    void selectAnalysis();
    // Selects an analysis by its position in Combo1 and shows it.
    void selectAnalysisAt(int index);
    // Selects the series of the grid's current cell, wherever the highlight moved.
    void selectClickedSeries();
    // Opens the series editor to re-measure a range out of statistical control.
    void remeasure(const ControlLimits::Flag& flag);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildWindow();
    QWidget* buildHeaderFrame();
    QWidget* buildSelectorFrame();
    QWidget* buildResultsRow();
    QGroupBox* buildRangesFrame();
    QGroupBox* buildRepeatabilityFrame();
    QGroupBox* buildVariationFrame();
    QGroupBox* buildResolutionFrame();
    QLayout* buildReportButtons();
    ResultSymbol* makeSymbol(ResultSymbol::Kind kind, const char* text);
    QGroupBox* makeResultFrame(const char* title);
    QLabel* makeValuePanel(int index);
    QLabel* makePanel(int index, Qt::Alignment alignment);
    QLabel* makeWarningLabel(const char* name);
    QLabel* makeCaption(int index, const QString& caption, QString* unit = nullptr);

    void showHeader(const AnalysisScreen& screen);
    void showReadFailure(const QString& numer, const QString& cause);
    void Tablica(const StudyOutput& study, const GridLayout& grid, const ResultTexts::Texts& texts);
    void showResults(const StudyOutput& study, const ResultTexts::Texts& texts);
    void clearResults();
    void setReportCommandsEnabled(bool on);
    void setPanelColour(int index, const QColor& colour);
    void clearScreen();
    void connectCommands();
    void refreshOnActivation();
    void showWaiting(int waitedMs);

    UiEnvironment env_;
    Session* session_ = nullptr;
    AnalysisScreen screen_;
    std::unique_ptr<Commands> commands_;
    std::unique_ptr<ModalCommands> modalCommands_;

    QComboBox* combo_ = nullptr;
    AnalysisNumberModel* numbers_ = nullptr;
    DataGrid* grid_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* readFailure_ = nullptr;     // why nothing is shown, until a read succeeds
    QLabel* controlWarning_ = nullptr;  // the ranges out of control, under the grid
    std::array<QLabel*, Panels::kCount> panels_{};
    int symbolCount_ = 0;
    int resultFrameCount_ = 0;
    QPushButton* chartButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    QAction* newSeries_ = nullptr;
    QAction* printAnalysis_ = nullptr;
    QAction* chart_ = nullptr;
    QAction* anova_ = nullptr;
    QAction* controlCharts_ = nullptr;
    QAction* exportAnalysis_ = nullptr;
    QAction* quit_ = nullptr;
    QPointer<QWidget> previousActiveWindow_;
    bool commandRunning_ = false;
    QString reportedFailure_;
};
