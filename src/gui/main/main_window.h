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
#include "ui_environment.h"

class QAction;
class QComboBox;
class QLabel;
class QStackedWidget;
class DataGrid;
class Session;
class ResultPanels;
class Type1Results;
class LinearityResults;
class AttributeResults;
struct WindowCommands;
class AnalysisNumberModel;

class Kalmet : public QMainWindow {
    Q_OBJECT

public:
    explicit Kalmet(const UiEnvironment& environment, QWidget* parent = nullptr);
    ~Kalmet() override;

    // The start-up: fills Combo1 from the session (which outlives the window) and
    // selects the last analysis.
    // When the window shows the last analysis: at once, or once it has painted itself the
    // first time (the start: the window appears without waiting for the study's figures).
    enum class FirstStudy { Now, AfterFirstPaint };
    void load(Session& session, FirstStudy first = FirstStudy::Now);
    void showAboutWindow();

    Session* session() { return session_; }
    // What the window shows now, as computed; the report reads it.
    const AnalysisScreen& screen() const { return screen_; }
    DataGrid* grid() const { return grid_; }
    // A header (0..12) or result (13..26) panel.
    QLabel* panel(int index) const;
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
    void selectLastAnalysis();
    void buildWindow();
    QWidget* buildHeaderFrame();
    QWidget* buildSelectorFrame();
    QWidget* buildCrossedStudyPage();
    void showPageOf(StudyKind kind);
    void showKindStudy(const AnalysisScreen& screen);
    void disableCrossedCommands();
    QLabel* makeHeaderPanel(int index, Qt::Alignment alignment);
    QLabel* makeWarningLabel(const char* name);
    void runCommand(void (*command)(WindowCommands&));

    void showHeader(const AnalysisScreen& screen);
    void clearHeader();
    void showReadFailure(const QString& numer, const QString& cause);
    void Tablica(const StudyOutput& study, const GridLayout& grid, const ResultTexts::Texts& texts);
    void setReportCommandsEnabled(bool on);
    void clearScreen();
    void refreshOnActivation();
    void showWaiting(int waitedMs);

    UiEnvironment env_;
    Session* session_ = nullptr;
    AnalysisScreen screen_;
    std::unique_ptr<WindowCommands> commands_;

    QComboBox* combo_ = nullptr;
    AnalysisNumberModel* numbers_ = nullptr;
    std::array<QLabel*, Panels::kLastHeader + 1> headerPanels_{};
    QLabel* readFailure_ = nullptr;  // why nothing is shown, until a read succeeds
    // The results of the selected study, one page per kind of study.
    QStackedWidget* pages_ = nullptr;
    QWidget* crossedPage_ = nullptr;
    Type1Results* type1Page_ = nullptr;
    LinearityResults* linearityPage_ = nullptr;
    AttributeResults* attributePage_ = nullptr;
    DataGrid* grid_ = nullptr;
    QLabel* controlWarning_ = nullptr;  // the ranges out of control, under the grid
    ResultPanels* results_ = nullptr;
    QVector<QAction*> reportActions_;  // enabled with a complete study
    QAction* newSeries_ = nullptr;     // disabled once the study is complete
    QPointer<QWidget> previousActiveWindow_;
    bool commandRunning_ = false;
    bool studyAfterPaint_ = false;
    QString reportedFailure_;
};
