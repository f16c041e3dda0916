#pragma once

#include <QObject>
#include <QString>

// Where the series editor's readings come from: a serial port, a pseudo-terminal or a
// test script. Each reading arrives as a number; a line that is no reading, a device
// error or a lost device as a Polish sentence.
class GaugeSource : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~GaugeSource() override = default;

signals:
    void reading(double value);
    void failed(const QString& why);
    // The device is gone (after a failure that says so): nothing more will come.
    void lost();
};
