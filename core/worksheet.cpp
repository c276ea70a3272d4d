#include "worksheet.h"

#include "figures.h"

#include <algorithm>
#include <cstdint>
#include <limits>

QString Worksheet::formatted(QStringView text, std::initializer_list<QString> args)
{
    QString line = text.toString();
    int n = 1;
    for (const QString& arg : args)
        line.replace(u'%' + QString::number(n++), arg);
    return line;
}

void Worksheet::record(QStringView figure, QStringView caption, TermFault fault, const TermText& term,
                       const TermText& value)
{
    // Refers to the caption and the figure, which outlive every worksheet (see let()):
    // a failure copied on to the message costs no allocation and no reference count.
    if (fault != TermFault::None)
        failure_ = StepFailure{QString::fromRawData(caption.data(), caption.size()),
                               QString::fromRawData(figure.data(), figure.size()), fault};
    if (trace_)
        trace_->step(stepLine(caption, term, fault == TermFault::None ? value.expression : faultText(fault)));
}

QString stepLine(QStringView caption, const TermText& term, const QString& value)
{
    QString line = caption.toString() + QStringLiteral(" = ");
    if (!term.rounding.isEmpty())
        line += term.rounding + QStringLiteral(" = ");
    else if (term.precedence < 3)
        line += term.expression + QStringLiteral(" = ")
                + (term.evaluated.isEmpty() ? QString() : term.evaluated + QStringLiteral(" = "));
    return line + value;
}

QString faultText(TermFault fault)
{
    return fault == TermFault::Invalid ? QStringLiteral("（計算できません）") : QStringLiteral("（範囲を超えます）");
}

