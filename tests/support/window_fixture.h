#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <functional>
#include <memory>

#include "analysis_screen.h"
#include "gauge_source.h"
#include "kind_chooser.h"
#include "main_window.h"
#include "scripted_dialogs.h"
#include "session.h"
#include "test_database.h"
#include "transmission_settings.h"
#include "ui_environment.h"

// A main window on a temporary copy of the delivered database. Modal windows are
// handed to `onModal` (which fills and presses their controls) instead of exec().
struct WindowFixture {
    explicit WindowFixture(const QString& sql = {},
                           const RegionalSettings& rs = RegionalSettings::polish(),
                           PagePrinter* printer = nullptr)
        : database(sql, rs), regional(rs) {
        setUp(printer);
    }
    // On a file the program has opened before: its additions made, then the SQL run.
    WindowFixture(TestDatabase::WithKinds kinds, const QString& sql)
        : database(kinds, sql), regional(RegionalSettings::polish()) {
        setUp(nullptr);
    }

    void setUp(PagePrinter* printer) {
        environment.dialogs = &dialogs;
        environment.printer = printer;
        environment.showModal = [this](QDialog& dialog) {
            modals << dialog.objectName();
            if (auto* chooser = qobject_cast<RodzajBadania*>(&dialog); chooser && newKind) {
                chooser->choose(*newKind);  // the kind of a new analysis, answered
                chooser->accept();
                return;
            }
            if (onModal) {
                onModal(dialog);
            } else {
                dialog.reject();
            }
        };
        environment.now = [] { return QDateTime(QDate(2026, 12, 8), QTime(10, 30)); };
        environment.chooseSaveFile = [this](QWidget*, const QString&, const QString& suggested,
                                            const QString& filters, QString* selected) {
            suggestedFiles << suggested;
            if (selected) {
                *selected = filters.split(QStringLiteral(";;")).value(chosenFilter);
            }
            return chosenFile;
        };
        environment.chooseOpenFile = [this](QWidget*, const QString&, const QString&) {
            return chosenFile;
        };
        environment.openGauge = [this](const TransmissionSettings& settings, QString* error) {
            return openGauge ? openGauge(settings, error) : std::unique_ptr<GaugeSource>();
        };
        window = std::make_unique<Kalmet>(environment);
    }

    // The kind "Rodzaj badania" is answered with; none: onModal answers it.
    std::optional<StudyKind> newKind = StudyKind::Crossed;

    bool load() {
        auto opened = Session::openFolder(database.folder(), regional);
        if (!opened.session) {
            qWarning("load failed: %s", qPrintable(opened.error));
            return false;
        }
        session = std::move(opened.session);
        // a test that holds the file waits as long as the start does, not half a minute
        session->database().setLongestWait(2000);
        window->load(*session);
        return true;
    }

    // A save button pressed twice: the PDF is written where the chooser says and the user
    // is told where; then into a folder that does not exist, and the user is told why.
    void savesPdfThrough(QAbstractButton& button, const QString& path, const QString& failure) {
        chosenFile = path;
        button.click();
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QCOMPARE(dialogs.calls.last().text, QStringLiteral("Zapisano w ") + path);
        const QFileInfo chosen(path);
        chosenFile = chosen.dir().filePath(QStringLiteral("brak/") + chosen.fileName());
        button.click();
        QVERIFY(dialogs.calls.last().text.startsWith(failure));
    }

    template <typename T>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    TestDatabase database;
    RegionalSettings regional;
    std::unique_ptr<Session> session;  // outlives the window
    ScriptedDialogs dialogs;
    UiEnvironment environment;
    std::function<void(QDialog&)> onModal;
    QStringList modals;
    QString chosenFile;    // what the file chooser answers; empty: cancelled
    int chosenFilter = 0;  // which of its filters
    // What opens a gauge the analysis names; none by default.
    std::function<std::unique_ptr<GaugeSource>(const TransmissionSettings&, QString*)> openGauge;
    QStringList suggestedFiles;
    std::unique_ptr<Kalmet> window;
};

// What the statistics make of an analysis in a file, read through a session of its own:
// the suites of the windows and of the batch interface compare with it instead of
// retyping the figures the calc tests assert.
inline AnalysisScreen studyInFile(const QString& path, const QString& numer) {
    auto opened = Session::openFile(path, RegionalSettings::polish(), Database::Access::ReadOnly);
    return opened.session ? AnalysisScreen::select(*opened.session, numer) : AnalysisScreen();
}
