#pragma once

#include <QString>
#include <QVector>

// A serial port the system lists, as a profile may name it.
struct SerialPortChoice {
    QString path;         // /dev/serial/by-id/... where one points to it, else /dev/ttyUSB0
    QString description;  // the device's own words and its device path
};

// The ports the system lists now: each by its stable by-id path (which survives a
// replugging into another socket) and by its device path.
QVector<SerialPortChoice> listSerialPorts();
