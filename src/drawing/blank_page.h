#pragma once

#include <QImage>

#include "twips.h"

// The one way a page or a picture starts: white, with its dots per inch recorded, so
// that a saved file prints at its true size.
inline QImage blankPage(const QSize& pixels, double dotsPerInch = Twips::kScreenDpi) {
    QImage image(pixels, QImage::Format_RGB32);
    image.setDotsPerMeterX(Twips::dotsPerMeter(dotsPerInch));
    image.setDotsPerMeterY(Twips::dotsPerMeter(dotsPerInch));
    image.fill(Qt::white);
    return image;
}
