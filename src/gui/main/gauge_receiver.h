#pragma once

#include <QString>

class GaugeSource;

// An editor the gauge of an analysis's profile fills: the series editor, the readings
// editor. The command that opens the editor opens the gauge and hands it over, or says
// why it could not be used.
class GaugeReceiver {
public:
    virtual ~GaugeReceiver() = default;
    virtual void attachGauge(GaugeSource* gauge, const QString& description) = 0;
    // The named gauge could not be used: said in the status line; the keyboard works.
    virtual void showGaugeProblem(const QString& description, const QString& problem) = 0;
};
