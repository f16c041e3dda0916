#include "page_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "painter_surface.h"
#include "report_page.h"

QString DefaultPrinter::print(const ReportInputs& inputs) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return QString::fromUtf8("nie skonfigurowano żadnej drukarki");
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        return QString::fromUtf8("drukarka „%1” nie jest dostępna").arg(info.printerName());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QString::fromUtf8("drukarka „%1” nie przyjęła strony").arg(info.printerName());
    }
    PainterSurface surface(painter, PainterSurface::Target::Printer);
    ReportPage(inputs, 1.0).PDT(surface);  // ends the document, which sends the page
    return {};
}
