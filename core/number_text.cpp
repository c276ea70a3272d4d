#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// What Japanese input methods type for ASCII: the full-width forms and the
// ideographic space. Nothing else is mapped (NFKC would also read "1²" and "①" as
// digits).
QChar ordinaryForm(QChar c)
{
    constexpr char16_t fullWidthFirst = 0xFF01; // full-width '!'
    constexpr char16_t fullWidthLast = 0xFF5E;  // full-width '~'
    constexpr char16_t ideographicSpace = 0x3000;
    const char16_t u = c.unicode();
    if (u >= fullWidthFirst && u <= fullWidthLast)
        return QChar(char16_t(u - fullWidthFirst + u'!'));
    return u == ideographicSpace ? QChar(u' ') : c;
}

QChar separatorOf(const QString& text, QChar fallback)
{
    return text.size() == 1 ? ordinaryForm(text.front()) : fallback;
}

// A number as its sign and its decimal digits, before any rounding. The digits are
// views of a buffer the caller keeps.
struct DecimalText {
    bool negative = false;
    std::string_view whole;    // no leading zeros
    std::string_view fraction; // as typed
};

using Split = Parsed<DecimalText>;

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Where the locale groups with a space (often a narrow no-break one), any space
// character between groups separates them: that is what users can type.
bool isGroupSeparator(QChar c, const NumberFormat& format)
{
    if (format.groupSeparator == format.decimalPoint)
        return false;
    if (format.groupSeparator.category() == QChar::Separator_Space)
        return c.category() == QChar::Separator_Space;
    return c == format.groupSeparator;
}

// The digits go to `digits`, which must outlive the views of the result: one buffer
// as long as the text, short enough for most figures to need no allocation.
Split splitDecimal(const QString& text, const NumberFormat& format, std::string& digits)
{
    // Each character in its ordinary form as it is looked at, without a copy of the text.
    struct Ordinary {
        const QString& text;
        QChar operator[](qsizetype i) const { return ordinaryForm(text[i]); }
    } t{text};
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && t[begin].isSpace())
        ++begin;
    while (end > begin && t[end - 1].isSpace())
        --end;
    if (begin == end)
        return InputProblem::Empty;

    digits.resize(static_cast<std::size_t>(end - begin));
    char* const out = digits.data();
    std::size_t whole = 0;
    std::size_t fraction = 0;
    DecimalText number;
    qsizetype i = begin;
    if (t[i] == u'+' || t[i] == u'-') {
        number.negative = t[i] == u'-';
        ++i;
    }
    bool anyDigit = false;
    // Whole part: plain digits, or a first group of one to three digits that does not
    // start with 0 ("0,300" is a mistyped 0.300), then groups of exactly three.
    const qsizetype wholeBegin = i;
    bool grouped = false;
    int groupDigits = 0;
    while (i < end) {
        const QChar c = t[i];
        if (isDigit(c)) {
            if (whole != 0 || c != u'0')
                out[whole++] = static_cast<char>(c.unicode());
            anyDigit = true;
            ++groupDigits;
            ++i;
        } else if (isGroupSeparator(c, format)) {
            const bool groupFits =
                grouped ? groupDigits == 3
                        : groupDigits >= 1 && groupDigits <= 3 && t[wholeBegin] != u'0';
            if (!groupFits)
                return InputProblem::NotANumber;
            grouped = true;
            groupDigits = 0;
            ++i;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3)
        return InputProblem::NotANumber;
    if (i < end && t[i] == format.decimalPoint) {
        ++i;
        while (i < end && isDigit(t[i])) {
            out[whole + fraction++] = static_cast<char>(t[i].unicode());
            anyDigit = true;
            ++i;
        }
    }
    if (i != end || !anyDigit)
        return InputProblem::NotANumber;
    number.whole = std::string_view(out, whole);
    number.fraction = std::string_view(out + whole, fraction);
    return number;
}

