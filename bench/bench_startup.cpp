// Start-up and selection of the main window, beside a bare Qt window.
//
//   bench_startup FOLDER...        runs the whole comparison (each start in a fresh process)
//   bench_startup --bare           one bare window start-up, prints milliseconds
//   bench_startup --kalmet FOLDER  one program start-up on FOLDER/KALMET.MDB, prints ms
//   bench_startup --select FOLDER  mean time of selecting an analysis, prints ms
//
// Start-up is measured from the start of main() to the window being exposed.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "font_warm_up.h"
#include "main_window.h"
#include "scripted_dialogs.h"
#include "session.h"

namespace {

QElapsedTimer sinceMain;

UiEnvironment quietEnvironment(Dialogs& dialogs) {
    UiEnvironment env;
    env.dialogs = &dialogs;
    env.showModal = [](QDialog&) {};
    env.now = [] { return QDateTime::currentDateTime(); };
    return env;
}

int bare() {
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(1000, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    std::printf("%.3f\n", sinceMain.nsecsElapsed() / 1e6);
    return 0;
}

int kalmet(const QString& folder) {
    const double application = sinceMain.nsecsElapsed() / 1e6;
    ScriptedDialogs dialogs;
    const auto fonts = qEnvironmentVariableIsSet("KALMET_COLD_FONTS")
                           ? nullptr
                           : std::make_unique<FontWarmUp>();  // as the program starts
    auto opened = Session::openFolder(folder, RegionalSettings::polish());
    if (!opened.session) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    const double open = sinceMain.nsecsElapsed() / 1e6;
    Kalmet window(quietEnvironment(dialogs));
    const double built = sinceMain.nsecsElapsed() / 1e6;
    window.load(*opened.session, Kalmet::FirstStudy::AfterFirstPaint);  // as the program does
    const double loaded = sinceMain.nsecsElapsed() / 1e6;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    const double shown = sinceMain.nsecsElapsed() / 1e6;
    std::printf("%.3f\n", shown);
    // The study follows the first paint.
    QElapsedTimer waiting;
    waiting.start();
    while (!window.screen().found && waiting.elapsed() < 5000) {
        QCoreApplication::processEvents();
    }
    const bool study = window.screen().found;
    const double studyShown = sinceMain.nsecsElapsed() / 1e6;
    std::fprintf(stderr,
                 "application %.1f, file opened %.1f, window built %.1f, loaded %.1f, shown "
                 "%.1f, study %s %.1f ms later\n",
                 application, open - application, built - open, loaded - built, shown - loaded,
                 study ? "shown" : "NOT shown", studyShown - shown);
    return 0;
}

int select(const QString& folder) {
    ScriptedDialogs dialogs;
    auto opened = Session::openFolder(folder, RegionalSettings::polish());
    if (!opened.session) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 1;
    }
    Kalmet window(quietEnvironment(dialogs));
    window.load(*opened.session);
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("Combo1"));
    const int count = combo->count();
    QRandomGenerator random(7);
    const int rounds = 300;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        window.selectAnalysisAt(random.bounded(count));
    }
    std::printf("%.3f\n", timer.nsecsElapsed() / 1e6 / rounds);
    return 0;
}

double runOnce(const QString& self, const QStringList& args) {
    QProcess p;
    p.start(self, args);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toDouble();
}

double medianOf(QVector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The bare window and the program start in turn, so a machine that slows down or speeds
// up during the run weighs on both alike.
int compare(const QString& self, const QStringList& folders) {
    const int runs = 11;
    for (const QString& folder : folders) {
        QVector<double> bareTimes;
        QVector<double> startTimes;
        QVector<double> selectTimes;
        for (int i = 0; i < runs; ++i) {
            bareTimes << runOnce(self, {QStringLiteral("--bare")});
            startTimes << runOnce(self, {QStringLiteral("--kalmet"), folder});
        }
        for (int i = 0; i < 3; ++i) {
            selectTimes << runOnce(self, {QStringLiteral("--select"), folder});
        }
        const double bareMs = medianOf(bareTimes);
        const double startMs = medianOf(startTimes);
        std::printf("%-40s bare window %7.1f ms   program %7.1f ms (%.2f x)   selection %6.2f ms\n",
                    qPrintable(folder), bareMs, startMs, startMs / bareMs, medianOf(selectTimes));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    sinceMain.start();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("--bare")) {
        return bare();
    }
    if (args.size() >= 3 && args[1] == QLatin1String("--kalmet")) {
        return kalmet(args[2]);
    }
    if (args.size() >= 3 && args[1] == QLatin1String("--select")) {
        return select(args[2]);
    }
    if (args.size() >= 2) {
        return compare(args[0], args.mid(1));
    }
    std::fprintf(stderr, "usage: bench_startup FOLDER...\n");
    return 2;
}
