#pragma once

#include <QPaintEngine>

#include "default_printer.h"

// A printing device whose queue refuses the job when the document ends.
class RefusingQueue : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 794;
            case PdmHeight:
                return 1123;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return 256;
            case PdmDevicePixelRatio:
                return 1;
            default:
                return 96;  // the dots per inch
        }
    }

private:
    struct Engine : QPaintEngine {
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return false; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem&) override {}
        Type type() const override { return QPaintEngine::User; }
    };
    mutable Engine engine_;
};

struct StandInPrinter : PagePrinter {
    QString cause;  // empty: the page is printed
    bool refusingQueue = false;
    int pages = 0;
    PageRender::Page lastPage = PageRender::Page::Report;
    QString print(const ReportInputs& inputs, PageRender::Page page) override {
        lastPage = page;
        if (refusingQueue) {
            RefusingQueue device;
            return DefaultPrinter::sendPage(device, inputs, QStringLiteral("Biuro"), page);
        }
        pages += cause.isEmpty() ? 1 : 0;
        return cause;
    }
};