// The magnitude times 10^places, rounded to whole ties to even; nothing past `limit`.
std::optional<std::uint64_t> scaledMagnitude(const DecimalText& number, int places,
                                             std::uint64_t limit)
{
    // The whole digits, then `places` digits of the fraction (0 past its end); the
    // fraction's digits after those decide the rounding.
    const std::string_view fraction = number.fraction;
    const auto taken = static_cast<std::size_t>(places);
    const std::string_view rest = fraction.size() > taken ? fraction.substr(taken) : std::string_view();
    std::uint64_t value = 0;
    const auto append = [&](char d) {
        return !__builtin_mul_overflow(value, std::uint64_t{10}, &value)
               && !__builtin_add_overflow(value, std::uint64_t(d - '0'), &value) && value <= limit;
    };
    for (const char d : number.whole)
        if (!append(d))
            return std::nullopt;
    for (std::size_t p = 0; p < taken; ++p)
        if (!append(p < fraction.size() ? fraction[p] : '0'))
            return std::nullopt;
    bool up = false;
    if (!rest.empty()) {
        if (rest.front() > '5') {
            up = true;
        } else if (rest.front() == '5') {
            const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string_view::npos;
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
    format.decimalPoint = separatorOf(locale.decimalPoint(), u'.');
    format.groupSeparator = separatorOf(locale.groupSeparator(), u',');
    return format;
}

QString localizedInitialText(const QString& text, const NumberFormat& format)
{
    // Only a plain decimal such as "0.3" or "-2.5" is rewritten.
    qsizetype digits = 0;
    qsizetype points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c))
            ++digits;
        else if (c == u'.')
            ++points;
        else if (i > 0 || (c != u'+' && c != u'-'))
            return text;
    }
    if (points != 1 || digits == 0)
        return text;
    QString shown = text;
    shown.replace(u'.', format.decimalPoint);
    return shown;
}

Parsed<Integer> parseInteger(const QString& text, const NumberFormat& format, IntegerRange range)
{
    std::string digits;
    const Split split = splitDecimal(text, format, digits);
    if (!split)
        return split.why();
    const bool negative = split->negative;
    // The bounds' magnitudes, as unsigned so the most negative bound has one too.
    const std::uint64_t limit = negative ? ~static_cast<std::uint64_t>(range.min) + 1
                                         : static_cast<std::uint64_t>(range.max);
    const auto magnitude = scaledMagnitude(*split, 0, limit);
    if (!magnitude)
        return InputProblem::OutOfIntegerRange;
    const auto value = negative ? static_cast<std::int64_t>(~*magnitude + 1)
                                : static_cast<std::int64_t>(*magnitude);
    return value;
}

Parsed<Currency> parseCurrency(const QString& text, const NumberFormat& format)
{
    std::string digits;
    const Split split = splitDecimal(text, format, digits);
    if (!split)
        return split.why();
    const bool negative = split->negative;
    const std::uint64_t limit = negative ? (std::uint64_t{1} << 63) : (std::uint64_t{1} << 63) - 1;
    const auto magnitude = scaledMagnitude(*split, 4, limit);
    if (!magnitude)
        return InputProblem::TooLarge;
    // Two's complement: the negation of 2^63 as unsigned is INT64_MIN.
    const std::uint64_t bits = negative ? (~*magnitude + 1) : *magnitude;
    return Currency::fromRaw(static_cast<std::int64_t>(bits));
}

Parsed<double> parseDouble(const QString& text, const NumberFormat& format)
{
    std::string digits;
    const Split split = splitDecimal(text, format, digits);
    if (!split)
        return split.why();
    const DecimalText& number = *split;
    // "-", the whole digits (at least "0"), "." and the fraction, in place when short.
    const std::size_t size = (number.negative ? 1 : 0) + std::max<std::size_t>(number.whole.size(), 1)
                             + (number.fraction.empty() ? 0 : 1 + number.fraction.size());
    char small[64];
    std::string large;
    char* const plain = size <= sizeof small ? small : (large.resize(size), large.data());
    char* at = plain;
    if (number.negative)
        *at++ = '-';
    if (number.whole.empty())
        *at++ = '0';
    at = std::copy(number.whole.begin(), number.whole.end(), at);
    if (!number.fraction.empty()) {
        *at++ = '.';
        at = std::copy(number.fraction.begin(), number.fraction.end(), at);
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(plain, at, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // Below one, out of range can only mean too small for a double: it rounds to zero.
        if (number.whole.empty())
            return number.negative ? -0.0 : 0.0;
        return InputProblem::TooLarge;
    }
    if (error != std::errc{} || end != at)
        return InputProblem::NotANumber;
    return value;
}
