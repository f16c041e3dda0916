#include <sqlite3.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "data_grid.h"
#include "inform.h"
#include "panel_label.h"
#include "session.h"
#include "startup.h"
#include "twips.h"
#include "widget_dialogs.h"
#include "window_fixture.h"

namespace {

QColor background(QLabel* panel) {
    return panel->palette().color(QPalette::Window);
}

bool enabled(const WindowFixture& f, const char* action) {
    return f.find<QAction>(action)->isEnabled();
}

void clickCell(DataGrid* grid, int row, int column) {
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlsCarryTheirNames();
    void startupSelectsTheLastAnalysis();
    void incompleteAnalysis();
    void completeAnalysisShowsTheResults();
    void rangeOutOfControlIsFlagged();
    void gridShape();
    void clicksOutsideSeriesRowsSelectNothing();
    void theHighlightedSeriesIsTheSelectedOne();
    void unknownTypedNumberKeepsTheScreen();
    void typedNumberIsTakenOnActivation();
    void returnFromAnotherProgramKeepsTheSeries();
    void gridShowsWholeNumbers();
    void storedTextIsNeverMarkup();
    void windowSizeDoesNotFollowTheData();
    void secondQuestionStandsOverTheWindow();
    void boxesShowPlainTextAndEnterAnswersNo();
    void failedReadShowsNoResults();
    void damagedSeriesAreToldAtSelection_data();
    void damagedSeriesAreToldAtSelection();
    void analysisWithoutSeries();
    void emptyDatabase();
    void startupFailures_data();
    void startupFailures();
    void aboutWindowClosesOnEnter();
    void aboutLinkOpensThePageEachTime();
    void koniecEndsTheProgram();
};

void MainWindowTest::controlsCarryTheirNames() {
    WindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Kalmet III"));
    for (int i = 0; i <= 26; ++i) {
        const bool exists =
            f.window->findChild<QLabel*>(QStringLiteral("SSPanel1_%1").arg(i)) != nullptr;
        QCOMPARE(exists, i != 2 && i != 23);
    }
    const QList<QPair<const char*, const char*>> menu = {
        {"NowaAnaliza", "&1. Nowa analiza"},
        {"PoprawAnaliza", "&2. Popraw analizę"},
        {"UsunAnaliza", "&3. Usuń analizę"},
        {"DrukujAnaliza", "&4. Drukuj analizę"},
        {"Koniec", "&Koniec"},
        {"NowaDana", "&1. Wprowadź serię danych"},
        {"PoprawDana", "&2. Popraw serię danych"},
        {"UsunDana", "&3. Usuń serię danych"},
        {"UsunDanaW", "&4. Usuń wszystkie dane"},
        {"WykKalmet", "&Wykres"},
        {"Ustawienia", "&Ustawienia"},
        {"Analiza", "&Analiza"},
        {"MenDane", "&Dane"},
        {"Narzedzia", "&Narzędzia"},
        {"Anova", "&1. Analiza wariancji (ANOVA)"}};
    for (const auto& [name, caption] : menu) {
        QAction* action = f.find<QAction>(name);
        QVERIFY2(action, name);
        QCOMPARE(action->text(), QString::fromUtf8(caption));
    }
    QVERIFY(f.find<QAction>("nic0")->isSeparator());
    QVERIFY(f.find<QAction>("nic1")->isSeparator());
    QCOMPARE(f.find<QPushButton>("SSCommand1")->text(), QStringLiteral("Wykonaj wykres analizy"));
    QCOMPARE(f.find<QPushButton>("SSCommand2")->text(), QString::fromUtf8("Podgląd wydruku"));
    QCOMPARE(f.find<QLabel>("Label3")->text(),
             QString::fromUtf8("Dane pomiarowe i wyniki obliczeń"));
    QCOMPARE(f.find<QLabel>("Label1_7")->property("caption").toString(),
             QString::fromUtf8("Temperatura :              °C"));
    QVERIFY(f.find<QComboBox>("Combo1")->isEditable());
    QVERIFY(f.find<DataGrid>("Grid1"));
    for (int i = 0; i < 9; ++i) {
        QVERIFY(f.window->findChild<QWidget*>(QStringLiteral("Image1_%1").arg(i)));
    }
}

void MainWindowTest::startupSelectsTheLastAnalysis() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    const Started started =
        startKalmet(f.database.folder(), RegionalSettings::polish(), f.environment);
    Kalmet* window = started.window.get();
    QVERIFY(window);
    QCOMPARE(f.modals, QStringList{QStringLiteral("Inform")});
    auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo1"));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("6/2026"));
    QCOMPARE(combo->currentText(), QStringLiteral("7/2026"));
    // The window paints itself before it computes and shows the study.
    QVERIFY(window->panel(0)->text().isEmpty());
    window->show();
    QVERIFY(QTest::qWaitFor([&] { return !window->panel(0)->text().isEmpty(); }));
    QCOMPARE(window->panel(0)->text(), QStringLiteral(" Korpus zaworu"));
    QCOMPARE(window->panel(9)->text(), QString::fromUtf8(" Średnica otworu mm"));
    QCOMPARE(window->panel(7)->text(), QStringLiteral("20,5 "));
    QCOMPARE(window->panel(10)->text(), QStringLiteral("10 "));
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Tol"));
    QVERIFY(f.dialogs.calls.isEmpty());
}

