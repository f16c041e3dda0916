#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "history.h"
#include "ui_environment.h"

class Kalmet;
class NowaA;
class Dane;
class Session;
class GaugeSource;
struct StudyFile;

// The main window's editor and delete commands (the other windows' are ModalCommands). Each works
// on the selected analysis (the current row of the analysis record set) and the selected series
// (the current row of the series record set), changes the database through them, and has the main
// window show the result. A database failure is reported and nothing is shown as
// saved that was not saved.
class Commands {
public:
    Commands(Kalmet& window, Session& session, const UiEnvironment& environment);

    void newAnalysis();     // NowaAnaliza
    void editAnalysis();    // PoprawAnaliza
    void deleteAnalysis();  // UsunAnaliza
    void newSeries();       // NowaDana
    // PoprawDana; a re-measurement opens it on the part's box and records why.
    void editSeries(int focusedPart = 0, const QString& why = {});
    void deleteSeries();     // UsunDana
    void deleteAllSeries();  // UsunDanaW
    void exportAnalysis();   // Narzędzia, Eksport analizy: CSV long or wide, DFQ
    void importSeries();     // Narzędzia, Import serii z pliku CSV
private:
    bool hasSelectedAnalysis();
    bool hasSelectedSeries();
    void tell(const QString& text);
    bool confirmDeletion(const char* question);
    void reportFailure(const QString& what, const QString& cause);

    // Shows the editor until its row is stored or the user cancels; true when stored.
    template <typename Editor, typename Store>
    bool showUntilStored(Editor& editor, Store store);

    bool storeNewAnalysis(NowaA& editor);
    bool storeImported(NowaA& editor, const StudyFile& study);
    bool storeAnalysis(NowaA& editor, const QString& failure);
    bool storeSeries(Dane& editor, bool isNew, const QString& why = {});
    std::vector<History::Entry> correctionsOf(const Dane& editor, const QString& why) const;
    // The selected series' place among its appraiser's series, from 1.
    int trialOfSelectedSeries() const;
    QString selectedNumber() const;
    bool deleteEverySeries(QString* cause);
    // The gauge the analysis's profile names, feeding the editor; nothing for "Brak" or
    // when it cannot be opened (the editor then says why).
    std::unique_ptr<GaugeSource> connectGauge(Dane& editor);

    Kalmet& window_;
    Session& session_;
    UiEnvironment env_;
};
