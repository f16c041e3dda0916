#pragma once

#include <QDateTime>
#include <functional>
#include <memory>

#include "dialogs.h"

class QDialog;
class QWidget;
class PagePrinter;
class GaugeSource;
struct TransmissionSettings;

// What the windows take from their surroundings, so tests can stand in for it: the
// message boxes, the way a modal window is shown (the program runs exec(); a test
// fills the controls and presses the buttons instead), the clock, the printer and the
// file chooser and the gauges.
struct UiEnvironment {
    Dialogs* dialogs = nullptr;
    std::function<void(QDialog&)> showModal;
    std::function<QDateTime()> now;
    PagePrinter* printer = nullptr;  // null: the desktop's default printer
    // The file a save writes, chosen by the user from a suggestion; empty: cancelled.
    // The filter chosen among several (";;" between them) comes back in *selectedFilter.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter, QString* selectedFilter)>
        chooseSaveFile;
    // The file an import reads; empty: cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>
        chooseOpenFile;
    // Opens the gauge of a profile; nothing, with the cause in *error, when it cannot.
    std::function<std::unique_ptr<GaugeSource>(const TransmissionSettings&, QString* error)>
        openGauge;

    static UiEnvironment desktop(Dialogs& dialogs);
};
