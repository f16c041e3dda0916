// The date patterns: any pattern, any moment within the years the program can meet.
#include <QDateTime>
#include <cmath>

#include "date_pattern.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput in = FuzzInput::from(data, size);
    // From year 100 to year 9999, as the pattern language's date type allows.
    constexpr double kFirst = -59011459200.0;
    constexpr double kLast = 253402300799.0;
    const double seconds =
        std::isfinite(in.number) ? kFirst + std::fmod(std::fabs(in.number), kLast - kFirst) : 0;
    const QDateTime when = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(seconds), Qt::UTC);
    (void)formatDate(when, in.text, in.regional);
    return 0;
}
