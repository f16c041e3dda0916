#include "command_base.h"

#include "history.h"
#include "readings.h"

CommandBase::CommandBase(Kalmet& window, Session& session, const UiEnvironment& environment)
    : window_(window), session_(session), env_(environment) {}

void CommandBase::tell(const QString& message) const {
    env_.dialogs->beep();
    env_.dialogs->message(message, QString::fromLatin1(Dialogs::kWarningTitle),
                          Dialogs::Icon::Warning);
}

void CommandBase::reportFailure(const QString& what, const QString& cause) const {
    env_.dialogs->message(QString::fromUtf8("%1\n\nPrzyczyna: %2").arg(what, cause),
                          QString::fromLatin1(Dialogs::kWarningTitle), Dialogs::Icon::Critical);
}

bool CommandBase::hasSelectedAnalysis() const {
    return session_.series() != nullptr && session_.analyses().hasCurrentRow();
}

bool CommandBase::hasSelectedSeries() const {
    return hasSelectedAnalysis() && session_.series()->hasCurrentRow();
}

QString CommandBase::selectedNumber() const {
    return session_.analyses().field(QStringLiteral("Numer")).toText(session_.regional());
}

bool CommandBase::confirmDeletion(const char* question) const {
    Dialogs& d = *env_.dialogs;
    d.beep();
    if (!d.askYesNo(QString::fromUtf8(question), QStringLiteral("Uwaga !"),
                    Dialogs::Icon::Question)) {
        return false;
    }
    d.beep();
    return d.askYesNo(QString::fromUtf8("Program gotowy do usunięcia danych - KONTYNUOWAĆ ?"),
                      QStringLiteral("Uwaga !!!"), Dialogs::Icon::Critical);
}

bool CommandBase::deleteEverySeries(QString* cause) {
    *cause = History::forgetAnalysis(session_.database(), selectedNumber());
    if (cause->isEmpty()) {
        *cause = Readings::forget(session_.database(), selectedNumber());
    }
    if (!cause->isEmpty()) {
        return false;
    }
    RecordSet& series = *session_.series();
    for (series.moveFirst(); !series.isEof(); series.moveFirst()) {
        if (!series.deleteCurrent()) {
            *cause = series.lastError();
            return false;  // a row that will not go ends the loop
        }
    }
    return true;
}
