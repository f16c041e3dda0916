// Kalmet III: start-up only. The program reads no command line and no environment
// variable of its own; its data lives in KALMET.MDB beside the executable.

#include <QApplication>

#include "main_window.h"
#include "startup.h"
#include "widget_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalmet III"));

    installPolishQtTranslation(app);

    WidgetDialogs dialogs;
    const UiEnvironment environment = UiEnvironment::desktop(dialogs);
    auto window = startKalmet(QCoreApplication::applicationDirPath(),
                              RegionalSettings::fromSystem(), environment);
    if (!window) {
        return 1;
    }
    window->show();
    return QApplication::exec();
}
