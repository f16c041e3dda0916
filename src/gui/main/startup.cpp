#include "startup.h"

#include "font_warm_up.h"

Started startKalmet(const QString& applicationFolder, const RegionalSettings& regional,
                    const UiEnvironment& environment) {
    Started started;
    const FontWarmUp fonts;
    auto opened = Session::openFolder(applicationFolder, regional);
    if (!opened.session) {
        environment.dialogs->beep();
        environment.dialogs->message(opened.error, QStringLiteral("Kalmet III"),
                                     Dialogs::Icon::Critical);
        return started;
    }
    started.session = std::move(opened.session);
    started.window = std::make_unique<Kalmet>(environment);
    started.window->load(*started.session, Kalmet::FirstStudy::AfterFirstPaint);
    started.window->showAboutWindow();
    return started;
}
