#pragma once

#include <QString>
#include <memory>

#include "regional_settings.h"
#include "ui_environment.h"

#include "main_window.h"
#include "session.h"

// What the start-up opens: the session first, so it outlives the window.
struct Started {
    std::unique_ptr<Session> session;
    std::unique_ptr<Kalmet> window;  // null when the database cannot be used
};

// The program's start: the database of the application folder is opened, the main
// window fills its selector and selects the last analysis, then the about window is
// shown. When the database cannot be used, the user is told why (a critical message
// naming the file and the cause) and the window is null: the program then ends with a
// non-zero exit code.
Started startKalmet(const QString& applicationFolder, const RegionalSettings& regional,
                    const UiEnvironment& environment);
