#include "startup.h"

#include "main_window.h"

std::unique_ptr<Kalmet> startKalmet(const QString& applicationFolder,
                                    const RegionalSettings& regional,
                                    const UiEnvironment& environment) {
    auto window = std::make_unique<Kalmet>(regional, environment);
    QString error;
    if (!window->load(applicationFolder, &error)) {
        environment.dialogs->beep();
        environment.dialogs->message(error, QStringLiteral("Kalmet III"), Dialogs::Icon::Critical);
        return nullptr;
    }
    window->showAboutWindow();
    return window;
}
