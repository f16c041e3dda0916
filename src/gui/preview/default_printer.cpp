#include "default_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "painter_surface.h"

QString DefaultPrinter::print(const ReportInputs& inputs, PageRender::Page page) {
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
    const QString cause = sendPage(printer, inputs, info.printerName(), page);
    if (cause.isEmpty() && printer.printerState() == QPrinter::Error) {
        return QString::fromUtf8("drukarka „%1” nie przyjęła strony").arg(info.printerName());
    }
    return cause;
}

QString DefaultPrinter::sendPage(QPaintDevice& device, const ReportInputs& inputs,
                                 const QString& printerName, PageRender::Page page) {
    QPainter painter;
    const QString refused = QString::fromUtf8("drukarka „%1” nie przyjęła strony").arg(printerName);
    if (!painter.begin(&device)) {
        return refused;
    }
    PainterSurface surface(painter, PainterSurface::Target::Printer);
    // Ending the document submits the job: a refusal there is a page not printed.
    return PageRender::draw(page, inputs, 1.0, surface) ? QString() : refused;
}
