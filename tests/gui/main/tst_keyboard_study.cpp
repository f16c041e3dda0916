// A whole study as a person at the keyboard does it: the menu's access keys, Tab in
// the editors' focus order, Enter on the buttons. The editors run their real modal
// loops; the keys reach whatever widget has the focus.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QWindow>
#include <QtTest>
#include <utility>

#include "window_fixture.h"

namespace {

// The widget a key goes to: in a modal window, its focus widget (made active first,
// as a desktop does when the window opens).
QWidget* focused() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (QApplication::activeWindow() != modal) {
            QApplication::setActiveWindow(modal);
        }
        return modal->focusWidget() ? modal->focusWidget() : modal;
    }
    QWidget* w = QApplication::focusWidget();
    return w ? w : QApplication::activeWindow();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focused(), key, modifiers);
}

// Text-only key events for letters outside ASCII (the offscreen platform has no key
// codes for them).
void type(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(focused(), c.toLatin1());
        } else {
            QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QKeyEvent up(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(focused(), &down);
            QApplication::sendEvent(focused(), &up);
        }
    }
}

void tabThenType(const QString& text) {
    press(Qt::Key_Tab);
    if (!text.isEmpty()) {
        type(text);
    }
}

// Opens a menu by its access key and picks an entry by its number.
void menuCommand(QWidget* window, Qt::Key menuKey, Qt::Key entryKey) {
    QApplication::setActiveWindow(window);  // back from the editor, as on a desktop
    QTest::keyClick(window, menuKey, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), entryKey);
}

// A dialog the script left open (a check refused) is closed, so the test fails
// instead of hanging.
void closeIfStillOpen(QStringList* problems) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
        return;
    }
    QTimer::singleShot(0, dialog, [problems, dialog] {
        if (dialog->isVisible()) {
            *problems << dialog->windowTitle() + QStringLiteral(" stayed open at ") +
                             focused()->objectName();
            dialog->reject();
        }
    });
}

}  // namespace

class KeyboardStudyTest : public QObject {
    Q_OBJECT

private slots:
    void registerAndMeasureWithTheKeyboardOnly();
};