void MainWindowTest::incompleteAnalysis() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);  // 6/2026: K x R - 1 series
    QVERIFY(!f.window->grid()->isHidden());
    QCOMPARE(f.window->grid()->rows(), 12);
    QCOMPARE(f.window->grid()->cellText(3, 1), QString::fromUtf8("Średnia"));
    for (int i = 13; i <= 26; ++i) {
        if (i != 23) {
            QVERIFY2(f.window->panel(i)->text().isEmpty(), qPrintable(QString::number(i)));
        }
    }
    QCOMPARE(background(f.window->panel(22)), QColor(Qt::white));
    QCOMPARE(background(f.window->panel(26)), QColor(Qt::white));
    QVERIFY(enabled(f, "NowaDana"));
    QVERIFY(!enabled(f, "DrukujAnaliza"));
    QVERIFY(!enabled(f, "WykKalmet") && !enabled(f, "Anova"));
    QVERIFY(!f.find<QPushButton>("SSCommand1")->isEnabled());
    QVERIFY(!f.find<QPushButton>("SSCommand2")->isEnabled());
    QCOMPARE(f.window->session()->series()->position(), 0);  // the first series
}

void MainWindowTest::completeAnalysisShowsTheResults() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    const AnalysisScreen study = studyInFile(f.database.path(), QStringLiteral("1/2026"));
    QVERIFY(study.hasCompleteStudy());
    for (const int i : Panels::resultIndices()) {
        QCOMPARE(f.window->panel(i)->text(), study.results[static_cast<std::size_t>(i)]);
    }
    QCOMPARE(background(f.window->panel(22)), QColor(255, 255, 0));
    QCOMPARE(background(f.window->panel(26)), QColor(0, 255, 0));
    QCOMPARE(f.find<QLabel>("Label2")->text(), QStringLiteral("TV"));
    QVERIFY(!enabled(f, "NowaDana"));
    QVERIFY(enabled(f, "DrukujAnaliza") && enabled(f, "WykKalmet") && enabled(f, "Anova"));
    QVERIFY(f.find<QPushButton>("SSCommand1")->isEnabled() &&
            f.find<QPushButton>("SSCommand2")->isEnabled());
    QCOMPARE(f.window->session()->series()->position(), 0);
}

// The AIAG study's one wild range turns red and is named under the grid; a study without
// one shows neither.
void MainWindowTest::rangeOutOfControlIsFlagged() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->selectAnalysisAt(0);
    QStringList flagged;
    DataGrid* grid = f.window->grid();
    for (int r = 0; r < grid->rows(); ++r) {
        for (int c = 0; c < grid->columns(); ++c) {
            if (grid->isFlagged(r, c)) {
                flagged << grid->cellText(r, 1) + QLatin1Char(' ') + grid->cellText(r, c);
                QCOMPARE(grid->item(r, c)->foreground().color(), QColor(255, 0, 0));
                QCOMPARE(grid->item(r, c)->background().color(), grid->fixedColour());
            }
        }
    }
    QCOMPARE(flagged, QStringList{QString::fromUtf8("Rozstęp 1,020")});
    QLabel* line = f.window->controlWarningLabel();
    QVERIFY(!line->isHidden());
    QCOMPARE(line->text(), QString::fromUtf8("Rozstęp poza granicą kontrolną (UCL = 0,8815): "
                                             "oceniający B, część 4 — powtórz pomiar."));
    f.window->selectAnalysisAt(1);
    QVERIFY(line->isHidden());
}

