#pragma once

#include <QString>

struct ReportInputs;
namespace PageRender {
enum class Page;
}

// Sends a page of the analysis to a printer: the desktop's (DefaultPrinter, in preview/)
// or a stand-in of the tests. Every window that prints takes one.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Empty when the page went to the printer, else why it did not (in Polish).
    virtual QString print(const ReportInputs& inputs, PageRender::Page page) = 0;
};