void KeyboardStudyTest::registerAndMeasureWithTheKeyboardOnly() {
    WindowFixture f;               // the delivered database, as a fresh installation has it
    std::function<void()> script;  // the keys for the next modal window, run once it is up
    f.environment.showModal = [&f, &script](QDialog& dialog) {
        f.modals << dialog.objectName();
        QTimer::singleShot(0, &dialog, std::exchange(script, nullptr));
        dialog.exec();
    };
    f.window = std::make_unique<Kalmet>(f.environment);
    QVERIFY(f.load());
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));

    QStringList seen;
    QStringList problems;
    std::function<void()> editorScript;
    script = [&] {  // the kind: Enter takes the R&R study
        seen << QApplication::activeModalWidget()->windowTitle();
        script = editorScript;
        press(Qt::Key_Return);
    };
    editorScript = [&] {
        seen << QApplication::activeModalWidget()->windowTitle() << focused()->objectName();
        press(Qt::Key_Tab);
        press(Qt::Key_Home);  // N = 5
        tabThenType({});      // K = 2
        tabThenType({});      // R = 2
        tabThenType({});      // the proposed date
        tabThenType(QStringLiteral("20"));
        tabThenType(QStringLiteral("45"));
        tabThenType(QStringLiteral("Tuleja"));
        tabThenType(QStringLiteral("T-100"));
        tabThenType(QString::fromUtf8("Średnica"));
        tabThenType(QStringLiteral("mm"));
        press(Qt::Key_Tab);
        for (int i = 0; i < 3; ++i) {
            press(Qt::Key_Down);  // "Zmienność całkowita TV": no reference value asked for
        }
        tabThenType(QStringLiteral("Mikrometr"));
        tabThenType(QStringLiteral("M-7"));
        tabThenType(QStringLiteral("0-25 mm"));
        tabThenType(QString::fromUtf8("0,002 mm"));
        press(Qt::Key_Tab);  // the profile stays "Brak"
        press(Qt::Key_Tab);
        seen << focused()->objectName();
        press(Qt::Key_Return);
        closeIfStillOpen(&problems);
    };
    menuCommand(f.window.get(), Qt::Key_A, Qt::Key_1);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(' ') + " | " + seen.join(',') + " | " +
                                            f.dialogs.texts().join(';')));
    QCOMPARE(seen, (QStringList{"Rodzaj badania", "Nowa analiza", "Text11", "Command1"}));
    QCOMPARE(f.find<QComboBox>("Combo1")->currentText(), QStringLiteral("1"));
    QCOMPARE(f.window->panel(10)->text(), QStringLiteral("5 "));
    QCOMPARE(f.window->panel(9)->text(), QString::fromUtf8(" Średnica mm"));

    const QList<QPair<QString, QStringList>> series = {
        {"A", {"10,01", "10,05", "9,98", "10,10", "10,03"}},
        {"A", {"10,03", "10,04", "9,99", "10,12", "10,02"}},
        {"B", {"10,02", "10,07", "9,97", "10,11", "10,05"}},
        {"B", {"10,00", "10,06", "9,99", "10,09", "10,04"}}};
    for (const auto& [appraiser, values] : series) {
        script = [&, appraiser = appraiser, values = values] {
            type(appraiser);
            for (const QString& v : values) {
                tabThenType(v);
            }
            press(Qt::Key_Tab);
            press(Qt::Key_Return);
            closeIfStillOpen(&problems);
        };
        if (&values == &series.last().second) {
            // as a keyboard-wedge gauge types it: "value" Enter, with a "." decimal
            script = [&, appraiser = appraiser, values = values] {
                type(appraiser);
                press(Qt::Key_Tab);
                for (QString v : values) {
                    type(v.replace(QLatin1Char(','), QLatin1Char('.')));
                    press(Qt::Key_Return);
                }
                seen << focused()->objectName();
                QWidget* editor = QApplication::activeModalWidget();
                editor->windowHandle()->requestActivate();  // shortcuts go to the focus window
                QVERIFY(QTest::qWaitForWindowActive(editor->windowHandle()));
                press(Qt::Key_Z, Qt::AltModifier);
                QTRY_VERIFY(editor->isHidden());  // a mnemonic clicks after its animation
                closeIfStillOpen(&problems);
            };
        }
        menuCommand(f.window.get(), Qt::Key_D, Qt::Key_1);
    }
    QCOMPARE(seen.last(), QStringLiteral("Command1"));  // Enter after the last box
    QVERIFY2(problems.isEmpty(),
             qPrintable(problems.join(' ') + " | " + f.dialogs.texts().join(';')));
    QCOMPARE(f.dialogs.texts(), QStringList());
    QCOMPARE(f.modals, (QStringList{"RodzajBadania", "NowaA", "Dane", "Dane", "Dane", "Dane"}));

    const AnalysisScreen study =
        studyInFile(f.database.path(), f.find<QComboBox>("Combo1")->currentText());
    QVERIFY(study.hasCompleteStudy());
    for (const int i : Panels::resultIndices()) {
        QCOMPARE(f.window->panel(i)->text(), study.results[static_cast<std::size_t>(i)]);
    }
    QCOMPARE(f.window->panel(22)->palette().color(QPalette::Window), QColor(255, 255, 0));
    QCOMPARE(f.window->panel(26)->palette().color(QPalette::Window), QColor(0, 255, 0));
    QVERIFY(!f.find<QAction>("NowaDana")->isEnabled());

    // The settings: two decimals and the 95 % level, closed with Escape.
    QStringList results;
    for (const int i : Panels::resultIndices()) {
        results << f.window->panel(i)->text();
    }
    script = [&] {
        seen << focused()->objectName();
        press(Qt::Key_Tab);
        press(Qt::Key_A, Qt::ControlModifier);
        type(QStringLiteral("0.00"));
        press(Qt::Key_Tab);
        press(Qt::Key_A, Qt::ControlModifier);
        type(QStringLiteral("95"));
        press(Qt::Key_Escape);
        closeIfStillOpen(&problems);
    };
    QApplication::setActiveWindow(f.window.get());
    QTest::keyClick(f.window.get(), Qt::Key_U, Qt::AltModifier);
    QCOMPARE(problems, QStringList());
    QCOMPARE(f.modals.last(), QStringLiteral("Trans"));
    QCOMPARE(seen.last(), QStringLiteral("Text5"));
    QCOMPARE(f.session->shared().level, 1);
    QCOMPARE(f.window->panel(Panels::kEV)->text(), QStringLiteral("0,05 "));  // 0,015 x 3,47
    QCOMPARE(f.window->panel(Panels::kMeanRange)->text(), QStringLiteral("0,02 "));
    // What the window shows now is what a fresh start on the stored settings shows.
    QStringList shown;
    for (const int i : Panels::resultIndices()) {
        shown << f.window->panel(i)->text();
    }
    QVERIFY(shown != results);
    WindowFixture restarted;
    // (read only: the first window still holds the program's lock)
    restarted.session =
        Session::openFile(f.database.path(), f.regional, Database::Access::ReadOnly).session;
    QVERIFY(restarted.session);
    restarted.window->load(*restarted.session);
    QStringList fresh;
    for (const int i : Panels::resultIndices()) {
        fresh << restarted.window->panel(i)->text();
    }
    QCOMPARE(shown, fresh);
}

QTEST_MAIN(KeyboardStudyTest)
#include "tst_keyboard_study.moc"
