#include "image_picture.h"

#include <QPainter>

void ImagePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}
