#pragma once

#include <QDialog>

#include "ui_environment.h"
#include "verification.h"

class QTableWidget;

// "Weryfikacja obliczeń": the record of the program's figures checked against the
// published studies, its summary in the verdict colours, every figure in a table, and the
// record saved as PDF for the verifier to sign. The check itself is made in view/.
class VerificationWindow : public QDialog {
    Q_OBJECT

public:
    VerificationWindow(const Verification::Record& record, const UiEnvironment& environment,
                       const QString& suggestedPdf, QWidget* parent = nullptr);

    void savePdf();

private:
    QWidget* buildSummary();
    QTableWidget* buildTable();
    QLayout* buildButtons();
    void addFigureRow(QTableWidget* table, const Verification::Figure& figure);
    void addSpanningRow(QTableWidget* table, const QString& text, bool bold);

    Verification::Record record_;
    UiEnvironment env_;
    QString suggestedPdf_;
};
