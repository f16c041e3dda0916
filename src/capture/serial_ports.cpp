#include "serial_ports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

QVector<SerialPortChoice> listSerialPorts() {
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links =
        byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    QVector<SerialPortChoice> out;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString device = port.systemLocation();
        const QString described = port.description().isEmpty()
                                      ? device
                                      : QStringLiteral("%1, %2").arg(port.description(), device);
        for (const QFileInfo& link : links) {
            if (link.isSymLink() &&
                link.canonicalFilePath() == QFileInfo(device).canonicalFilePath()) {
                out.push_back({link.absoluteFilePath(), described});
            }
        }
        out.push_back({device, described});
    }
    return out;
}
