#pragma once

#include <QDateTime>
#include <functional>

#include "dialogs.h"

class QDialog;
class PagePrinter;

// What the windows take from their surroundings, so tests can stand in for it: the
// message boxes, the way a modal window is shown (the program runs exec(); a test
// fills the controls and presses the buttons instead), the clock and the printer.
struct UiEnvironment {
    Dialogs* dialogs = nullptr;
    std::function<void(QDialog&)> showModal;
    std::function<QDateTime()> now;
    PagePrinter* printer = nullptr;  // null: the desktop's default printer

    static UiEnvironment desktop(Dialogs& dialogs);
};
