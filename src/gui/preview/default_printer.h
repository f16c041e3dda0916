#pragma once

#include <QString>

#include "page_printer.h"
#include "page_render.h"
#include "report_inputs.h"

class QPaintDevice;

// The desktop's default printer through Qt PrintSupport (CUPS). With no printer
// configured, or when Qt would quietly print into a file instead, nothing is printed
// and the cause is returned.
class DefaultPrinter : public PagePrinter {
public:
    QString print(const ReportInputs& inputs, PageRender::Page page) override;

    // Draws the page on a printing device and ends the job; empty when the device took
    // the page, else why not. The printer's name goes into the cause.
    static QString sendPage(QPaintDevice& device, const ReportInputs& inputs,
                            const QString& printerName,
                            PageRender::Page page = PageRender::Page::Report);
};