void MainWindowTest::gridShape() {
    WindowFixture small(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(small.load());
    QCOMPARE(small.window->grid()->columnCount(), 9);
    QCOMPARE(small.window->grid()->rowCount(), 12);
    WindowFixture large(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(large.load());
    DataGrid* grid = large.window->grid();
    QCOMPARE(grid->rowCount(), 20);
    QCOMPARE(grid->columnCount(), 14);
    QCOMPARE(grid->cellText(19, 1), QString::fromUtf8("Średnia dla części"));
    QVERIFY(grid->isFixedColour(4, 2));
    QCOMPARE(grid->rowHeightTwips(6), 60);
    QCOMPARE(grid->rowSpan(1, 1), 3);  // one appraiser's name shown once
    QCOMPARE(grid->item(19, 13)->background().color(), QColor(Qt::white));
    QCOMPARE(grid->item(4, 3)->background().color(), grid->fixedColour());
}

void MainWindowTest::clicksOutsideSeriesRowsSelectNothing() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    DataGrid* grid = f.window->grid();
    RecordSet* series = f.window->session()->series();
    clickCell(grid, 8, 5);  // a series row of the second appraiser: series 5
    QCOMPARE(series->position(), 4);
    QCOMPARE(series->field(QStringLiteral("Operator")).text(), QString::fromUtf8("Bogdan Ślęzak"));
    for (const QPoint& cell : {QPoint(4, 3), QPoint(5, 3), QPoint(6, 3), QPoint(19, 13),
                               QPoint(19, 5), QPoint(0, 4), QPoint(4, 0)}) {
        clickCell(grid, cell.x(), cell.y());
        QCOMPARE(series->position(), 4);
    }
    clickCell(grid, 15, 0);  // the series number of the last series
    QCOMPARE(series->position(), 8);
}

// The keyboard moves the selection with the highlight; "&3. Usuń serię danych" then
// deletes the series the user sees highlighted, and the refresh puts both on series 1.
void MainWindowTest::theHighlightedSeriesIsTheSelectedOne() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    DataGrid* grid = f.window->grid();
    RecordSet* series = f.window->session()->series();
    grid->setFocus();
    QCOMPARE(series->position(), 0);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(grid, Qt::Key_Down);  // rows 2, 3, then "Średnia", "Rozstęp"
    }
    QCOMPARE(grid->currentRow(), 5);
    QCOMPARE(series->position(), 2);      // summary rows keep the last series row's choice
    QTest::keyClick(grid, Qt::Key_Down);  // the separator
    QTest::keyClick(grid, Qt::Key_Down);  // series 4
    QTest::keyClick(grid, Qt::Key_Down);  // series 5
    QCOMPARE(grid->currentRow(), 8);
    QCOMPARE(series->position(), 4);
    QTest::keyClick(grid, Qt::Key_End);
    QTest::keyClick(grid, Qt::Key_Home);
    QCOMPARE(series->position(), 4);
    const double highlighted = series->field(QStringLiteral("ObX")).number();
    f.dialogs.answers = {true, true};
    f.find<QAction>("UsunDana")->trigger();
    series = f.window->session()->series();
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(series->position(), 0);
    QCOMPARE(series->recordCount(), 8);
    for (series->moveFirst(); !series->isEof(); series->moveNext()) {
        QVERIFY(series->field(QStringLiteral("ObX")).number() != highlighted);
    }
}

void MainWindowTest::unknownTypedNumberKeepsTheScreen() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    auto* combo = f.find<QComboBox>("Combo1");
    combo->setEditText(QStringLiteral("99/9999"));
    f.window->selectAnalysis();
    QCOMPARE(f.window->panel(0)->text(), QStringLiteral(" Korpus zaworu"));
    QCOMPARE(f.window->panel(17)->text(), QStringLiteral("0,019 "));
    QCOMPARE(f.window->grid()->rowCount(), 20);
    QVERIFY(!enabled(f, "DrukujAnaliza"));
    QVERIFY(!f.find<QPushButton>("SSCommand2")->isEnabled());
    QCOMPARE(combo->count(), 2);
}

