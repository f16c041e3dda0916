#pragma once

#include "command_base.h"

class AnalysisCommands;
class NowaA;
struct StudyFile;

// The study-file commands of the main window's tools: the selected analysis exported
// (CSV long or wide, DFQ), a study imported from CSV as a new analysis.
class StudyFileCommands : public CommandBase {
public:
    StudyFileCommands(Kalmet& window, Session& session, const UiEnvironment& environment,
                      AnalysisCommands& analyses);

    void exportAnalysis();  // Narzędzia, Eksport analizy
    void importSeries();    // Narzędzia, Import serii z pliku CSV

private:
    bool storeImported(NowaA& editor, const StudyFile& study);

    AnalysisCommands& analyses_;
};
