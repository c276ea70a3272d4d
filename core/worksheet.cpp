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

QString roundingText(const QString& source, const QString& exact, QStringView rule)
{
    return (source.isEmpty() ? QString() : source + QStringLiteral(" = ")) + exact + QStringLiteral(" を")
           + rule.toString();
}

namespace {

// Whether a product of NAVs and units is kept in the Currency range: in the windows'
// range it is, as there. The wide range holds every product.
bool fitsProduct(const Worksheet* sheet, Wide raw)
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

// An exact whole number in the worksheet's range, or none with `fault` saying why.
std::optional<Integer> inRange(const Worksheet* sheet, TermFault& fault, Wide value)
{
    return inRange(sheet, fault, [value](IntegerRange range) {
        return value < range.min || value > range.max ? std::nullopt
                                                      : std::optional<Integer>(static_cast<Integer>(value));
    });
}

// `source` rounded by a rule of the worksheet's doubles; `rule()` names it when explaining,
// `own` is the fault when the rounding gave nothing.
template <class R, class S, class Rule>
Term<R> rounded(const Term<S>& source, std::optional<R> value, Rule&& rule, TermFault own = TermFault::Overflow)
{
    return formed(
        source.sheet, value, source.fault, 3,
        [&] { return FormedText{{}, roundingText(formationText(source), valueText(source), rule())}; }, own);
}

template <class Checked>
Term<Integer> wholeSum(const Term<Integer>& a, QStringView op, const Term<Integer>& b, Checked checked)
{
    TermFault own = TermFault::None;
    const std::optional<Integer> value =
        inRange(a.sheet, own, [&](IntegerRange range) { return checked(a.value, b.value, range); });
    return term_detail::combine(a, op, 1, b, value.value_or(0), own);
}

} // namespace

Term<NavTimesUnits> operator-(const Term<NavTimesUnits>& a, const Term<NavTimesUnits>& b)
{
    // Each product is below 2^126 in magnitude, so the difference cannot overflow 128 bits.
    const Wide raw = a.value.raw - b.value.raw;
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
    const Wide share = Wide{base.value} * rate.milliPercent;
    TermFault own = TermFault::Overflow;
    const std::optional<Integer> value = inRange(base.sheet, own, divide(share, kMilliPercentScale, Rounding::Down));
    return formed(
        base.sheet, value, base.fault, 3,
        [&] {
            return FormedText{{}, roundingText(operandText(base, 2) + QStringLiteral(" × ") + percentText(rate)
                                                   + QStringLiteral(" %"),
                                               exactOr(base.fault, [&] { return decimalText(share, kMilliPercentScale, 5); }),
                                               roundingName(Rounding::Down))};
        },
        own);
}

Term<Integer> roundDownWorth(const Term<NavTimesUnits>& navTimesUnits, const Term<Integer>& less)
{
    // NAV × units holds four decimals, so its raw value is the yen times 10^8.
    const Wide worth = navTimesUnits.value.raw - ExactYen::ofWhole(less.value).raw;
    const Wide floor = divide(worth, ExactYen::kScale, Rounding::Down);
    const bool fits = floor >= std::numeric_limits<std::int64_t>::min() && floor <= std::numeric_limits<std::int64_t>::max();
    const TermFault fault = firstFault(navTimesUnits.fault, less.fault);
    const Worksheet* sheet = navTimesUnits.sheet ? navTimesUnits.sheet : less.sheet;
    return formed(sheet, fits ? std::optional<Integer>(static_cast<Integer>(floor)) : std::nullopt, fault, 3, [&] {
        return FormedText{{}, roundingText(operandText(navTimesUnits, 2) + QStringLiteral(" ÷ 10000 − ") + operandText(less, 2),
                                           exactOr(firstFault(fault, fits ? TermFault::None : TermFault::Overflow),
                                                   [&] { return decimalText(worth, ExactYen::kScale, 8); }),
                                           roundingName(Rounding::Down))};
    });
}

Term<Integer> roundHalfEvenPerNav(const Term<Integer>& amount, const Term<Currency>& units)
{
    // amount × 10,000 ÷ units = amount × 10^8 ÷ raw units.
    const Wide numerator = ExactYen::ofWhole(amount.value).raw;
    const std::int64_t divisor = units.value.raw();
    TermFault own = TermFault::Invalid;
    const std::optional<Integer> value =
        divisor == 0 ? std::nullopt : inRange(amount.sheet, own, divide(numerator, divisor, Rounding::HalfEven));
    return formed(amount.sheet, value, firstFault(amount.fault, units.fault), 3, [&] {
        // Shown as a double: the quotient need not end, but the rounding above was exact.
        return FormedText{{}, roundingText(operandText(amount, 2) + QStringLiteral(" × 10000 ÷ ") + operandText(units, 3),
                                           divisor == 0 ? faultText(TermFault::Invalid)
                                                        : termText(static_cast<double>(numerator) / static_cast<double>(divisor)),
                                           roundingName(Rounding::HalfEven))};
    }, own);
}

Term<NavTimesUnits> operator*(const Term<Integer>& nav, const Term<Currency>& units)
{
    // Both factors lie within 64 bits, so their product lies within 127.
    const Wide product = Wide{nav.value} * units.value.raw();
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
    return rounded(term, value, [] { return roundingName(Rounding::HalfEven); }, own);
}

Term<Currency> roundToFourPlaces(const Term<double>& term)
{
    return rounded(term, Currency::fromDouble(term.value),
                   [] { return QStringLiteral("小数第4位に") + roundingName(Rounding::HalfEven); });
}

Term<Integer> roundDown(const Term<double>& term)
{
    return rounded(term, floorToWhole(term.value), [] { return roundingName(Rounding::Down); });
}

Term<Integer> roundDown(const Term<Currency>& term)
{
    return rounded(term, std::optional<Integer>(term.value.floorWhole()), [] { return roundingName(Rounding::Down); });
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
    return rounded(
        term, within,
        [&] { return roundingName(Rounding::HalfEven) + QStringLiteral("（0〜%1 の範囲）").arg(ceiling.shown().expression); },
        own);
}