void MainWindowTest::typedNumberIsTakenOnActivation() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    // Another window takes the focus while a number is typed but not chosen...
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.find<QComboBox>("Combo1")->setEditText(QStringLiteral("6/2026"));
    QCOMPARE(f.window->panel(0)->text(), QStringLiteral(" Korpus zaworu"));
    // ...and when the main window is active again, the typed number is selected.
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QCOMPARE(f.window->panel(0)->text(), QString::fromUtf8(" Wałek"));
    QCOMPARE(f.window->grid()->rowCount(), 12);
}

void MainWindowTest::returnFromAnotherProgramKeepsTheSeries() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    RecordSet* series = f.window->session()->series();
    QStringList before;
    for (series->moveFirst(); !series->isEof(); series->moveNext()) {
        before << series->field(QStringLiteral("P1")).toText(RegionalSettings::polish());
    }
    clickCell(f.window->grid(), 7, 3);  // series 4
    QCOMPARE(f.window->session()->series()->position(), 3);
    // The desktop's focus goes to another program and comes back.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(f.window->isActiveWindow());
    QCOMPARE(f.window->session()->series()->position(), 3);
    // Each question is a window of the program; closing it activates the main window,
    // which must not move the series the command is about to delete.
    f.dialogs.onQuestion = [&f] {
        QWidget box;
        box.show();
        QApplication::setActiveWindow(&box);
        QApplication::setActiveWindow(f.window.get());
    };
    f.dialogs.answers = {true, true};
    f.find<QAction>("UsunDana")->trigger();
    QStringList after;
    series = f.window->session()->series();
    for (series->moveFirst(); !series->isEof(); series->moveNext()) {
        after << series->field(QStringLiteral("P1")).toText(RegionalSettings::polish());
    }
    before.removeAt(3);
    QCOMPARE(after, before);
}

void MainWindowTest::gridShowsWholeNumbers() {
    WindowFixture f(QString::fromUtf8(
        "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, CoRef) VALUES ('1', 5, 2, 2, 3);"
        "INSERT INTO DanePom (ID, Operator, P1, P2, P3, P4, P5, ObX) VALUES "
        "('1', 'Anna', 1000000.125, -150.125, 1, 1, 1, 1), ('1', 'Anna', 1, 1, 1, 1, 1, 1),"
        "('1', 'Jan', 1, 1, 1, 1, 1, 1), ('1', 'Jan', 1, 1, 1, 1, 1, 1);"));
    QVERIFY(f.load());
    DataGrid* grid = f.window->grid();
    QCOMPARE(grid->cellText(1, 2), QString::fromUtf8("1000000,125"));
    QCOMPARE(grid->cellText(1, 3), QString::fromUtf8("-150,125"));
    const QFontMetrics metrics(grid->font());
    for (int r = 1; r < grid->rows(); ++r) {
        for (int c = 2; c < grid->columns(); ++c) {
            const int needed = metrics.horizontalAdvance(grid->cellText(r, c).trimmed()) + 2;
            QVERIFY2(grid->columnWidth(c) >= needed, qPrintable(grid->cellText(r, c)));
        }
    }
    // a column of ordinary values keeps its 660-twips width, the separator stays thin
    QCOMPARE(grid->columnWidth(4), Twips::toPixels(660, grid->logicalDpiX()));
    QCOMPARE(grid->columnWidth(7), Twips::toPixels(60, grid->logicalDpiX()));
}

void MainWindowTest::storedTextIsNeverMarkup() {
    WindowFixture f(QString::fromUtf8(
        "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NazwaC, NazwaP, CoRef) "
        "VALUES ('1', 5, 2, 2, '<b>Wałek</b>', 'a<br>b', 3);"));
    QVERIFY(f.load());
    QCOMPARE(f.window->panel(0)->text(), QString::fromUtf8(" <b>Wałek</b>"));
    for (int i = 0; i < Panels::kCount; ++i) {
        if (i != 2 && i != 23) {
            QCOMPARE(f.window->panel(i)->textFormat(), Qt::PlainText);
        }
    }
}

