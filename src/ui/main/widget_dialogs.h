#pragma once

#include "dialogs.h"

// The desktop's message boxes, beep and browser.
class WidgetDialogs : public Dialogs {
public:
    void beep() override;
    void message(const QString& text, const QString& title, Icon icon) override;
    bool askYesNo(const QString& text, const QString& title, Icon icon) override;
    void openAddress(const QString& address) override;
};
