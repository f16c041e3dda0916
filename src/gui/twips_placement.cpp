#include "twips_placement.h"

#include <QScreen>
#include <QWidget>

#include "twips.h"

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    const double dpiX = widget->logicalDpiX();
    const double dpiY = widget->logicalDpiY();
    widget->setGeometry(Twips::toPixels(left, dpiX), Twips::toPixels(top, dpiY),
                        Twips::toPixels(width, dpiX), Twips::toPixels(height, dpiY));
}

void centreOnScreen(QWidget* window, int width, int height) {
    if (const QScreen* s = window->screen()) {
        const QRect area = s->geometry();
        window->move(area.x() + (area.width() - width) / 2,
                     area.y() + (area.height() - height) / 2);
    }
}