void MainWindowTest::windowSizeDoesNotFollowTheData() {
    const QString longName(30, QChar(u'W'));
    WindowFixture f(TestDatabase::fixture("worked_example.sql") +
                    QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NazwaC, "
                                   "NumerC, NazwaP, NumerP, ZakresP, Parametr, Jednostka, CoRef) "
                                   "VALUES ('dlugi', 5, 2, 2, '%1', '%1', '%1', '%1', '%1', '%1', "
                                   "'%1', 3);")
                        .arg(longName));
    QVERIFY(f.load());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto* combo = f.find<QComboBox>("Combo1");
    const QSize withLongNames = f.window->minimumSizeHint();
    QVERIFY2(withLongNames.width() <= 1280, qPrintable(QString::number(withLongNames.width())));
    auto* panel = static_cast<PanelLabel*>(f.window->panel(0));
    QCOMPARE(panel->text(), QLatin1Char(' ') + longName);  // whole, though shown shortened
    QVERIFY(panel->isElided());
    const int gridHeight = f.window->grid()->height();  // no series: the grid is hidden
    f.window->selectAnalysisAt(combo->findText(QStringLiteral("1/2026")));
    QVERIFY(!f.window->grid()->isHidden());
    QCOMPARE(f.window->minimumSizeHint(), withLongNames);
    QCOMPARE(f.window->grid()->height(), gridHeight);
    QVERIFY(!panel->isElided());
}

void MainWindowTest::secondQuestionStandsOverTheWindow() {
    WidgetDialogs dialogs;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(dialogs.parentForBox(), &window);
    QApplication::setActiveWindow(nullptr);  // the first box has gone, nothing is active
    QCOMPARE(dialogs.parentForBox(), &window);
}

// Enter on a question takes its default button, which must be No; and a number typed
// as "<b>7</b>/26" shows its brackets, in questions and messages alike.
void MainWindowTest::boxesShowPlainTextAndEnterAnswersNo() {
    WidgetDialogs dialogs;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString text = QStringLiteral("Usunąć analizę <b>7</b>/26?");
    QStringList seen;
    auto pressEnterOnTheBox = [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        seen << box->text();
        QTest::keyClick(box, Qt::Key_Return);
    };
    QTimer::singleShot(0, pressEnterOnTheBox);
    QVERIFY(!dialogs.askYesNo(text, QStringLiteral("Uwaga !"), Dialogs::Icon::Question));
    QTimer::singleShot(0, pressEnterOnTheBox);
    dialogs.message(text, QStringLiteral("UWAGA !!!"), Dialogs::Icon::Critical);
    QCOMPARE(seen, (QStringList{text, text}));
}

// Another program holds the file past the lock timeout: the selection is told, shows
// nothing, and is told once (not again at every refresh).
void MainWindowTest::failedReadShowsNoResults() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    QCOMPARE(f.window->panel(Panels::kPercentRR)->text(), QStringLiteral("125,91 "));
    sqlite3* other = nullptr;
    QCOMPARE(sqlite3_open(f.database.path().toUtf8().constData(), &other), SQLITE_OK);
    QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE; UPDATE Ustawienia SET Firma = 'x';", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    f.window->selectAnalysisAt(0);
    f.window->selectAnalysis();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY2(f.dialogs.calls[0].text.contains(QStringLiteral("zablokowany")),
             qPrintable(f.dialogs.calls[0].text));
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Critical);
    for (const int i : Panels::resultIndices()) {
        QVERIFY(f.window->panel(i)->text().isEmpty());
    }
    QVERIFY(f.window->panel(Panels::kPartName)->text().isEmpty());
    QVERIFY(f.window->grid()->isHidden());
    QVERIFY(!enabled(f, "DrukujAnaliza"));
    QVERIFY(f.window->screen().failed());
    // The reason stays in the window, also when the same failure is not told again.
    QCOMPARE(f.window->readFailureLabel()->text(), f.dialogs.calls[0].text);
    QVERIFY(!f.window->readFailureLabel()->isHidden());
    // The lock has gone: coming back from another of the program's windows reads again.
    f.window->show();
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget editor;
    editor.show();
    QApplication::setActiveWindow(&editor);
    QApplication::setActiveWindow(f.window.get());
    QCOMPARE(f.window->panel(Panels::kPartName)->text(), QString::fromUtf8(" Wałek"));
    QVERIFY(!f.window->screen().failed());
    QVERIFY(f.window->readFailureLabel()->isHidden());
}

