#pragma once

#include <QString>
#include <memory>

#include "regional_settings.h"
#include "ui_environment.h"

class Kalmet;

// The program's start: the main window loads the database of the application folder
// and selects the last analysis, then the about window is shown. When the database
// cannot be used, the user is told why (a critical message naming the file and the
// cause) and the result is null: the program then ends with a non-zero exit code.
std::unique_ptr<Kalmet> startKalmet(const QString& applicationFolder,
                                    const RegionalSettings& regional,
                                    const UiEnvironment& environment);
