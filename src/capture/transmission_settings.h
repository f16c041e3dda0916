#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

struct ParsedSettings;

// The data-transmission settings of an analysis's profile, the usual
// "baud,parity,databits,stopbits" text (parity n/e/o/m/s in either case, data 5 to 8,
// stop 1 or 2), optionally followed by ",PORT" with a device path. Without a port, a
// profile named "... COMn" means /dev/ttyS(n-1).
struct TransmissionSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QString port;

    static ParsedSettings parse(const QString& text, const QString& profileName);

    // "9600,n,8,1" as the settings are written.
    QString text() const;
};

struct ParsedSettings {
    std::optional<TransmissionSettings> settings;
    QString error;  // in Polish, naming the part that is wrong
};
