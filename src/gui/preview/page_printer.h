#pragma once

#include <QString>

class QPaintDevice;

#include "page_render.h"
#include "report_inputs.h"

// Sends a page of the analysis to a printer; tests stand in for it.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Empty when the page went to the printer, else why it did not (in Polish).
    virtual QString print(const ReportInputs& inputs, PageRender::Page page) = 0;
};

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
