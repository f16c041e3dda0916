#pragma once

#include <QSerialPort>
#include <memory>

#include "gauge_source.h"
#include "reading_parser.h"
#include "transmission_settings.h"

// A gauge on a serial port (or a pseudo-terminal), opened with the profile's settings;
// closed when it is destroyed.
class SerialGauge : public GaugeSource {
    Q_OBJECT

public:
    // Nothing, with the cause in Polish (and its remedy where there is one), when the
    // port cannot be opened or refuses a setting.
    static std::unique_ptr<SerialGauge> open(const TransmissionSettings& settings, QString* error);

private:
    SerialGauge() = default;
    void readAvailable();
    void portError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    ReadingParser parser_;
};
