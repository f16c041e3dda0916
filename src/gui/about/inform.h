#pragma once

#include <QDialog>

#include "dialogs.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Inform, the about window shown once at start: the program's notice, a link to the
// maker's page and a close button. Enter closes it wherever the focus is.
class Inform : public QDialog {
    Q_OBJECT

public:
    // The maker's page, a host name under the reserved example domain.
    static constexpr const char* kMakerAddress = "www.kalmet.example";

    explicit Inform(Dialogs& dialogs, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openMakerPage();

    Dialogs& dialogs_;
};
