#pragma once

#include <QDialog>
#include <QHash>
#include <QVector>

#include "dialogs.h"

class QComboBox;
class QLineEdit;
class Session;

// Trans, the settings window: one control for each field of the settings row. There
// is no OK or Cancel; closing the window (its close box or Escape) writes every
// control back to the row and commits it. A close is refused while a field holds what
// would break the calculation: a limit or level that is not a number, an empty date or
// number pattern, or a number pattern whose output does not read back as a number.
class Trans : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Ustawienia";

    Trans(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the controls from the settings row (numbers in the regional form).
    void load();
    // True when the row was written and committed at the last close.
    bool saved() const { return saved_; }

public slots:
    void reject() override;

private:
    struct Field {
        const char* name;
        QWidget* control;
    };

    QWidget* buildFormatsFrame();
    QWidget* buildLevelFrame();
    QWidget* buildFirmaRow();
    QWidget* buildLimitsFrame();
    QWidget* buildToleranceFrame();
    QWidget* buildType1Frame();
    void setFocusOrder();

    bool checkFields();
    bool checkNumberPattern();
    bool checkRanges();
    // Writes the controls into the row and commits; false (nothing written) on failure.
    bool store(QString* cause);
    static QString textOf(const QWidget* control);
    static void putText(QWidget* control, const QString& text);

    Session& session_;
    Dialogs& dialogs_;
    QLineEdit* firma_ = nullptr;              // Text8
    QLineEdit* date_ = nullptr;               // Text5
    QLineEdit* number_ = nullptr;             // Text6
    QLineEdit* accept_ = nullptr;             // Text2
    QLineEdit* partial_ = nullptr;            // Text3
    QLineEdit* resolution_ = nullptr;         // Text4
    QLineEdit* partialResolution_ = nullptr;  // Text7
    QLineEdit* tolerance_ = nullptr;          // Text9
    QComboBox* level_ = nullptr;              // Combo1
    QLineEdit* type1K_ = nullptr;             // Text10
    QComboBox* type1L_ = nullptr;             // Combo2
    QVector<Field> fields_;                   // in the order the row is read and written
    QHash<QString, QString> defaults_;        // empty fields shown with their default
    bool saved_ = false;
};
