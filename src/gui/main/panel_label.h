#pragma once

#include <QLabel>

// A 3-D value panel: plain text (stored text is data, never markup), a size that does
// not follow its text, so a long name cannot widen the window, and a text too long for
// the panel shown shortened with "…" and whole in its tooltip. text() is always the
// whole text.
class PanelLabel : public QLabel {
    Q_OBJECT

public:
    explicit PanelLabel(QWidget* parent = nullptr);
    // The main window's value panel SSPanel1_index: white, sunken, a row high at the dpi.
    static PanelLabel* valuePanel(int index, Qt::Alignment alignment, int dpiY);
    // Its caption Label1_index from a padded caption; the unit after the box, if any,
    // goes to *unit.
    static QLabel* caption(int index, const QString& caption, QString* unit = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool isElided() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString shownText() const;
    QRect textRect() const;
};
