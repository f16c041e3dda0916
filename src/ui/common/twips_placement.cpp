#include "twips_placement.h"

#include <QWidget>

#include "twips.h"

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    const double dpiX = widget->logicalDpiX();
    const double dpiY = widget->logicalDpiY();
    widget->setGeometry(Twips::toPixels(left, dpiX), Twips::toPixels(top, dpiY),
                        Twips::toPixels(width, dpiX), Twips::toPixels(height, dpiY));
}
