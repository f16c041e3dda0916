#pragma once

#include <QImage>
#include <QWidget>

// A picture box with a retained image: it repaints itself from the image it is given,
// so covering and uncovering the window needs no drawing.
class ImagePicture : public QWidget {
    Q_OBJECT

public:
    ImagePicture(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& image_;
};