// The series table is not checked at start (that would read the whole file): its
// damage is told when the selection reads it, and nothing is shown from it; so is a
// stored text or infinity where a measured value belongs.
void MainWindowTest::damagedSeriesAreToldAtSelection_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("told");
    QTest::newRow("damaged page") << QString() << QString::fromUtf8("uszkodzony");
    QTest::newRow("damaged list of analyses")
        << QStringLiteral("-- Analiza") << QString::fromUtf8("uszkodzony");
    QTest::newRow("a text") << QStringLiteral("UPDATE DanePom SET P2 = 'x'")
                            << QString::fromUtf8("wartość pomiaru „x” nie jest liczbą");
    QTest::newRow("an infinity") << QStringLiteral("UPDATE DanePom SET P2 = 9e999")
                                 << QString::fromUtf8("wartość pomiaru „inf” nie jest liczbą");
}

void MainWindowTest::damagedSeriesAreToldAtSelection() {
    QFETCH(QString, damage);
    QFETCH(QString, told);
    WindowFixture f(TestDatabase::fixture("worked_example.sql") + damage + QLatin1Char(';'));
    if (damage.isEmpty() || damage.startsWith(QLatin1String("--"))) {
        QVERIFY(TestDatabase::damageTable(f.database.path(), damage.isEmpty()
                                                                 ? QStringLiteral("DanePom")
                                                                 : QStringLiteral("Analiza")));
    }
    if (!f.load()) {
        QVERIFY(damage.startsWith(QLatin1String("--")));  // refused at start, with its cause
        return;
    }
    QCOMPARE(f.dialogs.calls.size(), 1);
    QVERIFY2(f.dialogs.calls[0].text.contains(told), qPrintable(f.dialogs.calls[0].text));
    QVERIFY(f.window->screen().failed() || !f.window->readFailureLabel()->isHidden());
    QVERIFY(f.window->panel(Panels::kPercentRR)->text().isEmpty());
    QVERIFY(!enabled(f, "DrukujAnaliza"));
}

void MainWindowTest::analysisWithoutSeries() {
    WindowFixture f(
        QStringLiteral("INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, NazwaC, CoRef) "
                       "VALUES ('1', 5, 2, 2, 'Tulejka', 9);"));
    QVERIFY(f.load());
    QCOMPARE(f.window->panel(0)->text(), QStringLiteral(" Tulejka"));
    QVERIFY(f.window->grid()->isHidden());
    QVERIFY(f.window->panel(13)->text().isEmpty());
    QVERIFY(f.find<QLabel>("Label2")->text().isEmpty());  // mode 9 leaves it as it was
    QVERIFY(enabled(f, "NowaDana"));
    QCOMPARE(f.window->session()->series()->recordCount(), 0);
}

void MainWindowTest::emptyDatabase() {
    WindowFixture f;
    QVERIFY(f.load());
    QCOMPARE(f.find<QComboBox>("Combo1")->count(), 0);
    QVERIFY(f.window->grid()->isHidden());
    QVERIFY(!f.window->session()->series());
    f.window->selectAnalysis();  // nothing to select, nothing breaks
    QVERIFY(!enabled(f, "DrukujAnaliza"));
}

void MainWindowTest::startupFailures_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("cause");
    QTest::newRow("missing file") << ""
                                  << "plik nie istnieje";
    QTest::newRow("foreign file") << "foreign" << QString::fromUtf8("nie jest bazą danych");
    QTest::newRow("damaged database") << "damaged" << QString::fromUtf8("uszkodzony");
    QTest::newRow("incomplete database")
        << "incomplete" << QString::fromUtf8("brak tabeli „Trans”");
    QTest::newRow("hostile number pattern")
        << QStringLiteral("UPDATE Ustawienia SET FP = printf('%.*c', 100000, '0');")
        << QString::fromUtf8("zapis FP ma 100000 znaków");
}

