#pragma once

#include "default_printer.h"
#include "ui_environment.h"

class Kalmet;
class Session;

// The main window's commands that open the other windows: the print preview, the chart,
// the settings and the tools. Each shows its window modally and has the main window show the
// database afterwards.
class ModalCommands {
public:
    ModalCommands(Kalmet& window, Session& session, const UiEnvironment& environment);

    void preview();        // DrukujAnaliza, SSCommand2
    void chart();          // WykKalmet, SSCommand1
    void settings();       // Ustawienia
    void anova();          // Narzędzia, Analiza wariancji
    void controlCharts();  // Narzędzia, Karty kontrolne
    void verification();   // Narzędzia, Weryfikacja obliczeń
    void gaugeProfiles();  // Narzędzia, Przyrządy pomiarowe

    // The selected analysis's number as a file name: every "/" becomes "_".
    static QString fileNameOf(Session& session);

private:
    QString suggestedFile(const QString& suffix) const;
    QString inPdfFolder(const QString& name) const;

    Kalmet& window_;
    Session& session_;
    UiEnvironment env_;
    DefaultPrinter defaultPrinter_;  // where the preview prints unless the environment says
};
