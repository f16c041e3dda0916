#pragma once

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "analysis_editor.h"
#include "record_sets.h"
#include "series_editor.h"
#include "window_fixture.h"

// Steps the editor and command suites share: two stored analyses, a valid analysis
// header, a button press, a series entered through the menu.

inline const char* const twoAnalyses =
    "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, Data, NazwaC, NumerC, Parametr, WN, "
    "GWG, DWG, "
    "CoRef, NazwaP, NumerP, BladP, NazwaT, Setings) VALUES "
    "('1/2026', 5, 2, 2, '2026-01-10', 'Tuleja', 'T-1', 'Średnica', 1.33, 10.5, 9.5, 3, "
    "'Mikrometr', 'M-1', "
    "'0,002', 'Stary profil', '1200,n,8,1'),"
    "('2/2026', 5, 2, 3, '2026-01-11', 'Wałek', 'W-2', 'Długość', 1, 20, 19, 0, 'Suwmiarka', "
    "'S-2', "
    "'0,02', 'RS232 - COM2', '4800,e,7,2');";

inline void fillValidAnalysis(NowaA& e) {
    e.box("Text1")->setText(QStringLiteral("Tuleja"));
    e.box("Text2")->setText(QStringLiteral("T-100"));
    e.box("Text3")->setText(QStringLiteral("Średnica"));
    e.box("Text5")->setText(QStringLiteral("mm"));
    e.box("Text4")->setText(QStringLiteral("1,33"));
    e.box("Text6")->setText(QStringLiteral("10,5"));
    e.box("Text7")->setText(QStringLiteral("9,5"));
    e.box("Text8")->setText(QStringLiteral("Mikrometr"));
    e.box("Text9")->setText(QStringLiteral("M-7"));
    e.box("Text15")->setText(QStringLiteral("0,002 mm"));
}

inline void click(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

inline QAction* action(WindowFixture& f, const char* name) {
    return f.find<QAction>(name);
}

inline std::unique_ptr<RecordSet> analysisRow(WindowFixture& f, const QString& numer) {
    auto set = RecordSets::analyses(f.database.db());
    set->find(QStringLiteral("Numer"), Value(numer));
    return set;
}

// Enters one series through the NowaDana command.
inline void enterSeries(WindowFixture& f, const QString& appraiser, const QStringList& values) {
    f.onModal = [&](QDialog& d) {
        auto& dane = static_cast<Dane&>(d);
        dane.appraiserBox()->setText(appraiser);
        for (int i = 0; i < values.size(); ++i) {
            dane.valueBoxes()[i]->setText(values[i]);
        }
        click(d, "Command1");
    };
    action(f, "NowaDana")->trigger();
    f.onModal = nullptr;
}

inline const QList<QStringList> workedSeries = {{"10,01", "10,05", "9,98", "10,10", "10,03"},
                                                {"10,03", "10,04", "9,99", "10,12", "10,02"},
                                                {"10,02", "10,07", "9,97", "10,11", "10,05"},
                                                {"10,00", "10,06", "9,99", "10,09", "10,04"}};
