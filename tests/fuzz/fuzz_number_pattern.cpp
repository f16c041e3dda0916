// The number patterns: any pattern, any number (NaN and infinities included), in every
// regional setting. A number in the general form must read back as a number, up to
// 1e308: the 15 digits of the general form round the largest doubles past the largest
// one ("1,79769313486232E+308"), which reads as an overflow, as the leading-number reader does.
#include <cmath>
#include <cstdlib>

#include "fuzz_input.h"
#include "number_pattern.h"
#include "number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput in = FuzzInput::from(data, size);
    const NumberPattern pattern(in.text);
    (void)pattern.format(in.number, in.regional);
    (void)pattern.formatText(in.text, in.regional);
    if (std::fabs(in.number) <= 1e308) {
        const QString general = formatGeneralNumber(in.number, in.regional);
        if (!readLocaleNumber(general, in.regional)) {
            std::abort();  // the program's own number text would not read back
        }
    }
    return 0;
}
