#include "broker_cells.h"

#include "cell_text.h"
#include "csv_encoding.h"

#include <string_view>

namespace broker {
namespace {

constexpr Integer kLargestFigure = (Integer{1} << 53) - 1;

std::string_view trimmedAscii(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A whole figure in ASCII, with its thousands separators where they belong.
Outcome<std::optional<Integer>, FigureProblem> asciiFigure(std::string_view s)
{
    s = trimmedAscii(s);
    if (s.empty() || s == "-" || s == "--")
        return std::optional<Integer>();
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    Integer value = 0;
    int digits = 0;      // in the whole part
    int groupDigits = 0; // since the last separator
    bool grouped = false;
    std::size_t i = 0;
    for (; i < s.size() && s[i] != '.'; ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            if (value > (kLargestFigure - (c - '0')) / 10)
                return FigureProblem::TooLarge;
            value = value * 10 + (c - '0');
            ++digits;
            ++groupDigits;
        } else if (c == ',') {
            // 1-3 digits before the first separator, exactly three after each.
            if (grouped ? groupDigits != 3 : (groupDigits == 0 || groupDigits > 3))
                return FigureProblem::NotANumber;
            grouped = true;
            groupDigits = 0;
        } else {
            return FigureProblem::NotANumber;
        }
    }
    // "0,300" is more likely a mistyped decimal point than three hundred.
    if (digits == 0 || (grouped && (groupDigits != 3 || s.front() == '0')))
        return FigureProblem::NotANumber;
    if (i < s.size()) {
        for (++i; i < s.size(); ++i) {
            if (!isDigit(s[i]))
                return FigureProblem::NotANumber;
            if (s[i] != '0')
                return FigureProblem::Fraction;
        }
    }
    return std::optional<Integer>(negative ? -value : value);
}

std::string_view view(QByteArrayView bytes)
{
    return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

// The cell as plain ASCII after full-width forms are read as their counterparts; nothing
// when something else is left.
std::optional<QByteArray> asAscii(const DecodeCell& decode)
{
    const QString text = normalisedCell(decode());
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return std::nullopt;
    }
    return text.toLatin1();
}

std::optional<QDate> asciiDay(std::string_view s)
{
    s = trimmedAscii(s);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    char separator = 0;
    for (const char c : s) {
        if (isDigit(c)) {
            parts[part] = parts[part] * 10 + (c - '0');
            if (++digits[part] > (part == 0 ? 4 : 2))
                return std::nullopt;
        } else if ((c == '/' || c == '-') && part < 2 && (separator == 0 || separator == c)) {
            separator = c;
            ++part;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] != 4 || digits[1] == 0 || digits[2] == 0)
        return std::nullopt;
    return QDate(parts[0], parts[1], parts[2]);
}

std::optional<QDate> asciiDate(std::string_view s)
{
    const std::optional<QDate> day = asciiDay(s);
    return day && day->isValid() ? day : std::nullopt;
}

} // namespace

Outcome<std::optional<Integer>, FigureProblem> figureCell(QByteArrayView cell, const DecodeCell& decode)
{
    if (isAscii(cell))
        return asciiFigure(view(cell));
    const std::optional<QByteArray> ascii = asAscii(decode);
    if (!ascii)
        return FigureProblem::NotANumber;
    return asciiFigure(view(*ascii));
}

Outcome<PaidAmount, FigureProblem> paidAmountCell(QByteArrayView cell, const DecodeCell& decode)
{
    QByteArray ascii;
    if (isAscii(cell)) {
        ascii = cell.toByteArray();
    } else {
        std::optional<QByteArray> normalised = asAscii(decode);
        if (!normalised)
            return FigureProblem::NotANumber;
        ascii = std::move(*normalised);
    }
    std::string_view s = trimmedAscii(view(ascii));
    PaidAmount paid;
    if (!s.empty() && s.back() == ')') {
        const std::size_t open = s.rfind('(');
        if (open == std::string_view::npos)
            return FigureProblem::NotANumber;
        const auto points = asciiFigure(s.substr(open + 1, s.size() - open - 2));
        if (!points)
            return points.why();
        paid.points = *points;
        s = s.substr(0, open);
    }
    const auto amount = asciiFigure(s);
    if (!amount)
        return amount.why();
    paid.amount = *amount;
    return paid;
}

std::optional<QDate> dateCell(QByteArrayView cell, const DecodeCell& decode)
{
    if (isAscii(cell))
        return asciiDate(view(cell));
    // 2024年1月5日, as fund companies write it.
    QString text = normalisedCell(decode()).trimmed();
    text.replace(u'年', u'/').replace(u'月', u'/');
    if (text.endsWith(u'日'))
        text.chop(1);
    const std::optional<QByteArray> ascii = asAscii([&] { return text; });
    return ascii ? asciiDate(view(*ascii)) : std::nullopt;
}

std::optional<QDate> dayCell(QByteArrayView cell)
{
    return asciiDay(view(cell));
}

} // namespace broker
