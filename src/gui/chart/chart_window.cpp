#include "chart_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>

#include "blank_page.h"
#include "chart_colours.h"
#include "image_picture.h"
#include "painter_surface.h"
#include "twips.h"
#include "twips_placement.h"

namespace {

struct SeriesBox {
    const char* caption;
    QColor colour;
    int left;
    int width;
};

const SeriesBox kBoxes[] = {
    {"Wartości pomiarowe", ChartColours::kValues, 1050, 1785},
    {"Rozstęp dla części", ChartColours::kRanges, 2820, 1665},
    // Light yellow is unreadable on a light window: the text is drawn on a dark
    // patch of its own, so the legend keeps the series' colour.
    {"Średnia dla części", ChartColours::kPartMeans, 4530, 1605},
    {"Średnia dla operatora", ChartColours::kAppraiserMeans, 6180, 1815},
    {"Średnia dla całości", ChartColours::kGrandMean, 8040, 1665},
};

}  // namespace

KalmetWyk::KalmetWyk(const ReportInputs& inputs, QWidget* parent)
    : QDialog(parent), inputs_(inputs) {
    setObjectName(QStringLiteral("KalmetWyk"));
    setWindowTitle(QStringLiteral("Wykres"));
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    setFixedSize(qRound(Twips::toDevice(9930, dpiX)), qRound(Twips::toDevice(4500, dpiY)));

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    placeInTwips(frame, 30, 60, 9855, 465);
    auto* label = new QLabel(QStringLiteral("Na wykresie :"), frame);
    label->setObjectName(QStringLiteral("Label1"));
    placeInTwips(label, 30, 150, 975, 255);
    // A compact legend (today's fonts are wider than an 8-point bitmap font); a caption
    // wider than its twips box pushes the next box right instead of being cut.
    QFont compact = font();
    compact.setPointSizeF(7);
    frame->setFont(compact);
    int nextLeft = 0;
    for (int i = 0; i < 5; ++i) {
        const SeriesBox& b = kBoxes[i];
        auto* box = new QCheckBox(QString::fromUtf8(b.caption), frame);
        box->setObjectName(QStringLiteral("SSCheck1_%1").arg(i));
        box->setChecked(true);
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, b.colour);
        box->setPalette(palette);
        if (i == 2) {
            box->setStyleSheet(
                QStringLiteral("QCheckBox { color: rgb(255, 255, 0); "
                               "background: rgb(90, 90, 90); }"));
        }
        placeInTwips(box, b.left, 150, b.width, 255);
        box->resize(qMax(box->width(), box->sizeHint().width()), box->height());
        box->move(qMax(box->x(), nextLeft), box->y());
        nextLeft = box->x() + box->width() + 4;
        connect(box, &QCheckBox::clicked, this, &KalmetWyk::Wykres);
        boxes_[static_cast<std::size_t>(i)] = box;
    }
    label->setFont(compact);
    label->adjustSize();

    picture_ = new ImagePicture(image_, this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    placeInTwips(picture_, 30, 570, static_cast<int>(ChartDrawing::kPictureWidth),
                 static_cast<int>(ChartDrawing::kPictureHeight));
    shape1_ = new QFrame(picture_);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    const QRect plot = ChartDrawing::kPlotFrame;
    placeInTwips(shape1_, plot.x(), plot.y(), plot.width(), plot.height());
    shape2_ = new QFrame(picture_);
    shape2_->setObjectName(QStringLiteral("Shape2"));
    shape2_->setFrameStyle(QFrame::Box | QFrame::Plain);
    const QRect names = ChartDrawing::kNameStrip;
    placeInTwips(shape2_, names.x(), names.y(), names.width(), names.height());
}

// The shapes' geometry, read from the controls at every drawing.
ChartDrawing KalmetWyk::drawing() const {
    auto twips = [this](const QRect& r) {
        return QRectF(Twips::fromDevice(r.x(), logicalDpiX()),
                      Twips::fromDevice(r.y(), logicalDpiY()),
                      Twips::fromDevice(r.width(), logicalDpiX()),
                      Twips::fromDevice(r.height(), logicalDpiY()));
    };
    ChartDrawing d;
    d.shape1 = twips(shape1_->geometry());
    d.shape2 = twips(shape2_->geometry());
    d.pictureWidth = twips(picture_->rect()).width();
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        d.series[i] = boxes_[i]->isChecked();
    }
    return d;
}

void KalmetWyk::Wykres() {
    QImage image = blankPage(picture_->size(), logicalDpiX());
    {
        QPainter painter(&image);
        PainterSurface surface(painter, PainterSurface::Target::Picture);
        surface.setFontName(QApplication::font().family());
        surface.setFontSize(8);
        drawing().Wykres(surface, inputs_);
    }
    image_ = image;
    ++drawCount_;
    picture_->update();
}

void KalmetWyk::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Wykres();
    }
}
