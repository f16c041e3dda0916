#include "report_font.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

QString resolveReportFont(const QString& name) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(name, Qt::CaseInsensitive)) {
        return name;
    }
    QString base = name;
    if (base.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive)) {
        base.chop(3);
    }
    QFont wanted(base);
    wanted.setStyleHint(QFont::SansSerif);
    return QFontInfo(wanted).family();
}
