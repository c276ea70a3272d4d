#include "ledger_terms.h"

#include <optional>
#include <utility>

namespace ledger {
namespace {

constexpr Wide kUnitsPerPrice = 10000; // a price is per this many units
constexpr Wide kPriceScale = Currency::kScale;

std::optional<Integer> wholeWithin(Wide value)
{
    if (value < -Wide{kLargest} || value > Wide{kLargest})
        return std::nullopt;
    return static_cast<Integer>(value);
}

std::optional<ExactYen> exactWithin(Wide raw)
{
    if (raw < -ExactYen::ofWhole(kLargest).raw || raw > ExactYen::ofWhole(kLargest).raw)
        return std::nullopt;
    return ExactYen{raw};
}

std::optional<Currency> priceWithin(Wide raw)
{
    // A price keeps four decimals in 64 bits, and its yen stay within the whole range.
    const Wide magnitude = raw < 0 ? -raw : raw;
    if (magnitude / kPriceScale > Wide{kLargest} || magnitude > Wide{INT64_MAX})
        return std::nullopt;
    return Currency::fromRaw(static_cast<std::int64_t>(raw));
}

// `source` rounded by `rule`, its exact value `exact()` shown unless `fault`.
template <class Make>
FormedText roundingOf(const QString& source, TermFault fault, Make&& exact, const QString& rule)
{
    return {{}, roundingText(source, exactOr(fault, std::forward<Make>(exact)), rule)};
}

// "0 と value の大きい方".
template <class T>
Term<T> atLeast(const Term<T>& value, T zero, bool below)
{
    return formed(value.sheet, std::optional<T>(below ? zero : value.value), value.fault, 0, [&] {
        return FormedText{QStringLiteral("0 と ") + operandText(value, 1) + QStringLiteral(" の大きい方"), {}};
    });
}

} // namespace

Term<Currency> asPrice(const Term<Integer>& yen)
{
    return formed(yen.sheet, priceWithin(Wide{yen.value} * kPriceScale), yen.fault, yen.shown().precedence,
                  [&] { return FormedText{yen.shown().expression, {}}; });
}

Term<ExactYen> worth(const Term<Integer>& units, const Term<Currency>& price)
{
    return formed(units.sheet, exactWithin(Wide{units.value} * price.value.raw()), firstFault(units.fault, price.fault),
                  2, [&] {
                      return FormedText{operandText(units, 2) + QStringLiteral(" × ") + operandText(price, 2, true)
                                            + QStringLiteral(" ÷ 10000"),
                                        {}};
                  });
}

Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<ExactYen>& b)
{
    return formed(a.sheet, exactWithin(a.value.raw + b.value.raw), firstFault(a.fault, b.fault), 1, [&] {
        return FormedText{operandText(a, 1) + QStringLiteral(" + ") + operandText(b, 1, true), {}};
    });
}

Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<Integer>& yen)
{
    return formed(a.sheet, exactWithin(a.value.raw + ExactYen::ofWhole(yen.value).raw), firstFault(a.fault, yen.fault),
                  1, [&] { return FormedText{operandText(a, 1) + QStringLiteral(" + ") + operandText(yen, 1, true), {}}; });
}

Term<ExactYen> lessShare(const Term<Integer>& nav, DecimalRate rate)
{
    // nav × rate % in yen × 10^8 is nav × milli-percent × 1000.
    const Wide raw = ExactYen::ofWhole(nav.value).raw - Wide{nav.value} * rate.milliPercent * 1000;
    return formed(nav.sheet, exactWithin(raw), nav.fault, 1, [&] {
        return FormedText{operandText(nav, 1) + QStringLiteral(" − ") + operandText(nav, 2) + QStringLiteral(" × ")
                              + percentText(rate) + QStringLiteral(" %"),
                          {}};
    });
}

Term<Integer> shareOf(const Term<Integer>& nav, DecimalRate rate, Rounding rounding)
{
    const Wide share = Wide{nav.value} * rate.milliPercent;
    return formed(nav.sheet, wholeWithin(divide(share, kMilliPercentScale, rounding)), nav.fault, 3, [&] {
        return roundingOf(operandText(nav, 2) + QStringLiteral(" × ") + percentText(rate) + QStringLiteral(" %"),
                          nav.fault, [&] { return decimalText(share, kMilliPercentScale, 5); }, roundingName(rounding));
    });
}

