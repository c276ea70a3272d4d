// Text to number for each field type, checked against an independent exact reading.
#include "fuzz_input.h"
#include "reference_number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QString& text)
{
    std::fprintf(stderr, "%s for text \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

void check(const QString& text, const NumberFormat& format)
{
    const reference::Reading ref = reference::read(text, format);
    const auto currency = parseCurrency(text, format);
    const auto binary = parseDouble(text, format);

    if (ref.empty || !ref.number) {
        const InputProblem expected = ref.empty ? InputProblem::Empty : InputProblem::NotANumber;
        const auto integer = parseInteger(text, format, IntegerRange::wide());
        if (integer || integer.why() != expected)
            fail("Integer field disagrees on a non-number", text);
        if (currency || currency.why() != expected)
            fail("Currency field disagrees on a non-number", text);
        if (binary || binary.why() != expected)
            fail("Double field disagrees on a non-number", text);
        return;
    }

    // Whole numbers in both ranges, the windows' and the command line's wide one.
    const struct {
        IntegerRange range;
        const char* low;
        const char* high;
    } ranges[] = {{IntegerRange::narrow(), "-32768", "32767"},
                  {IntegerRange::wide(), "-9007199254740991", "9007199254740991"}};
    for (const auto& [range, low, high] : ranges) {
        const auto integer = parseInteger(text, format, range);
        const auto refInteger = reference::integer(ref, low, high);
        if (refInteger.has_value() != bool(integer)
            || (refInteger && *refInteger != *integer)
            || (!refInteger && integer.why() != InputProblem::OutOfIntegerRange))
            fail("Integer field disagrees", text);
    }

    const auto refCurrency = reference::currencyRaw(ref);
    if (refCurrency.has_value() != bool(currency)
        || (refCurrency && *refCurrency != currency->raw())
        || (!refCurrency && currency.why() != InputProblem::TooLarge))
        fail("Currency field disagrees", text);

    const auto refDouble = reference::binary(ref);
    if (refDouble.has_value() != bool(binary)
        || (refDouble && (*refDouble != *binary
                          || std::signbit(*refDouble) != std::signbit(*binary)))
        || (!refDouble && binary.why() != InputProblem::TooLarge))
        fail("Double field disagrees", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in = splitFuzzInput(data, size, 1);
    // Bit 2 of the first byte: a locale that groups with a narrow no-break space.
    if (size > 0 && (data[0] & 4) != 0)
        in.format = NumberFormat{u',', QChar(0x202F)};
    check(in.texts.front(), in.format);
    return 0;
}
