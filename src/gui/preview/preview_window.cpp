#include "preview_window.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

#include "file_output.h"
#include "image_picture.h"
#include "page_printer.h"
#include "page_render.h"
#include "report_font.h"
#include "report_page.h"
#include "shared_values.h"
#include "twips.h"

namespace {

constexpr int kPageLeft = 540;
constexpr int kPageTop = 570;
constexpr int kShadow = 60;
constexpr int kToolbarHeight = 480;

QIcon glyphIcon(const QString& glyph) {
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(glyph.size() > 2 ? 17 : 30);
    painter.setFont(font);
    painter.setPen(QColor(30, 60, 120));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

}  // namespace

PodKalmet::PodKalmet(const ReportInputs& inputs, SharedValues& shared,
                     const QString& analysisNumber, Dialogs& dialogs, PagePrinter& printer,
                     QWidget* parent)
    : QDialog(parent),
      inputs_(inputs),
      shared_(shared),
      analysisNumber_(analysisNumber),
      dialogs_(dialogs),
      printer_(printer) {
    setObjectName(QStringLiteral("PodKalmet"));
    setWindowTitle(QString::fromUtf8("Podgląd wydruku"));
    setAutoFillBackground(true);

    shadow_ = new QFrame(this);
    shadow_->setObjectName(QStringLiteral("Picture2"));
    shadow_->setAutoFillBackground(true);
    QPalette black = shadow_->palette();
    black.setColor(QPalette::Window, Qt::black);
    shadow_->setPalette(black);
    picture_ = new ImagePicture(page_, this);
    picture_->setObjectName(QStringLiteral("Picture1"));

    toolbar_ = new QFrame(this);
    toolbar_->setObjectName(QStringLiteral("SSPanel1"));
    toolbar_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    toolbar_->setAutoFillBackground(true);
    zoomOutButton_ = addButton("SSCommand6", QStringLiteral("Pomniejsz"), QString::fromUtf8("−"), 0,
                               &PodKalmet::zoomOut);
    addButton("SSCommand7", QStringLiteral("Skala 1:1"), QStringLiteral("1:1"), 1,
              &PodKalmet::zoomOne);
    zoomInButton_ = addButton("SSCommand5", QString::fromUtf8("Powiększ"), QStringLiteral("+"), 2,
                              &PodKalmet::zoomIn);
    addButton("SSCommand3", QString::fromUtf8("Drukuj aktualną stronę"), QStringLiteral("DRUK"), 3,
              &PodKalmet::printPage);
    addButton("SSCommand1", QString::fromUtf8("Zapisuje aktualną stronę na dysku w formacie BMP"),
              QStringLiteral("BMP"), 4, &PodKalmet::saveBitmap);
    addButton("SSCommand8", QString::fromUtf8("Zapisuje aktualną stronę w formacie PDF"),
              QStringLiteral("PDF"), 5, &PodKalmet::savePdf);
    for (const auto& [key, slot] : {std::pair{QKeySequence(Qt::Key_Plus), &PodKalmet::zoomIn},
                                    std::pair{QKeySequence(Qt::Key_Minus), &PodKalmet::zoomOut},
                                    std::pair{QKeySequence(Qt::Key_1), &PodKalmet::zoomOne}}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    }

    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName(QStringLiteral("Pio"));
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName(QStringLiteral("Poz"));
    for (QScrollBar* bar : {vertical_, horizontal_}) {
        bar->setRange(0, 0);
        bar->setSingleStep(150);
        bar->setPageStep(1500);
        connect(bar, &QScrollBar::valueChanged, this, &PodKalmet::scrolled);
    }

    // Load: the font list (selecting an entry draws the page), then the sized page.
    fonts_ = new QComboBox(toolbar_);
    fonts_->setObjectName(QStringLiteral("Combo1"));
    fonts_->addItems(QFontDatabase::families());
    fonts_->setGeometry(pixelsX(6 * 480 + 240), pixelsY(60), pixelsX(3200), pixelsY(360));
    connect(fonts_, qOverload<int>(&QComboBox::activated), this, &PodKalmet::fontChosen);
    // The stored name, else the family it resolves to (never silently the first one).
    int selected = fonts_->findText(shared_.reportFont, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (selected < 0) {
        selected = fonts_->findText(resolveReportFont(shared_.reportFont), Qt::MatchExactly);
    }
    if (fonts_->count() > 0) {
        fonts_->setCurrentIndex(qMax(selected, 0));
        fontChosen();
    }
    sizePictures();
    drawPage();
    scrolled();
    resize(pixelsX(13400), pixelsY(11000));
}

QToolButton* PodKalmet::addButton(const char* name, const QString& tip, const QString& glyph,
                                  int index, void (PodKalmet::*action)()) {
    auto* button = new QToolButton(toolbar_);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(pixelsX(330), pixelsY(330)));
    button->setAutoRaise(false);
    button->setGeometry(pixelsX(60 + index * 480), pixelsY(45), pixelsX(450), pixelsY(390));
    connect(button, &QToolButton::clicked, this, action);
    return button;
}

int PodKalmet::twipsX(int pixels) const {
    return qRound(Twips::fromDevice(pixels, logicalDpiX()));
}
int PodKalmet::twipsY(int pixels) const {
    return qRound(Twips::fromDevice(pixels, logicalDpiY()));
}
int PodKalmet::pixelsX(double twips) const {
    return qRound(Twips::toDevice(twips, logicalDpiX()));
}
int PodKalmet::pixelsY(double twips) const {
    return qRound(Twips::toDevice(twips, logicalDpiY()));
}

void PodKalmet::fontChosen() {
    inputs_.fontName = fonts_->currentText();
    drawPage();
    shared_.reportFont = fonts_->currentText();  // the next preview starts with it
}

void PodKalmet::sizePictures() {
    const QSize size = PageRender::pictureSize(zoom_);
    picture_->resize(size);
    shadow_->resize(size);
}

void PodKalmet::drawPage() {
    page_ = PageRender::picture(inputs_, zoom_);
    ++drawCount_;
    picture_->update();
}

// The scroll ranges follow the window and the page; the page itself moves only when
// a scroll bar's value changes.
void PodKalmet::layOutScrollBars() {
    const int width = twipsX(frameGeometry().width());
    const int height = twipsY(frameGeometry().height());
    const int barWidth = twipsX(vertical_->sizeHint().width());
    const int barHeight = twipsY(horizontal_->sizeHint().height());
    horizontal_->setGeometry(0, pixelsY(height - barHeight - 405), pixelsX(width - barWidth - 125),
                             pixelsY(barHeight));
    vertical_->setGeometry(pixelsX(width - barWidth - 125), pixelsY(kToolbarHeight),
                           pixelsX(barWidth), pixelsY(height - kToolbarHeight - barHeight - 405));
    toolbar_->setGeometry(0, 0, this->width(), pixelsY(kToolbarHeight));
    const int horizontalRange = twipsX(picture_->width()) - width + 1000;
    horizontal_->setMaximum(horizontalRange < 1 ? 0 : horizontalRange);
    const int verticalRange = twipsY(picture_->height()) - height + 1250;
    vertical_->setMaximum(verticalRange < 1 ? 0 : verticalRange);
}

void PodKalmet::scrolled() {
    picture_->move(pixelsX(kPageLeft - horizontal_->value()),
                   pixelsY(kPageTop - vertical_->value()));
    shadow_->move(picture_->x() + pixelsX(kShadow), picture_->y() + pixelsY(kShadow));
}

void PodKalmet::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layOutScrollBars();
}

