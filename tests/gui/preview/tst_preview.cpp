#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include "page_render.h"
#include "preview_window.h"
#include "stand_in_printer.h"
#include "twips.h"
#include "window_fixture.h"

namespace {

QToolButton* button(PodKalmet& p, const char* name) {
    return p.findChild<QToolButton*>(QString::fromLatin1(name));
}

// Opens the preview of the selected analysis and runs the checks while it is shown.
void withPreview(WindowFixture& f, const std::function<void(PodKalmet&)>& checks) {
    f.onModal = [&](QDialog& d) {
        checks(static_cast<PodKalmet&>(d));
        d.reject();
    };
    f.find<QAction>("DrukujAnaliza")->trigger();
    f.onModal = nullptr;
}

}  // namespace

class PreviewTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithThePageDrawnTwice();
    void zoomLimits();
    void scrollingKeepsThePlace();
    void bitmapNames_data();
    void bitmapNames();
    void printing();
    void failedWriteIsTold();
};

void PreviewTest::opensWithThePageDrawnTwice() {
    WindowFixture f(TestDatabase::fixture("study_10x3x3.sql"));
    QVERIFY(f.load());
    bool shown = false;
    withPreview(f, [&](PodKalmet& p) {
        shown = true;
        QCOMPARE(p.windowTitle(), QString::fromUtf8("Podgląd wydruku"));
        QCOMPARE(p.drawCount(), 2);
        QCOMPARE(button(p, "SSCommand6")->toolTip(), QStringLiteral("Pomniejsz"));
        QCOMPARE(button(p, "SSCommand7")->toolTip(), QStringLiteral("Skala 1:1"));
        QCOMPARE(button(p, "SSCommand5")->toolTip(), QString::fromUtf8("Powiększ"));
        QCOMPARE(button(p, "SSCommand3")->toolTip(), QString::fromUtf8("Drukuj aktualną stronę"));
        QCOMPARE(button(p, "SSCommand1")->toolTip(),
                 QString::fromUtf8("Zapisuje aktualną stronę na dysku w formacie BMP"));
        QVERIFY(p.findChild<QComboBox*>(QStringLiteral("Combo1"))->count() > 0);
        QCOMPARE(p.page().size(), QSize(794, 1123));
    });
    QVERIFY(shown);
    QCOMPARE(f.modals, QStringList{QStringLiteral("PodKalmet")});
    // the button runs the same command
    f.modals.clear();
    f.find<QPushButton>("SSCommand2")->click();
    QCOMPARE(f.modals, QStringList{QStringLiteral("PodKalmet")});
}

void PreviewTest::zoomLimits() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    withPreview(f, [&](PodKalmet& p) {
        double expected = 1;
        for (int i = 0; i < 10; ++i) {
            p.zoomIn();
            expected += 0.1;
        }
        QCOMPARE(p.zoom(), expected);
        QCOMPARE(QString::number(p.zoom(), 'g', 16), QStringLiteral("2.000000000000001"));
        QVERIFY(button(p, "SSCommand5")->isEnabled());
        const int draws = p.drawCount();
        p.zoomIn();  // only disables the button, but redraws
        QCOMPARE(p.zoom(), expected);
        QVERIFY(!button(p, "SSCommand5")->isEnabled());
        QCOMPARE(p.drawCount(), draws + 1);
        QCOMPARE(qint64(p.page().width()) * p.page().height(), 4LL * 794 * 1123);
        p.zoomOne();
        QVERIFY(button(p, "SSCommand5")->isEnabled());
        for (int i = 0; i < 6; ++i) {
            p.zoomOut();
        }
        QVERIFY(std::fabs(p.zoom() - 0.4) < 1e-9);
        p.zoomOut();
        QVERIFY(std::fabs(p.zoom() - 0.4) < 1e-9);
        QVERIFY(!button(p, "SSCommand6")->isEnabled());
    });
}

void PreviewTest::scrollingKeepsThePlace() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    withPreview(f, [&](PodKalmet& p) {
        p.resize(600, 500);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        auto* pio = p.findChild<QScrollBar*>(QStringLiteral("Pio"));
        auto* poz = p.findChild<QScrollBar*>(QStringLiteral("Poz"));
        QVERIFY(pio->maximum() > 0 && poz->maximum() > 0);
        pio->setValue(900);
        poz->setValue(300);
        p.zoomIn();
        QCOMPARE(pio->value(), 900);
        QWidget* page = p.findChild<QWidget*>(QStringLiteral("Picture1"));
        const double dpi = p.logicalDpiX();
        QCOMPARE(page->pos(),
                 QPoint(Twips::toPixels(540 - 300, dpi), Twips::toPixels(570 - 900, dpi)));
        QWidget* shadow = p.findChild<QWidget*>(QStringLiteral("Picture2"));
        QCOMPARE(shadow->pos(), page->pos() + QPoint(4, 4));
        QCOMPARE(shadow->size(), page->size());
        // a window 1000 twips wider than the page: nothing to scroll sideways
        p.zoomOne();
        p.resize(page->width() + 200, 500);
        QCoreApplication::processEvents();
        QCOMPARE(poz->maximum(), 0);
        p.hide();
    });
}