QString workingText(NavTimesUnits value)
{
    if (value.raw >= std::numeric_limits<std::int64_t>::min() && value.raw <= std::numeric_limits<std::int64_t>::max())
        return workingText(Currency::fromRaw(static_cast<std::int64_t>(value.raw)));
    // Beyond 64 bits only in the wide range; digits by hand, as QString has no 128-bit number.
    const bool negative = value.raw < 0;
    __extension__ using Magnitude = unsigned __int128;
    auto magnitude = static_cast<Magnitude>(negative ? -value.raw : value.raw);
    QString fraction = QString::number(static_cast<std::uint64_t>(magnitude % Currency::kScale)).rightJustified(4, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    magnitude /= Currency::kScale;
    QString whole;
    do {
        whole.prepend(QChar(u'0' + static_cast<char16_t>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return (negative ? QStringLiteral("-") : QString()) + whole + (fraction.isEmpty() ? QString() : u'.' + fraction);
}

namespace {

// Whether a product of NAVs and units is kept in the Currency range: in the windows'
// range it is, as there. The wide range holds every product.
bool fitsProduct(const Worksheet* sheet, NavTimesUnits::Raw raw)
{
    return sheet->range() != IntegerRange::narrow()
           || (raw >= std::numeric_limits<std::int64_t>::min() && raw <= std::numeric_limits<std::int64_t>::max());
}

// A whole number formed by `form(range)` in the worksheet's range. When it does not
// fit, `fault` says whether the wide range would hold it; only then is it formed again.
template <class Form>
std::optional<Integer> inRange(const Worksheet* sheet, TermFault& fault, Form&& form)
{
    const IntegerRange range = sheet->range();
    std::optional<Integer> value = form(range);
    if (!value)
        fault = range != IntegerRange::wide() && form(IntegerRange::wide()) ? TermFault::BeyondRange
                                                                             : TermFault::Overflow;
    return value;
}

// A rounding of `source` to `value`, or to nothing for the fault `own`.
template <class R, class S>
Term<R> rounded(const Term<S>& source, QStringView rule, std::optional<R> value,
                TermFault own = TermFault::Overflow)
{
    Term<R> out{value.value_or(R{}), !source.ok() ? source.fault : value ? TermFault::None : own,
                source.sheet, nullptr};
    if (source.sheet && source.sheet->explains()) {
        const TermText& from = source.shown();
        out.text = source.sheet->keep(
            {termText(out.value), 3, {},
             (from.precedence < 3 ? from.expression + QStringLiteral(" = ") : QString())
                 + valueText(source) + QStringLiteral(" を") + rule.toString()});
    }
    return out;
}

template <class Checked>
Term<Integer> wholeSum(const Term<Integer>& a, QStringView op, const Term<Integer>& b, Checked checked)
{
    TermFault own = TermFault::None;
    const std::optional<Integer> value =
        inRange(a.sheet, own, [&](IntegerRange range) { return checked(a.value, b.value, range); });
    return term_detail::combine(a, op, 1, b, value.value_or(0), own);
}

// A whole number and a remainder of `scale` (a power of ten) as exact decimal text:
// floor 7657, remainder 50000 of 100000 is "7657.5".
QString exactText(std::int64_t floor, std::int64_t remainder, std::int64_t scale)
{
    if (remainder == 0)
        return termText(Integer{floor});
    // A negative value below its floor: -7657.5 is floor -7658 and remainder 0.5.
    const bool negative = floor < 0;
    const std::int64_t whole = negative ? -(floor + 1) : floor;
    const std::int64_t fraction = negative ? scale - remainder : remainder;
    QString digits = QString::number(fraction + scale).mid(1);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(whole) + u'.' + digits;
}

// A term whose value was formed exactly and then rounded: `source` is how it was formed,
// `exact` its value before the rounding; `own` is the rounding's fault when it gave nothing.
Term<Integer> roundedExactly(const Worksheet* sheet, TermFault fault, std::optional<Integer> value,
                             const QString& source, const QString& exact, QStringView rule,
                             TermFault own = TermFault::Overflow)
{
    Term<Integer> out{value.value_or(0), fault, sheet, nullptr};
    if (out.ok() && !value)
        out.fault = own;
    if (sheet && sheet->explains())
        out.text = sheet->keep({termText(out.value), 3, {},
                                source + QStringLiteral(" = ") + exact + QStringLiteral(" を") + rule.toString()});
    return out;
}

template <class T>
QString bracketed(const Term<T>& term, int within)
{
    const TermText& text = term.shown();
    return text.precedence < within ? u'(' + text.expression + u')' : text.expression;
}

} // namespace

Term<NavTimesUnits> operator-(const Term<NavTimesUnits>& a, const Term<NavTimesUnits>& b)
{
    // Each product is below 2^126 in magnitude, so the difference cannot overflow 128 bits.
    const NavTimesUnits::Raw raw = a.value.raw - b.value.raw;
    const bool fits = fitsProduct(a.sheet ? a.sheet : b.sheet, raw);
    return term_detail::combine(a, u"−", 1, b, NavTimesUnits{fits ? raw : 0},
                                fits ? TermFault::None : TermFault::BeyondRange);
}

Term<Currency> operator-(const Term<Currency>& a, const Term<Currency>& b)
{
    std::int64_t raw = 0;
    const bool overflow = __builtin_sub_overflow(a.value.raw(), b.value.raw(), &raw);
    return term_detail::combine(a, u"−", 1, b, Currency::fromRaw(overflow ? 0 : raw),
                                overflow ? TermFault::Overflow : TermFault::None);
}

Term<Integer> roundDownShare(const Term<Integer>& base, DecimalRate rate)
{
    // base × rate ÷ 100,000 with base split at 100,000, so that no product overflows
    // before the range check: (hi × 100,000 + lo) × r ÷ 100,000 = hi × r + lo × r ÷ 100,000.
    constexpr std::int64_t kScale = 100000;
    std::int64_t hi = base.value / kScale;
    std::int64_t lo = base.value % kScale;
    if (lo < 0) {
        lo += kScale;
        --hi;
    }
    std::int64_t floor = 0;
    const std::int64_t loShare = lo * rate.milliPercent;
    const bool overflow = __builtin_mul_overflow(hi, rate.milliPercent, &floor)
                          || __builtin_add_overflow(floor, loShare / kScale, &floor);
    TermFault own = TermFault::Overflow;
    const std::optional<Integer> value =
        overflow ? std::nullopt
                 : inRange(base.sheet, own, [&](IntegerRange range) { return integerFromWide(floor, range); });
    QString source, exact;
    if (base.sheet->explains()) {
        source = bracketed(base, 2) + QStringLiteral(" × ")
                 + exactText(rate.milliPercent / 1000, rate.milliPercent % 1000, 1000)
                 + QStringLiteral(" %");
        exact = overflow ? QStringLiteral("（範囲を超えます）") : exactText(floor, loShare % kScale, kScale);
    }
    return roundedExactly(base.sheet, base.fault, value, source, exact, u"切り捨て", own);
}

Term<Integer> roundDownWorth(const Term<NavTimesUnits>& navTimesUnits, const Term<Integer>& less)
{
    // NAV × units holds four decimals, so the yen are its raw value ÷ 10^8.
    constexpr std::int64_t kYen = Currency::kScale * static_cast<std::int64_t>(kUnitsPerNav);
    NavTimesUnits::Raw yen = navTimesUnits.value.raw / kYen;
    std::int64_t remainder = static_cast<std::int64_t>(navTimesUnits.value.raw % kYen);
    if (remainder < 0) {
        remainder += kYen;
        --yen;
    }
    std::int64_t floor = 0;
    const NavTimesUnits::Raw wide = yen - less.value;
    const bool overflow = wide < std::numeric_limits<std::int64_t>::min() || wide > std::numeric_limits<std::int64_t>::max();
    if (!overflow)
        floor = static_cast<std::int64_t>(wide);
    const Worksheet* sheet = navTimesUnits.sheet ? navTimesUnits.sheet : less.sheet;
    QString source, exact;
    if (sheet && sheet->explains()) {
        source = bracketed(navTimesUnits, 2) + QStringLiteral(" ÷ ")
                 + termText(static_cast<Integer>(kUnitsPerNav)) + QStringLiteral(" − ")
                 + bracketed(less, 2);
        exact = overflow ? QStringLiteral("（範囲を超えます）") : exactText(floor, remainder, kYen);
    }
    return roundedExactly(sheet, operandsFault(navTimesUnits.fault, less.fault),
                          overflow ? std::nullopt : std::optional<Integer>(floor), source, exact,
                          u"切り捨て");
}

Term<Integer> roundHalfEvenPerNav(const Term<Integer>& amount, const Term<Currency>& units)
{
    // amount × 10,000 ÷ units = amount × 10^8 ÷ raw units, exact: in 64 bits when the
    // product fits, else in 128.
    __extension__ using Wide = __int128;
    constexpr std::int64_t kYen = Currency::kScale * static_cast<std::int64_t>(kUnitsPerNav);
    std::int64_t narrow = 0;
    const bool fits = !__builtin_mul_overflow(amount.value, kYen, &narrow);
    const Wide numerator = fits ? Wide{narrow} : Wide{amount.value} * kYen;
    const std::int64_t divisor = units.value.raw();
    std::optional<Integer> value;
    const TermFault fault = operandsFault(amount.fault, units.fault);
    TermFault own = TermFault::Overflow;
    if (divisor == 0) {
        own = TermFault::Invalid;
    } else {
        // Ties to even: the remainder against what the divisor leaves beyond it, both
        // made positive (twice the remainder could overflow).
        const auto rounded = [&](auto n, auto d) {
            auto quotient = n / d;
            const auto remainder = n % d;
            const auto part = remainder < 0 ? -remainder : remainder;
            const auto rest = (d < 0 ? -d : d) - part;
            if (remainder != 0 && (part > rest || (part == rest && quotient % 2 != 0)))
                quotient += (n < 0) != (d < 0) ? -1 : 1;
            return Wide{quotient};
        };
        // The 64-bit division avoids the far slower 128-bit one; the minimum divisor
        // would overflow its negation.
        const Wide quotient = fits && divisor != std::numeric_limits<std::int64_t>::min()
                                  ? rounded(narrow, divisor)
                                  : rounded(numerator, Wide{divisor});
        value = inRange(amount.sheet, own, [&](IntegerRange range) {
            return range.min <= quotient && quotient <= range.max ? std::optional<Integer>(static_cast<Integer>(quotient))
                                                                  : std::nullopt;
        });
    }
    QString source, exact;
    if (amount.sheet->explains()) {
        source = bracketed(amount, 2) + QStringLiteral(" × ")
                 + termText(static_cast<Integer>(kUnitsPerNav)) + QStringLiteral(" ÷ ")
                 + bracketed(units, 3);
        // Shown as a double: the quotient need not end, but the rounding above was exact.
        exact = divisor == 0 ? QStringLiteral("（計算できません）")
                             : termText(static_cast<double>(numerator) / static_cast<double>(divisor));
    }
    return roundedExactly(amount.sheet, fault, value, source, exact, u"偶数丸め", own);
}

Term<NavTimesUnits> operator*(const Term<Integer>& nav, const Term<Currency>& units)
{
    // Both factors lie within 64 bits, so their product lies within 127.
    const NavTimesUnits::Raw product = NavTimesUnits::Raw{nav.value} * units.value.raw();
    const bool fits = fitsProduct(nav.sheet ? nav.sheet : units.sheet, product);
    return term_detail::combine(nav, u"×", 2, units, NavTimesUnits{fits ? product : 0},
                                fits ? TermFault::None : TermFault::BeyondRange);
}

Term<Integer> operator+(const Term<Integer>& a, const Term<Integer>& b)
{
    return wholeSum(a, u"+", b, checkedAdd);
}

Term<Integer> operator-(const Term<Integer>& a, const Term<Integer>& b)
{
    return wholeSum(a, u"−", b, checkedSubtract);
}

Term<Integer> roundHalfEven(const Term<double>& term)
{
    TermFault own = TermFault::Overflow;
    const std::optional<Integer> value =
        inRange(term.sheet, own, [&](IntegerRange range) { return roundToInteger(term.value, range); });
    return rounded(term, u"偶数丸め", value, own);
}

Term<Currency> roundToFourPlaces(const Term<double>& term)
{
    return rounded(term, u"小数第4位に偶数丸め", Currency::fromDouble(term.value));
}

Term<Integer> roundDown(const Term<double>& term)
{
    return rounded(term, u"切り捨て", floorToWhole(term.value));
}

Term<Integer> roundDown(const Term<Currency>& term)
{
    return rounded(term, u"切り捨て", std::optional<Integer>(term.value.floorWhole()));
}

Term<Integer> roundHalfEvenWithin(const Term<double>& term, const Term<Integer>& ceiling)
{
    // Clamped below before rounding: a holding of negative units stands "below" by a
    // negative amount, which may lie far outside the whole-number range.
    TermFault own = TermFault::Overflow;
    std::optional<Integer> within = inRange(term.sheet, own, [&](IntegerRange range) {
        return roundToInteger(std::max(term.value, 0.0), range);
    });
    if (within)
        *within = std::clamp<Integer>(*within, 0, std::max<Integer>(ceiling.value, 0));
    const QString rule = term.sheet->explains()
                             ? QStringLiteral("偶数丸め（0〜%1 の範囲）").arg(ceiling.shown().expression)
                             : QString();
    return rounded(term, rule, within, own);
}

Term<Integer> smaller(const Term<Integer>& a, const Term<Integer>& b)
{
    Term<Integer> out{std::min(a.value, b.value), operandsFault(a.fault, b.fault), a.sheet, nullptr};
    if (a.sheet->explains())
        out.text = a.sheet->keep({a.shown().expression + QStringLiteral(" と ") + b.shown().expression
                                      + QStringLiteral(" の小さい方"),
                                  0, {}, {}});
    return out;
}
