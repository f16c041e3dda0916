#include "serial_gauge.h"

#include "excerpt.h"

namespace {

// The port's own words are English; the cause as the user reads it.
QString portCause(const QSerialPort& port) {
    switch (port.error()) {
        case QSerialPort::OpenError:
            return QString::fromUtf8("port jest już otwarty");
        case QSerialPort::UnsupportedOperationError:
            return QString::fromUtf8("port nie obsługuje tego ustawienia");
        case QSerialPort::ResourceError:
            return QString::fromUtf8("port jest niedostępny");
        case QSerialPort::NotOpenError:
            return QString::fromUtf8("port nie jest otwarty");
        default:
            return QString::fromUtf8("błąd portu (%1)").arg(port.errorString());
    }
}

QString openFailure(const QSerialPort& port, const QString& path) {
    switch (port.error()) {
        case QSerialPort::DeviceNotFoundError:
            return QString::fromUtf8("nie ma urządzenia %1 (czy przyrząd jest podłączony?)")
                .arg(path);
        case QSerialPort::PermissionError:
            return QString::fromUtf8(
                       "brak uprawnień do %1: dodaj użytkownika do grupy dialout "
                       "i zaloguj się ponownie (albo port jest zajęty przez inny "
                       "program)")
                .arg(path);
        default:
            return QString::fromUtf8("nie można otworzyć %1: %2").arg(path, portCause(port));
    }
}

}  // namespace

std::unique_ptr<SerialGauge> SerialGauge::open(const TransmissionSettings& s, QString* error) {
    std::unique_ptr<SerialGauge> gauge(new SerialGauge);
    QSerialPort& port = gauge->port_;
    port.setPortName(s.port);
    if (!port.open(QIODevice::ReadOnly)) {
        *error = openFailure(port, s.port);
        return nullptr;
    }
    // Every setting is checked: a port that refuses one (a pseudo-terminal refuses 7E2)
    // is told, never read with settings it does not have.
    const bool set = port.setBaudRate(s.baud) && port.setParity(s.parity) &&
                     port.setDataBits(s.dataBits) && port.setStopBits(s.stopBits) &&
                     port.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        *error = QString::fromUtf8("port %1 nie przyjął ustawień %2: %3")
                     .arg(s.port, s.text(), portCause(port));
        return nullptr;
    }
    // What the gauge sent before anyone was listening is no reading for this series.
    port.clear(QSerialPort::Input);
    SerialGauge* g = gauge.get();
    connect(&port, &QSerialPort::readyRead, g, &SerialGauge::readAvailable);
    connect(&port, &QSerialPort::errorOccurred, g, &SerialGauge::portError);
    return gauge;
}

void SerialGauge::readAvailable() {
    for (const ReadingParser::Line& line : parser_.feed(port_.readAll())) {
        if (line.tooLong) {
            emit failed(QString::fromUtf8("odrzucono wiersz dłuższy niż %1 znaków: %2")
                            .arg(ReadingParser::kLongestLine)
                            .arg(quotedExcerpt(line.text)));
            continue;
        }
        switch (line.kind) {
            case ReadingParser::Line::Kind::Reading:
                emit reading(line.value);
                break;
            case ReadingParser::Line::Kind::DeviceError:
                emit failed(
                    QString::fromUtf8("błąd przyrządu %1").arg(quotedExcerpt(line.text.trimmed())));
                break;
            case ReadingParser::Line::Kind::Refused:
                emit failed(QString::fromUtf8("odrzucono %1 — to nie jest pomiar")
                                .arg(quotedExcerpt(line.text.trimmed())));
                break;
        }
    }
}

// A device unplugged (or a cable's other end gone) fails the reads: told once, with what
// to do rather than the system's words, and the port is closed.
void SerialGauge::portError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port_.isOpen()) {
        return;
    }
    port_.close();
    emit failed(QString::fromUtf8(
        "utracono połączenie z przyrządem — podłącz przyrząd i otwórz okno ponownie"));
    emit lost();
}
