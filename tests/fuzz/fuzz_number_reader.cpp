// The three number readers on any text.
#include "fuzz_input.h"
#include "number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzInput in = FuzzInput::from(data, size);
    (void)readLocaleNumber(in.text, in.regional);
    (void)readLeadingNumber(in.text);
    (void)readDecimalText(in.text);
    return 0;
}
