#pragma once

#include <QVector>

#include "surface.h"

// Keeps every drawing operation in the target's twips, so tests can check the page
// against exact numbers. A text is 100 twips wide per character at 10 points.
class RecordingSurface : public Surface {
public:
    struct Text {
        double x;
        double y;
        QString text;
        double size;
        bool bold;
    };
    struct Line {
        double x1, y1, x2, y2;
        QColor colour;
        int width;
        LineStyle style;
    };
    struct Circle {
        double x, y, radius;
        QColor outline;
        QColor fill;
        int width;
    };

    QVector<Text> texts;
    QVector<Line> lines;
    QVector<Circle> circles;
    QStringList order;  // "text", "line", "circle", "rectangle" as drawn
    bool printer = false;
    bool ended = false;
    double scaleLeft = 0;
    double scaleTop = 0;

    bool isPrinter() const override { return printer; }
    void clear() override {}
    void setFillSolid(bool) override {}
    void setFillColour(const QColor& colour) override { fill_ = colour; }
    void setFontName(const QString&) override {}
    void setFontSize(double points) override { size_ = points; }
    void setBold(bool bold) override { bold_ = bold; }
    bool setLineWidth(int pixels) override {
        if (pixels < 1) {
            return false;
        }
        width_ = pixels;
        return true;
    }
    void setLineStyle(LineStyle style) override { style_ = style; }
    void setScaleLeft(double twips) override { scaleLeft = twips; }
    void setScaleTop(double twips) override { scaleTop = twips; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    double textWidth(const QString& text) const override { return text.size() * 10.0 * size_; }
    void printText(const QString& text) override {
        texts.push_back({x_, y_, text, size_, bold_});
        order << QStringLiteral("text");
    }
    void line(double x1, double y1, double x2, double y2, const QColor& colour) override {
        lines.push_back({x1, y1, x2, y2, colour, width_, style_});
        order << QStringLiteral("line");
    }
    void rectangle(double, double, double, double) override {
        order << QStringLiteral("rectangle");
    }
    void filledCircle(double x, double y, double radius, const QColor& outline) override {
        circles.push_back({x, y, radius, outline, fill_, width_});
        order << QStringLiteral("circle");
    }
    bool endDocument() override {
        ended = true;
        return true;
    }

    const Text* find(const QString& text) const {
        for (const Text& t : texts) {
            if (t.text == text) {
                return &t;
            }
        }
        return nullptr;
    }
    const Text* findStarting(const QString& start) const {
        for (const Text& t : texts) {
            if (t.text.startsWith(start)) {
                return &t;
            }
        }
        return nullptr;
    }

private:
    double size_ = 10;
    bool bold_ = false;
    int width_ = 1;
    LineStyle style_ = LineStyle::Solid;
    QColor fill_;
    double x_ = 0;
    double y_ = 0;
};
