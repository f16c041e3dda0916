#pragma once

#include <QDialog>
#include <QImage>
#include <functional>

#include "dialogs.h"
#include "report_inputs.h"

class QComboBox;
class QFrame;
class QScrollBar;
class QToolButton;
class PagePrinter;
class SharedValues;

// PodKalmet, the print preview: the report page at a zoom (0.4 to 2, in steps of 0.1
// added in double precision), scrolled by Pio and Poz, in the report font chosen in
// Combo1; it prints the page at zoom 1 and saves it as BMP (or PDF) below the program
// folder. Everything is laid out in twips.
class PodKalmet : public QDialog {
    Q_OBJECT

public:
    PodKalmet(const ReportInputs& inputs, SharedValues& shared, const QString& analysisNumber,
              Dialogs& dialogs, PagePrinter& printer, QWidget* parent = nullptr);

    double zoom() const { return zoom_; }
    int drawCount() const { return drawCount_; }
    const QImage& page() const { return page_; }
    // The file a save would write, or empty with the reason when the name would leave
    // its folder.
    QString exportPath(const QString& folder, const QString& extension, QString* refusal) const;

    void zoomIn();      // SSCommand5
    void zoomOut();     // SSCommand6
    void zoomOne();     // SSCommand7
    void printPage();   // SSCommand3
    void saveBitmap();  // SSCommand1
    void savePdf();     // SSCommand8

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QToolButton* addButton(const char* name, const QString& tip, const QString& glyph, int index,
                           void (PodKalmet::*action)());
    void fontChosen();
    void sizePictures();
    void drawPage();
    void layOutScrollBars();
    void scrolled();
    void afterZoom();
    void saveInto(const QString& folder,
                  const std::function<bool(const QString&, QString*)>& write);
    int twipsX(int pixels) const;
    int twipsY(int pixels) const;
    int pixelsX(double twips) const;
    int pixelsY(double twips) const;

    ReportInputs inputs_;
    SharedValues& shared_;
    QString analysisNumber_;
    Dialogs& dialogs_;
    PagePrinter& printer_;
    double zoom_ = 1;
    int drawCount_ = 0;
    QImage page_;
    QFrame* toolbar_ = nullptr;
    QComboBox* fonts_ = nullptr;
    QWidget* picture_ = nullptr;
    QFrame* shadow_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QToolButton* zoomInButton_ = nullptr;
    QToolButton* zoomOutButton_ = nullptr;
};
