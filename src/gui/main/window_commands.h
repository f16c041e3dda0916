#pragma once

#include "analysis_commands.h"
#include "modal_commands.h"
#include "series_commands.h"
#include "study_file_commands.h"

// Every command of the main window, made once the session is open.
struct WindowCommands {
    WindowCommands(Kalmet& window, Session& session, const UiEnvironment& environment)
        : analysis(window, session, environment),
          series(window, session, environment),
          files(window, session, environment, analysis),
          windows(window, session, environment) {}

    AnalysisCommands analysis;
    SeriesCommands series;
    StudyFileCommands files;
    ModalCommands windows;
};
