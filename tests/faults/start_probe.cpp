// Starts the program's main window on a database folder as the program does, with the
// message boxes written to standard output instead of shown, and says what the window
// then shows: the read-fault test runs it with one read failing.

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <cstdio>

#include "panels.h"
#include "scripted_dialogs.h"
#include "startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ScriptedDialogs dialogs;
    UiEnvironment environment;
    environment.dialogs = &dialogs;
    environment.showModal = [](QDialog& dialog) { dialog.reject(); };
    environment.now = [] { return QDateTime(QDate(2026, 12, 8), QTime(10, 30)); };
    const Started started =
        startKalmet(QString::fromLocal8Bit(argv[1]), RegionalSettings::polish(), environment);
    if (started.window) {  // the study is read once the window has painted itself
        started.window->show();
        const bool settled = QTest::qWaitFor([&] {
            return started.window->screen().found || started.window->screen().failed() ||
                   !started.window->readFailureLabel()->isHidden() || !dialogs.calls.isEmpty();
        });
        std::printf("settled: %d\n", settled ? 1 : 0);
    }
    for (const ScriptedDialogs::Call& call : dialogs.calls) {
        std::printf("message: %s\n", call.text.toUtf8().constData());
    }
    if (started.window) {
        const QLabel* rr = started.window->panel(Panels::kPercentRR);
        std::printf("numer: %s\nresult: %s\nfailed: %d\n",
                    started.window->findChild<QWidget*>(QStringLiteral("Combo1"))
                        ->property("currentText")
                        .toString()
                        .toUtf8()
                        .constData(),
                    rr->text().toUtf8().constData(), started.window->screen().failed() ? 1 : 0);
    }
    return started.window ? 0 : 1;
}
