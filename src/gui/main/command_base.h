#pragma once

#include <QString>

#include "session.h"
#include "shared_values.h"
#include "ui_environment.h"

class Kalmet;

// What the main window's commands share: the window, the session and the environment,
// the selected analysis and series (the current rows of their record sets), and the
// messages. A database failure is reported and nothing is shown as saved that was not.
class CommandBase {
public:
    CommandBase(Kalmet& window, Session& session, const UiEnvironment& environment);

protected:
    bool hasSelectedAnalysis() const;
    bool hasSelectedSeries() const;
    QString selectedNumber() const;
    void tell(const QString& text) const;
    void reportFailure(const QString& what, const QString& cause) const;
    // Asked twice, both times defaulting to No.
    bool confirmDeletion(const char* question) const;
    // The selected analysis's series and their history, inside the caller's transaction.
    bool deleteEverySeries(QString* cause);

    // Shows the editor until its row is stored or the user cancels; true when stored.
    template <typename Editor, typename Store>
    bool showUntilStored(Editor& editor, Store store);

    Kalmet& window_;
    Session& session_;
    UiEnvironment env_;
};

template <typename Editor, typename Store>
bool CommandBase::showUntilStored(Editor& editor, Store store) {
    for (;;) {
        session_.shared().dialogResult = false;
        env_.showModal(editor);
        if (!session_.shared().dialogResult) {
            return false;
        }
        if (store()) {
            return true;
        }
        // The input stays in the editor: the user may try again or cancel.
    }
}