void MainWindowTest::startupFailures() {
    QFETCH(QString, setup);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KALMET.MDB"));
    if (setup == QLatin1String("foreign")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("to nie jest baza danych");
    } else if (setup == QLatin1String("damaged")) {
        QVERIFY(TestDatabase::runSql(
            path, TestDatabase::schema() + TestDatabase::fixture("worked_example.sql")));
        QVERIFY(TestDatabase::damageTable(path, QStringLiteral("Ustawienia")));
    } else if (setup == QLatin1String("incomplete")) {
        QVERIFY(TestDatabase::runSql(path,
                                     TestDatabase::schema() + QStringLiteral("DROP TABLE Trans;")));
    } else if (!setup.isEmpty()) {  // SQL on a sound file
        QVERIFY(TestDatabase::runSql(path, TestDatabase::schema() + setup));
    }
    const QByteArray before = QFile::exists(path) ? [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }() : QByteArray();
    ScriptedDialogs dialogs;
    UiEnvironment env;
    env.dialogs = &dialogs;
    env.showModal = [](QDialog& d) { d.reject(); };
    const Started started = startKalmet(dir.path(), RegionalSettings::polish(), env);
    QVERIFY(!started.window);
    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls[0].icon, Dialogs::Icon::Critical);
    QVERIFY(dialogs.calls[0].afterBeep);
    QVERIFY2(dialogs.calls[0].text.contains(path), qPrintable(dialogs.calls[0].text));
    QVERIFY2(dialogs.calls[0].text.contains(cause), qPrintable(dialogs.calls[0].text));
    if (setup.isEmpty()) {
        QVERIFY(!QFile::exists(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
}

void MainWindowTest::aboutWindowClosesOnEnter() {
    ScriptedDialogs dialogs;
    for (const char* control : {"Text1", "Text2", "SSCommand1"}) {
        Inform about(dialogs);
        QCOMPARE(about.windowTitle(), QStringLiteral("Informacja"));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QWidget* target = about.findChild<QWidget*>(QString::fromLatin1(control));
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_A);
        QVERIFY(about.isVisible());  // other keys pass on
        QTest::keyClick(target, Qt::Key_Return);
        QVERIFY2(!about.isVisible(), control);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
    Inform about(dialogs);
    QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("SSCommand1"))->text(),
             QStringLiteral("&Zamknij"));
    QVERIFY(about.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->isReadOnly());
    QVERIFY(about.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
                ->toPlainText()
                .contains(QStringLiteral("Kalmet III")));
}

void MainWindowTest::aboutLinkOpensThePageEachTime() {
    ScriptedDialogs dialogs;
    Inform about(dialogs);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto* link = about.findChild<QLineEdit*>(QStringLiteral("Text2"));
    QCOMPARE(link->text(), QString::fromUtf8("zapraszamy na naszą stronę"));
    QCOMPARE(link->palette().color(QPalette::Text), QColor(0, 0, 255));
    QVERIFY(link->font().underline());
    QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) < link->width());
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(dialogs.openedAddresses, (QStringList{QString::fromLatin1(Inform::kMakerAddress),
                                                   QString::fromLatin1(Inform::kMakerAddress)}));
    QVERIFY(about.isVisible());
    QCOMPARE(dialogs.openedAddresses.first(), QStringLiteral("www.kalmet.example"));
    QVERIFY(dialogs.calls.isEmpty());
    // No browser on the machine: the address is told instead.
    dialogs.browserAvailable = false;
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(dialogs.calls.size(), 1);
    QVERIFY(dialogs.calls[0].text.contains(QStringLiteral("www.kalmet.example")));
    // The window stands in the middle of the screen, as the editors do.
    const QPoint middle = about.screen()->geometry().center();
    QVERIFY2((about.frameGeometry().center() - middle).manhattanLength() < 40,
             qPrintable(QStringLiteral("%1,%2").arg(about.x()).arg(about.y())));
}

void MainWindowTest::koniecEndsTheProgram() {
    WindowFixture f;
    QVERIFY(f.load());
    QTimer::singleShot(0, f.find<QAction>("Koniec"), &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });  // the guard
    QCOMPARE(QCoreApplication::exec(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
