#include "caption_parts.h"

#include <QRegularExpression>
#include <QStringList>

CaptionParts CaptionParts::split(const QString& caption) {
    static const QRegularExpression gap(QStringLiteral("\\s{2,}"));
    QStringList parts = caption.split(gap, Qt::SkipEmptyParts);
    CaptionParts result;
    if (parts.isEmpty()) {
        return result;
    }
    result.label = parts.takeFirst().trimmed();
    if (!parts.isEmpty() && parts.first().trimmed() == QLatin1String(":")) {
        result.label += QStringLiteral(" :");
        parts.removeFirst();
    }
    result.unit = parts.join(QLatin1Char(' ')).trimmed();
    return result;
}
