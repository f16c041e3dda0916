#pragma once

#include <QString>

#include "report_inputs.h"

// Sends the report page to a printer; tests stand in for it.
class PagePrinter {
public:
    virtual ~PagePrinter() = default;
    // Empty when the page went to the printer, else why it did not (in Polish).
    virtual QString print(const ReportInputs& inputs) = 0;
};

// The desktop's default printer through Qt PrintSupport (CUPS). With no printer
// configured, or when Qt would quietly print into a file instead, nothing is printed
// and the cause is returned.
class DefaultPrinter : public PagePrinter {
public:
    QString print(const ReportInputs& inputs) override;
};
