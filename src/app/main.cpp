// Kalmet III: start-up only. The program reads no command line and no environment
// variable of its own; its data lives in KALMET.MDB beside the executable.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "main_window.h"
#include "startup.h"
#include "widget_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalmet III"));

    // Qt's own dialogs (the Yes/No of the questions) speak Polish like the program.
    QTranslator qtPolish;
    if (qtPolish.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtPolish);
    }

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