void PreviewTest::bitmapNames_data() {
    QTest::addColumn<QString>("numer");
    QTest::addColumn<QString>("file");  // empty: refused
    QTest::newRow("number/year") << "12/2004"
                                 << "BMP/12_2004.BMP";
    QTest::newRow("letters") << "ab-7"
                             << "BMP/AB-7.BMP";
    QTest::newRow("several slashes") << "12/2004/a"
                                     << "BMP/12_2004_A.BMP";
    QTest::newRow("parent folder") << "../x" << QString();
    QTest::newRow("hidden file") << ".x" << QString();
}

void PreviewTest::bitmapNames() {
    QFETCH(QString, numer);
    QFETCH(QString, file);
    WindowFixture f(TestDatabase::fixture("worked_example.sql") +
                    QStringLiteral("UPDATE Analiza SET Numer = '%1'; UPDATE DanePom SET ID = '%1';")
                        .arg(numer));
    QVERIFY(f.load());
    withPreview(f, [&](PodKalmet& p) {
        p.zoomIn();
        p.saveBitmap();
        p.savePdf();
    });
    QCOMPARE(f.dialogs.calls.size(), 2);
    const QString folder = f.database.folder() + QLatin1Char('/');
    if (file.isEmpty()) {
        QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Warning);
        QVERIFY(QDir(folder + QStringLiteral("BMP")).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFile::exists(folder + QStringLiteral("BMP/A_B")));
        return;
    }
    QCOMPARE(f.dialogs.calls[0].text, QStringLiteral("Zapisano w ") + folder + file);
    QCOMPARE(f.dialogs.calls[0].title, QStringLiteral("Info"));
    QCOMPARE(QImage(folder + file).size(), PageRender::pictureSize(1.1));
    QString pdf = file;
    pdf.replace(QStringLiteral("BMP"), QStringLiteral("PDF"));
    QVERIFY(QFile::exists(folder + pdf));
}

void PreviewTest::printing() {
    StandInPrinter printer;
    WindowFixture f(TestDatabase::fixture("worked_example.sql"), RegionalSettings::polish(),
                    &printer);
    QVERIFY(f.load());
    withPreview(f, [&](PodKalmet& p) {
        p.zoomIn();
        const int draws = p.drawCount();
        p.printPage();
        QCOMPARE(printer.pages, 1);
        QVERIFY(std::fabs(p.zoom() - 1.1) < 1e-9);
        QCOMPARE(p.drawCount(), draws);  // the preview is not redrawn
        QVERIFY(f.dialogs.calls.isEmpty());
        printer.cause = QString::fromUtf8("nie skonfigurowano żadnej drukarki");
        p.printPage();
        printer.refusingQueue = true;  // the job is refused when it is submitted
        p.printPage();
    });
    QCOMPARE(printer.pages, 1);
    QCOMPARE(f.dialogs.calls.size(), 2);
    QCOMPARE(f.dialogs.calls[1].text,
             QString::fromUtf8("Strona nie została wydrukowana: drukarka „Biuro” nie przyjęła "
                               "strony.\n\nMożesz zapisać ją w formacie PDF (przycisk PDF) i "
                               "wydrukować później."));
    QVERIFY(f.dialogs.calls[0].text.contains(QString::fromUtf8("żadnej drukarki")));
    QVERIFY(f.dialogs.calls[0].text.contains(QStringLiteral("PDF")));
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Warning);
}

void PreviewTest::failedWriteIsTold() {
    WindowFixture f(TestDatabase::fixture("worked_example.sql"));
    QVERIFY(f.load());
    QFile blocker(f.database.folder() + QStringLiteral("/BMP"));  // a file where the folder goes
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    withPreview(f, [&](PodKalmet& p) { p.saveBitmap(); });
    QCOMPARE(f.dialogs.calls.size(), 1);
    QCOMPARE(f.dialogs.calls[0].icon, Dialogs::Icon::Warning);
    QVERIFY(!f.dialogs.calls[0].text.startsWith(QStringLiteral("Zapisano")));
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
