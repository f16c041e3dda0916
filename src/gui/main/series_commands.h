#pragma once

#include <memory>
#include <vector>

#include "command_base.h"
#include "history.h"

class Dane;
class GaugeReceiver;
class GaugeSource;

// The series commands of the main window's menu: a new series (typed or from the
// analysis's gauge), its correction with the history of the changed values, and the
// deletion of one series or all of them; for a type-1 study, its readings.
class SeriesCommands : public CommandBase {
public:
    SeriesCommands(Kalmet& window, Session& session, const UiEnvironment& environment);

    void newSeries();  // NowaDana
    // PoprawDana; a re-measurement opens it on the part's box and records why.
    void editSeries(int focusedPart = 0, const QString& why = {});
    void deleteSeries();     // UsunDana
    void deleteAllSeries();  // UsunDanaW
    // A study of another kind: its readings in their editor (NowaDana and PoprawDana).
    void editReadings();

private:
    bool storeSeries(Dane& editor, bool isNew, const QString& why = {});
    std::vector<History::Entry> correctionsOf(const Dane& editor, const QString& why) const;
    int trialOfSelectedSeries() const;
    // The gauge the analysis's profile names, feeding the editor; nothing for "Brak" or
    // when it cannot be opened (the editor then says why).
    std::unique_ptr<GaugeSource> connectGauge(GaugeReceiver& editor);
};
