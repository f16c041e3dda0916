#pragma once

#include <QDialog>
#include <QVector>
#include <functional>
#include <optional>

#include "dialogs.h"
#include "gauge_receiver.h"
#include "readings_model.h"
#include "regional_settings.h"
#include "study.h"

class QLabel;
class QTableView;

// "Odczyty", the readings editor of a type-1 study (the readings alone) or of a bias and
// linearity study (part, reference value and reading): a table, typed, pasted from a
// spreadsheet (Ctrl+V of a column or a block, either decimal), rows added and deleted,
// the last change undone (Ctrl+Z); the gauge fills the first empty reading (a new row
// after the last, of the part above it). Each change is stored at once, in one
// transaction, by `store`; a change that is refused or not stored leaves the table as
// it was.
class Odczyty : public QDialog, public GaugeReceiver {
    Q_OBJECT

public:
    using Readings = QVector<ReadingEntry>;
    // Stores the whole list of readings; empty on success, else the cause.
    using Store = std::function<QString(const Readings&)>;

    static constexpr int kRowsOfANewStudy = 25;

    Odczyty(StudyKind kind, const QString& numer, const Readings& readings,
            const RegionalSettings& regional, Dialogs& dialogs, Store store,
            QWidget* parent = nullptr);

    const Readings& readings() const { return readings_; }
    QTableView* table() const { return table_; }
    // The clipboard's text put in from the current row down; false when refused (told).
    bool paste(const QString& text);
    bool undo();
    void addRow();
    void deleteSelectedRows();
    void takeReading(double value);

    void attachGauge(GaugeSource* gauge, const QString& description) override;
    void showGaugeProblem(const QString& description, const QString& problem) override;
    QLabel* gaugeStatus() const { return status_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool editCell(int row, ReadingsModel::Column column, const QString& text);
    bool pasteCells(const QVector<QVector<std::optional<double>>>& cells);
    void showRows();
    bool change(Readings next, int focusRow);
    void refuse(const QString& message);
    int currentRow() const;
    void setStatus(const QString& text);

    RegionalSettings regional_;
    Dialogs& dialogs_;
    Store store_;
    Readings readings_;
    QVector<Readings> undo_;
    int shownRows_ = 0;  // empty rows shown beyond the stored readings
    StudyKind kind_;
    ReadingsModel* model_;
    QTableView* table_;
    QLabel* status_;
    QString gaugeDescription_;
    bool messageShown_ = false;
    int missed_ = 0;
};
