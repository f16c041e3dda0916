#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "anova_window.h"
#include "stand_in_printer.h"
#include "window_fixture.h"

namespace {

// Opens the ANOVA window of the analysis at the index and runs the steps while it is shown.
void withAnovaWindow(WindowFixture& f, int index, const std::function<void(AnovaWindow&)>& steps) {
    f.window->selectAnalysisAt(index);
    f.onModal = [&](QDialog& d) {
        steps(static_cast<AnovaWindow&>(d));
        d.reject();
    };
    f.find<QAction>("Anova")->trigger();
    f.onModal = nullptr;
}

template <typename T>
T* child(const AnovaWindow& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
}

void typeAlpha(AnovaWindow& w, const QString& text) {
    auto* box = child<QComboBox>(w, "Alfa");
    box->setEditText(text);
    emit box->lineEdit()->editingFinished();
}

}  // namespace

class AnovaWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheStudysAnova();
    void alphaIsChosenOrRefused();
    void printsAndSavesTheAnovaPage();
};

// The window shows the texts view/ makes of the same study, in the verdict colours.
void AnovaWindowTest::showsTheStudysAnova() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    const AnalysisScreen study = studyInFile(f.database.path(), QStringLiteral("AIAG"));
    const AnovaTexts::Texts expected = AnovaTexts::of(*study.anova, study.study, f.regional);
    bool shown = false;
    withAnovaWindow(f, 0, [&](AnovaWindow& w) {
        shown = true;
        QCOMPARE(w.windowTitle(), QStringLiteral("Analiza wariancji (ANOVA)"));
        auto* full = child<QTableWidget>(w, "TabelaPelna");
        QCOMPARE(full->horizontalHeaderItem(0)->text(), QString::fromUtf8("Źródło zmienności"));
        QCOMPARE(full->item(2, 0)->text(), expected.full[2].name);
        QCOMPARE(full->item(2, 5)->text(), expected.full[2].cells[4]);
        QCOMPARE(child<QLabel>(w, "Interakcja")->text(), expected.interactionSentence);
        QVERIFY(!child<QTableWidget>(w, "TabelaPolaczona")->parentWidget()->isHidden());
        QCOMPARE(child<QTableWidget>(w, "Skladniki")->item(4, 5)->text(),
                 expected.components[4].cells[4]);
        auto* rr = child<QLabel>(w, "ProcentRR");
        QCOMPARE(rr->text().trimmed(), expected.evaluation[AnovaTexts::Texts::kRr].anova.text);
        QCOMPARE(rr->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(child<QLabel>(w, "Porownanie")->text(), expected.comparison);
    });
    QVERIFY(shown);
    QCOMPARE(f.modals, QStringList{QStringLiteral("AnovaWindow")});
}

void AnovaWindowTest::alphaIsChosenOrRefused() {
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"));
    QVERIFY(f.load());
    withAnovaWindow(f, 1, [&](AnovaWindow& w) {  // M/5: interaction p 0,24995
        auto* pooled = child<QTableWidget>(w, "TabelaPolaczona")->parentWidget();
        QVERIFY(!pooled->isHidden());
        typeAlpha(w, QStringLiteral("0,25"));
        QCOMPARE(w.alpha(), 0.25);
        QVERIFY(pooled->isHidden());
        // p 0,24995 printed with the digits that make "< 0,25" true
        QCOMPARE(child<QLabel>(w, "Interakcja")->text(),
                 QString::fromUtf8("Interakcja istotna: p = 0,24995 < α = 0,25 — oceniana osobno"));
        // typed keys are taken as typed: "0" and Enter is no alpha, not the listed 0,05
        auto* box = child<QComboBox>(w, "Alfa");
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("0"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.alpha(), 0.25);
        QCOMPARE(f.dialogs.calls.size(), 1);
        f.dialogs.calls.clear();
        for (const char* wrong : {"0,9", "abc", "0,0001", "nan"}) {
            typeAlpha(w, QString::fromLatin1(wrong));
            QCOMPARE(f.dialogs.calls.last().text,
                     QString::fromUtf8("Poziom istotności α musi być liczbą od 0,001 do 0,5."));
            QCOMPARE(w.alpha(), 0.25);
            QCOMPARE(child<QComboBox>(w, "Alfa")->currentText(), QStringLiteral("0,25"));
        }
        QCOMPARE(f.dialogs.calls.size(), 4);
        typeAlpha(w, QStringLiteral("0,0125"));  // a typed alpha is applied and shown whole
        QCOMPARE(w.alpha(), 0.0125);
        QVERIFY(child<QLabel>(w, "Metoda")->text().contains(QString::fromUtf8("α = 0,0125")));
    });
}

void AnovaWindowTest::printsAndSavesTheAnovaPage() {
    StandInPrinter printer;
    WindowFixture f(TestDatabase::fixture("aiag_10x3x3.sql"), RegionalSettings::polish(), &printer);
    QVERIFY(f.load());
    QTemporaryDir dir;
    withAnovaWindow(f, 1, [&](AnovaWindow& w) {
        child<QPushButton>(w, "Drukuj")->click();
        QCOMPARE(printer.pages, 1);
        QCOMPARE(printer.lastPage, PageRender::Page::Anova);
        printer.cause = QStringLiteral("brak papieru");
        child<QPushButton>(w, "Drukuj")->click();
        QVERIFY(f.dialogs.calls.last().text.contains(QStringLiteral("brak papieru")));

        auto* save = child<QPushButton>(w, "ZapiszPdf");
        const int messages = f.dialogs.calls.size();
        save->click();  // cancelled: nothing written, nothing said
        QCOMPARE(f.dialogs.calls.size(), messages);
        QVERIFY(f.suggestedFiles.last().endsWith(QStringLiteral("M_5_ANOVA.pdf")));
        f.savesPdfThrough(*save, dir.filePath(QStringLiteral("m5.pdf")),
                          QString::fromUtf8("Nie udało się zapisać strony"));
    });
}

QTEST_MAIN(AnovaWindowTest)
#include "tst_anova_window.moc"
