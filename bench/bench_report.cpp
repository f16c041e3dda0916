// Time of the whole report page: at zoom 2 into the page picture and into a PDF, each
// beside the time to clear the same picture once. Argument: a database file and the
// number of a complete analysis in it.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "analysis_screen.h"
#include "default_printer.h"
#include "page_render.h"
#include "preview_window.h"
#include "session.h"

namespace {

template <typename Work>
double medianMs(Work work, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_report DB NUMER\n");
        return 64;
    }
    auto opened = Session::openFile(QString::fromLocal8Bit(argv[1]), RegionalSettings::polish(),
                                    Database::Access::ReadOnly);
    if (!opened.session) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error));
        return 2;
    }
    const AnalysisScreen screen =
        AnalysisScreen::select(*opened.session, QString::fromLocal8Bit(argv[2]));
    const ReportInputs inputs =
        ReportInputs::gather(*opened.session, screen, QDateTime::currentDateTime());
    QImage blank(PageRender::pictureSize(2), QImage::Format_RGB32);
    const double clear = medianMs([&] { blank.fill(Qt::white); }, 21);
    const double picture = medianMs([&] { (void)PageRender::picture(inputs, 2); }, 21);
    QTemporaryDir dir;
    QString error;
    const double pdf = medianMs(
        [&] { PageRender::writePdf(inputs, dir.filePath(QStringLiteral("r.pdf")), &error); }, 11);
    // One zoom click of the preview at zoom 2: the page resized and drawn again.
    struct Quiet : Dialogs {
        void beep() override {}
        void message(const QString&, const QString&, Icon) override {}
        bool askYesNo(const QString&, const QString&, Icon) override { return false; }
        bool openAddress(const QString&) override { return true; }
    } quiet;
    DefaultPrinter printer;
    PodKalmet preview(inputs, opened.session->shared(), QStringLiteral("7/2026"), quiet, printer);
    for (int i = 0; i < 9; ++i) {
        preview.zoomIn();
    }
    const double click = medianMs(
                             [&] {
                                 preview.zoomIn();  // to 2.0
                                 preview.zoomOut();
                             },
                             11) /
                         2;
    std::printf("preview: one zoom click near zoom 2 %.2f ms (target <= 50)\n", click);
    std::printf(
        "report page: clear the zoom-2 picture %.2f ms, page at zoom 2 %.2f ms "
        "(target <= 50), PDF %.2f ms (target <= 100)\n",
        clear, picture, pdf);
    return 0;
}