void PodKalmet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        layOutScrollBars();
    }
}

void PodKalmet::afterZoom() {
    sizePictures();
    drawPage();
    layOutScrollBars();
}

void PodKalmet::zoomIn() {
    zoomInButton_->setEnabled(true);
    zoomOutButton_->setEnabled(true);
    if (zoom_ < 2) {
        zoom_ += 0.1;
    } else {
        zoomInButton_->setEnabled(false);
    }
    afterZoom();
}

void PodKalmet::zoomOut() {
    zoomInButton_->setEnabled(true);
    zoomOutButton_->setEnabled(true);
    if (zoom_ > 0.5) {
        zoom_ -= 0.1;
    } else {
        zoomOutButton_->setEnabled(false);
    }
    afterZoom();
}

void PodKalmet::zoomOne() {
    zoomInButton_->setEnabled(true);
    zoomOutButton_->setEnabled(true);
    zoom_ = 1;
    afterZoom();
}

// The page at zoom 1 goes to the printer; the preview keeps its zoom and picture.
void PodKalmet::printPage() {
    const QString cause = printer_.print(inputs_, PageRender::Page::Report);
    if (!cause.isEmpty()) {
        dialogs_.message(
            QString::fromUtf8("Strona nie została wydrukowana: %1.\n\nMożesz zapisać ją "
                              "w formacie PDF (przycisk PDF) i wydrukować później.")
                .arg(cause),
            QStringLiteral("Uwaga !"), Dialogs::Icon::Warning);
    }
}

// The analysis number names the file: every "/" becomes "_", upper case ("12/2004/A"
// is 12_2004_A). A name that could still leave the folder or hide the file is refused.
QString PodKalmet::exportPath(const QString& folder, const QString& extension,
                              QString* refusal) const {
    QString name = analysisNumber_;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name = name.toUpper();
    bool control = false;
    for (const QChar c : name) {
        control = control || c.unicode() < 32 || c.unicode() == 127;
    }
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1String("..")) || control) {
        *refusal = QString::fromUtf8(
                       "Numer analizy „%1” nie może być nazwą pliku w folderze %2 "
                       "(zaczyna się od „.” albo zawiera „\\”, „..” lub znak sterujący). "
                       "Plik nie został zapisany.")
                       .arg(analysisNumber_, folder);
        return {};
    }
    const QString dir = QDir(shared_.applicationFolder).filePath(folder);
    return QDir(dir).filePath(name + QLatin1Char('.') + extension);
}

// Writes the page into the folder below the program folder; the success message only
// for a file that was written.
void PodKalmet::saveInto(const QString& folder,
                         const std::function<bool(const QString&, QString*)>& write) {
    QString refusal;
    const QString path = exportPath(folder, folder, &refusal);
    if (path.isEmpty()) {
        dialogs_.message(refusal, QStringLiteral("Uwaga !"), Dialogs::Icon::Warning);
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error = QString::fromUtf8("nie można zapisać pliku %1").arg(path);
    if (!write(path, &error)) {
        dialogs_.message(QString::fromUtf8("Nie udało się zapisać strony: %1.").arg(error),
                         QStringLiteral("Uwaga !"), Dialogs::Icon::Warning);
        return;
    }
    dialogs_.message(QStringLiteral("Zapisano w ") + path, QStringLiteral("Info"),
                     Dialogs::Icon::Information);
}

void PodKalmet::saveBitmap() {
    saveInto(QStringLiteral("BMP"), [this](const QString& path, QString* error) {
        return FileOutput::writeImage(page_, path, "BMP", error);
    });
}

void PodKalmet::savePdf() {
    saveInto(QStringLiteral("PDF"), [this](const QString& path, QString* error) {
        return PageRender::writePdf(inputs_, path, error);
    });
}
