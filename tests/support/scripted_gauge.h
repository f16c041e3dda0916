#pragma once

#include "gauge_source.h"

// A gauge the test speaks for: each call sends what a real one would signal.
class ScriptedGauge : public GaugeSource {
    Q_OBJECT

public:
    void send(double value) { emit reading(value); }
    void fail(const QString& why) { emit failed(why); }
};
