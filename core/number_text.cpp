#include "number_text.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace {

QChar normalizedChar(const QString& text, QChar fallback)
{
    const QString normal = text.normalized(QString::NormalizationForm_KC);
    return normal.size() == 1 ? normal.front() : fallback;
}

// A number as its sign and its decimal digits, before any rounding.
struct DecimalText {
    bool negative = false;
    std::string whole;    // no leading zeros
    std::string fraction; // as typed
};

struct Split {
    std::optional<DecimalText> number;
    InputProblem problem = InputProblem::NotANumber;
};

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

Split splitDecimal(const QString& text, const NumberFormat& format)
{
    const QString normal = text.normalized(QString::NormalizationForm_KC);
    qsizetype begin = 0;
    qsizetype end = normal.size();
    while (begin < end && normal[begin] == u' ')
        ++begin;
    while (end > begin && normal[end - 1] == u' ')
        --end;
    if (begin == end)
        return {std::nullopt, InputProblem::Empty};

    DecimalText number;
    qsizetype i = begin;
    if (normal[i] == u'+' || normal[i] == u'-') {
        number.negative = normal[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    // Whole part: a separator must stand between two digits.
    while (i < end) {
        const QChar c = normal[i];
        if (isDigit(c)) {
            if (!(number.whole.empty() && c == u'0'))
                number.whole.push_back(static_cast<char>(c.unicode()));
            anyDigit = true;
            ++i;
        } else if (c == format.groupSeparator && c != format.decimalPoint) {
            if (i == begin || !isDigit(normal[i - 1]) || i + 1 >= end || !isDigit(normal[i + 1]))
                return {};
            ++i;
        } else {
            break;
        }
    }
    if (i < end && normal[i] == format.decimalPoint) {
        ++i;
        while (i < end && isDigit(normal[i])) {
            number.fraction.push_back(static_cast<char>(normal[i].unicode()));
            anyDigit = true;
            ++i;
        }
    }
    if (i != end || !anyDigit)
        return {};
    return {number, InputProblem::NotANumber};
}

// The magnitude times 10^places, rounded to whole ties to even; nothing past `limit`.
std::optional<std::uint64_t> scaledMagnitude(const DecimalText& number, int places,
                                             std::uint64_t limit)
{
    std::string digits = number.whole;
    std::string rest = number.fraction;
    for (int p = 0; p < places; ++p) {
        digits.push_back(rest.empty() ? '0' : rest.front());
        if (!rest.empty())
            rest.erase(0, 1);
    }
    std::uint64_t value = 0;
    for (const char d : digits) {
        if (__builtin_mul_overflow(value, std::uint64_t{10}, &value)
            || __builtin_add_overflow(value, std::uint64_t(d - '0'), &value))
            return std::nullopt;
        if (value > limit)
            return std::nullopt;
    }
    bool up = false;
    if (!rest.empty()) {
        if (rest.front() > '5') {
            up = true;
        } else if (rest.front() == '5') {
            const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string::npos;
            up = beyondHalf || (value % 2 == 1);
        }
    }
    if (up && ++value > limit)
        return std::nullopt;
    return value;
}

} // namespace

NumberFormat NumberFormat::fromLocale(const QLocale& locale)
{
    NumberFormat format;
    format.decimalPoint = normalizedChar(locale.decimalPoint(), u'.');
    format.groupSeparator = normalizedChar(locale.groupSeparator(), u',');
    return format;
}

Parsed<Integer> parseInteger(const QString& text, const NumberFormat& format)
{
    const Split split = splitDecimal(text, format);
    if (!split.number)
        return {std::nullopt, split.problem};
    const bool negative = split.number->negative;
    const std::uint64_t limit = negative ? 32768 : 32767;
    const auto magnitude = scaledMagnitude(*split.number, 0, limit);
    if (!magnitude)
        return {std::nullopt, InputProblem::OutOfIntegerRange};
    const auto wide = static_cast<std::int64_t>(*magnitude);
    return {static_cast<Integer>(negative ? -wide : wide), InputProblem::NotANumber};
}

Parsed<Currency> parseCurrency(const QString& text, const NumberFormat& format)
{
    const Split split = splitDecimal(text, format);
    if (!split.number)
        return {std::nullopt, split.problem};
    const bool negative = split.number->negative;
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 63) : (std::uint64_t{1} << 63) - 1;
    const auto magnitude = scaledMagnitude(*split.number, 4, limit);
    if (!magnitude)
        return {std::nullopt, InputProblem::TooLarge};
    // Two's complement: the negation of 2^63 as unsigned is INT64_MIN.
    const std::uint64_t bits = negative ? (~*magnitude + 1) : *magnitude;
    return {Currency::fromRaw(static_cast<std::int64_t>(bits)), InputProblem::NotANumber};
}

Parsed<double> parseDouble(const QString& text, const NumberFormat& format)
{
    const Split split = splitDecimal(text, format);
    if (!split.number)
        return {std::nullopt, split.problem};
    const DecimalText& number = *split.number;
    std::string plain = number.negative ? "-" : "";
    plain += number.whole.empty() ? "0" : number.whole;
    if (!number.fraction.empty())
        plain += "." + number.fraction;

    double value = 0.0;
    const auto [end, error] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Below one, out of range can only mean too small for a double: it rounds to zero.
        if (number.whole.empty())
            return {number.negative ? -0.0 : 0.0, InputProblem::NotANumber};
        return {std::nullopt, InputProblem::TooLarge};
    }
    if (error != std::errc{} || end != plain.data() + plain.size())
        return {std::nullopt, InputProblem::NotANumber};
    return {value, InputProblem::NotANumber};
}
