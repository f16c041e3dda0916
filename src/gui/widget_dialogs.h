#pragma once

#include <QPointer>
#include <QWidget>

#include "dialogs.h"

class QCoreApplication;

// Qt's own dialog texts (the "Tak" and "Nie" of the questions) in Polish, like the rest
// of the program. False when the translation is not installed on the machine.
bool installPolishQtTranslation(QCoreApplication& application);

// The desktop's message boxes, beep and browser.
class WidgetDialogs : public Dialogs {
public:
    void beep() override;
    void message(const QString& text, const QString& title, Icon icon) override;
    bool askYesNo(const QString& text, const QString& title, Icon icon) override;
    bool openAddress(const QString& address) override;

    // The window a box stands over; tests read it.
    QWidget* parentForBox();

private:
    QPointer<QWidget> lastParent_;
};