Term<ExactYen> exactly(const Term<Integer>& yen)
{
    return formed(yen.sheet, std::optional<ExactYen>(ExactYen::ofWhole(yen.value)), yen.fault, yen.shown().precedence,
                  [&] { return FormedText{yen.shown().expression, {}}; });
}

Term<Integer> toYen(const Term<ExactYen>& amount, Rounding rounding)
{
    return formed(amount.sheet, wholeWithin(divide(amount.value.raw, ExactYen::kScale, rounding)), amount.fault, 3,
                  [&] {
                      return roundingOf(formationText(amount), amount.fault,
                                        [&] { return workingText(amount.value); }, roundingName(rounding));
                  });
}

Term<Integer> worthDown(const Term<ExactYen>& price, const Term<Integer>& units)
{
    constexpr Wide kScale = ExactYen::kScale * kUnitsPerPrice;
    Wide product = 0;
    const bool overflow = __builtin_mul_overflow(price.value.raw, Wide{units.value}, &product);
    const TermFault fault = firstFault(price.fault, units.fault);
    return formed(price.sheet, overflow ? std::nullopt : wholeWithin(divide(product, kScale, Rounding::Down)), fault, 3,
                  [&] {
                      return roundingOf(operandText(price, 2) + QStringLiteral(" × ") + operandText(units, 2, true)
                                            + QStringLiteral(" ÷ 10000"),
                                        firstFault(fault, overflow ? TermFault::Overflow : TermFault::None),
                                        [&] { return decimalText(product, kScale, 8); }, roundingName(Rounding::Down));
                  });
}

Term<Currency> perTenThousand(const Term<ExactYen>& amount, const Term<Integer>& units, Rounding rounding,
                              PriceStep step)
{
    // The price's raw value (four decimals) is the amount's raw value (eight) ÷ units.
    const Wide stepRaw = step == PriceStep::Yen ? kPriceScale : kPriceScale / 100;
    const bool none = units.value <= 0;
    const TermFault fault = firstFault(amount.fault, units.fault, none ? TermFault::Invalid : TermFault::None);
    return formed(amount.sheet,
                  none ? std::nullopt
                       : priceWithin(divide(amount.value.raw, Wide{units.value} * stepRaw, rounding) * stepRaw),
                  fault, 3, [&] {
                      return roundingOf(operandText(amount, 2) + QStringLiteral(" × 10000 ÷ ") + operandText(units, 2, true),
                                        fault, [&] { return decimalText(amount.value.raw, Wide{units.value} * kPriceScale, 8); },
                                        (step == PriceStep::Yen ? QString() : QStringLiteral("0.01 円単位に"))
                                            + roundingName(rounding));
                  });
}

Term<Integer> unitsFor(const Term<Integer>& amount, const Term<Integer>& nav, Rounding rounding)
{
    const bool none = nav.value <= 0;
    const Wide numerator = Wide{amount.value} * kUnitsPerPrice;
    const TermFault fault = firstFault(amount.fault, nav.fault, none ? TermFault::Invalid : TermFault::None);
    return formed(amount.sheet, none ? std::nullopt : wholeWithin(divide(numerator, nav.value, rounding)), fault, 3, [&] {
        return roundingOf(operandText(amount, 2) + QStringLiteral(" × 10000 ÷ ") + operandText(nav, 2, true), fault,
                          [&] { return decimalText(numerator, nav.value, 8); }, roundingName(rounding));
    });
}

Term<Currency> atLeastZero(const Term<Currency>& value) { return atLeast(value, Currency{}, value.value.raw() < 0); }

Term<Integer> atLeastZero(const Term<Integer>& value) { return atLeast(value, Integer{0}, value.value < 0); }

Term<Integer> negated(const Term<Integer>& value)
{
    return formed(value.sheet, wholeWithin(-Wide{value.value}), value.fault, 1,
                  [&] { return FormedText{u'−' + operandText(value, 3), {}}; });
}

} // namespace ledger
