#pragma once

#include <QDialog>
#include <array>

#include "dialogs.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Session;

// NowaA, the analysis editor: the number, N, K, R, the date and conditions, the part
// and characteristic with the way the reference level is chosen, and the instrument.
// The command that opens it fills it, shows it, and writes the row only when the
// dialog result flag is true afterwards: "&Zapisz" sets it when Sprawdz passes.
class NowaA : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kNewCaption = "Nowa analiza";
    static constexpr const char* kEditCaption = "Popraw analizę";

    NowaA(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    bool isNewMode() const { return windowTitle() == QString::fromUtf8(kNewCaption); }
    // Shows only the inputs the reference mode needs and captions Label1 element 0.
    void setReferenceMode(int mode);
    // The checks, in order; false after the first failure has been reported.
    bool Sprawdz();

    QLineEdit* box(const char* name) const;
    QComboBox* list(const char* name) const;

public slots:
    void reject() override;

private:
    void save();
    QLineEdit* addBox(const char* name, int maxLength = 0);
    QComboBox* addList(const char* name, const QStringList& items);
    QLabel* addLabel(int index, const QString& caption);
    void layOut();
    void centreOnScreen();

    Session& session_;
    Dialogs& dialogs_;
    std::array<QLabel*, 21> labels_{};
};
