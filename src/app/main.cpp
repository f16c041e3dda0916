// Kalmet III: start-up only. The program reads no command line and no environment
// variable of its own; its data lives in KALMET.MDB beside the executable.

#include <QApplication>

#include "startup.h"
#include "widget_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalmet III"));

    installPolishQtTranslation(app);

    WidgetDialogs dialogs;
    const UiEnvironment environment = UiEnvironment::desktop(dialogs);
    const Started started = startKalmet(QCoreApplication::applicationDirPath(),
                                        RegionalSettings::fromSystem(), environment);
    if (!started.window) {
        return 1;
    }
    started.window->show();
    return QApplication::exec();
}
