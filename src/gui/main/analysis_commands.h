#pragma once

#include "command_base.h"

class NowaA;

// The analysis commands of the main window's menu: a new analysis, its correction and
// its deletion with every series and their history.
class AnalysisCommands : public CommandBase {
public:
    AnalysisCommands(Kalmet& window, Session& session, const UiEnvironment& environment);

    void newAnalysis();     // NowaAnaliza
    void editAnalysis();    // PoprawAnaliza
    void deleteAnalysis();  // UsunAnaliza

    // The editor of a new analysis as the user finds it: the next number, today's date.
    void proposeNew(NowaA& editor) const;
    // The editor's analysis as a new row; false (the failure told) when it was refused.
    bool storeNewAnalysis(NowaA& editor);

private:
    bool storeAnalysis(NowaA& editor, const QString& failure);
};
