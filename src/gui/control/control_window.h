#pragma once

#include <QDialog>
#include <QImage>
#include <optional>

#include "control_limits.h"
#include "report_inputs.h"
#include "ui_environment.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// "Karty kontrolne": the X-bar and R charts of the selected analysis, redrawn at the
// window's size, saved as PNG or PDF. A range above the limit can be chosen for
// re-measurement: the window closes with it (accepted) and the main window opens the
// series editor on it. "Historia zmian" lists the corrections of the study's values.
class ControlWindow : public QDialog {
    Q_OBJECT

public:
    struct HistoryRow {
        QStringList cells;  // when, appraiser, part, trial, old value, new value, why
    };

    ControlWindow(const ReportInputs& inputs, const UiEnvironment& environment,
                  const QString& suggestedName, std::vector<HistoryRow> history,
                  QWidget* parent = nullptr);

    // The range chosen for re-measurement, after the window was accepted.
    std::optional<ControlLimits::Flag> chosenFlag() const { return chosen_; }
    const QImage& picture() const { return picture_; }

    void savePng();
    void savePdf();
    void remeasure();
    void showHistory();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildButtons();
    void redraw();
    void save(const QString& caption, const QString& extension, const QString& filter);

    ReportInputs inputs_;
    UiEnvironment env_;
    QString suggestedName_;
    std::vector<HistoryRow> history_;
    QLabel* canvas_ = nullptr;
    QComboBox* flags_ = nullptr;
    QPushButton* remeasure_ = nullptr;
    QImage picture_;
    std::optional<ControlLimits::Flag> chosen_;
};
