#include "panel_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "caption_parts.h"
#include "twips.h"

PanelLabel::PanelLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

PanelLabel* PanelLabel::valuePanel(int index, Qt::Alignment alignment, int dpiY) {
    auto* panel = new PanelLabel;
    panel->setObjectName(QStringLiteral("SSPanel1_%1").arg(index));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    panel->setAlignment(alignment | Qt::AlignVCenter);
    panel->setMinimumHeight(Twips::toPixels(300, dpiY));
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, Qt::white);
    panel->setPalette(p);
    return panel;
}

QLabel* PanelLabel::caption(int index, const QString& caption, QString* unit) {
    const CaptionParts parts = CaptionParts::split(caption);
    auto* label = new QLabel(parts.label);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setProperty("caption", caption);
    if (unit) {
        *unit = parts.unit;
    }
    return label;
}

QSize PanelLabel::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int frame = 2 * frameWidth();
    return {fm.averageCharWidth() * 4 + frame, qMax(minimumHeight(), fm.height() + frame + 2)};
}

QSize PanelLabel::sizeHint() const {
    const QSize least = minimumSizeHint();
    return {qMax(least.width(), minimumWidth()), least.height()};
}

QRect PanelLabel::textRect() const {
    const int inset = fontMetrics().averageCharWidth() / 2;
    return contentsRect().adjusted(inset, 0, -inset, 0);
}

QString PanelLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

bool PanelLabel::isElided() const {
    return shownText() != text();
}

void PanelLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the sunken frame; the text is drawn here, shortened
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(textRect(), static_cast<int>(alignment()), shownText());
}

bool PanelLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (isElided()) {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QLabel::event(event);
}
