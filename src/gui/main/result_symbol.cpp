#include "result_symbol.h"

#include <QPainter>

ResultSymbol::ResultSymbol(Kind kind, const QString& text, QWidget* parent)
    : QWidget(parent), kind_(kind), text_(text) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QFont ResultSymbol::symbolFont() const {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(font().pointSizeF() * 1.15);
    f.setBold(true);
    f.setItalic(kind_ != Kind::Text);
    return f;
}

QSize ResultSymbol::sizeHint() const {
    const QFontMetrics m(symbolFont());
    return {m.horizontalAdvance(QStringLiteral("R&R")) + 8, m.height() + 6};
}

void ResultSymbol::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(palette().color(QPalette::WindowText));
    const QFont main = symbolFont();
    QFont small = main;
    small.setPointSizeF(main.pointSizeF() * 0.6);
    small.setItalic(false);
    const QFontMetrics m(main);
    const int baseline = (height() + m.ascent() - m.descent()) / 2 + 1;
    p.setFont(main);
    const QString letter = kind_ == Kind::AveragesDifference ? QStringLiteral("X")
                           : kind_ == Kind::Text             ? text_
                                                             : QStringLiteral("R");
    const int x = 3;
    p.drawText(x, baseline, letter);
    const int advance = m.horizontalAdvance(letter);
    switch (kind_) {
        case Kind::RangeOfAverages:
        case Kind::AveragesDifference: {
            p.setFont(small);
            p.drawText(
                x + advance, baseline + m.descent(),
                kind_ == Kind::RangeOfAverages ? QStringLiteral("p") : QStringLiteral("DIFF"));
            break;
        }
        case Kind::MeanRange: {
            QPen pen = p.pen();
            pen.setWidthF(qMax(1.0, m.height() / 16.0));
            p.setPen(pen);
            const int top = baseline - m.capHeight();
            const qreal gap = pen.widthF() * 2.2;
            for (int bar = 1; bar <= 2; ++bar) {
                const qreal y = top - gap * bar;
                p.drawLine(QPointF(x + 1, y), QPointF(x + advance, y));
            }
            break;
        }
        case Kind::Text:
            break;
    }
}
