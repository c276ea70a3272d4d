#include "ledger_terms.h"

#include <optional>
#include <utility>

namespace ledger {
namespace {

constexpr Wide kUnitsPerPrice = 10000; // a price is per this many units
constexpr Wide kPriceScale = Currency::kScale;
constexpr Wide kLargestExact = Wide{kLargest} * ExactYen::kScale;

// How a formed term prints: as an expression of its operands, or as a rounding.
struct Shown {
    QString expression;
    QString rounding;
};

// The one place a term is put together by hand. `value` is none when the result left
// its range; `fault` is the first fault of the operands, or the operation's own. The
// text is formed, and kept by the worksheet, only when it explains itself.
template <class R, class Text>
Term<R> formed(const Worksheet* sheet, std::optional<R> value, TermFault fault, int precedence,
               Text&& text)
{
    Term<R> out = sheet->known(value.value_or(R{}));
    out.fault = fault != TermFault::None ? fault : value ? TermFault::None : TermFault::Overflow;
    if (sheet->explains()) {
        Shown shown = std::forward<Text>(text)();
        TermText kept = out.shown();
        if (shown.rounding.isEmpty()) {
            kept.expression = std::move(shown.expression);
            kept.precedence = precedence;
        } else {
            kept.rounding = std::move(shown.rounding);
        }
        out.text = sheet->keep(std::move(kept));
    }
    return out;
}

template <class A, class B>
TermFault firstFault(const Term<A>& a, const Term<B>& b, TermFault own = TermFault::None)
{
    return !a.ok() ? a.fault : !b.ok() ? b.fault : own;
}

template <class T>
QString operand(const Term<T>& term, int within, bool right = false)
{
    const TermText& shown = term.shown();
    const bool brackets = right ? shown.precedence <= within : shown.precedence < within;
    return brackets ? u'(' + shown.expression + u')' : shown.expression;
}

// The exact value of a rounding's source, or its fault: an overflowed operand never
// shows as a number.
template <class Exact>
QString exactOr(TermFault fault, Exact&& exact)
{
    return fault != TermFault::None ? faultText(fault) : std::forward<Exact>(exact)();
}

// How a rounded term's source prints: its expression, then its exact value.
template <class T>
QString roundingText(const Term<T>& source, const QString& exact, Rounding rounding)
{
    return (source.shown().precedence < 3 ? source.shown().expression + QStringLiteral(" = ") : QString()) + exact
           + QStringLiteral(" を") + roundingName(rounding);
}

// floor, ceiling or half-up of n ÷ d, d > 0.
Wide divided(Wide n, Wide d, Rounding rounding)
{
    Wide q = n / d;
    Wide r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    if (r != 0 && (rounding == Rounding::Up || (rounding == Rounding::HalfUp && r >= d - r)))
        ++q;
    return q;
}

Wide magnitude(Wide value) { return value < 0 ? -value : value; }

// n ÷ d as decimal text, up to eight decimals; a quotient that goes on ends in "…".
QString quotientText(Wide n, Wide d)
{
    const bool negative = (n < 0) != (d < 0) && n != 0;
    n = magnitude(n);
    d = magnitude(d);
    const Wide whole = n / d;
    Wide rest = n % d;
    QString text = negative ? QStringLiteral("-") : QString();
    // A 128-bit whole part prints through two 64-bit halves.
    const Wide split = Wide{1000000000000000000};
    if (whole >= split)
        text += QString::number(static_cast<qint64>(whole / split))
                + QString::number(static_cast<qint64>(whole % split)).rightJustified(18, u'0');
    else
        text += QString::number(static_cast<qint64>(whole));
    if (rest == 0)
        return text;
    text += u'.';
    for (int digit = 0; digit < 8 && rest != 0; ++digit) {
        rest *= 10;
        text += QChar(u'0' + static_cast<char16_t>(rest / d));
        rest %= d;
    }
    if (rest != 0)
        text += u'…';
    return text;
}

std::optional<Integer> wholeWithin(Wide value)
{
    if (value < -Wide{kLargest} || value > Wide{kLargest})
        return std::nullopt;
    return static_cast<Integer>(value);
}

std::optional<ExactYen> exactWithin(Wide raw)
{
    if (raw < -kLargestExact || raw > kLargestExact)
        return std::nullopt;
    return ExactYen{raw};
}

std::optional<Currency> priceWithin(Wide raw)
{
    // A price keeps four decimals in 64 bits, and its yen stay within the whole range.
    if (magnitude(raw) / kPriceScale > Wide{kLargest} || raw > Wide{INT64_MAX} || raw < -Wide{INT64_MAX})
        return std::nullopt;
    return Currency::fromRaw(static_cast<std::int64_t>(raw));
}

} // namespace

QString workingText(ExactYen value) { return quotientText(value.raw, ExactYen::kScale); }

QString roundingName(Rounding rounding)
{
    switch (rounding) {
    case Rounding::Up:
        return QStringLiteral("切り上げ");
    case Rounding::Down:
        return QStringLiteral("切り捨て");
    case Rounding::HalfUp:
        break;
    }
    return QStringLiteral("四捨五入");
}

QString percentText(DecimalRate rate) { return quotientText(rate.milliPercent, 1000); }

Term<Currency> asPrice(const Term<Integer>& yen)
{
    return formed<Currency>(yen.sheet, priceWithin(Wide{yen.value} * kPriceScale), yen.fault, yen.shown().precedence,
                            [&] { return Shown{yen.shown().expression, {}}; });
}

Term<ExactYen> worth(const Term<Integer>& units, const Term<Currency>& price)
{
    return formed<ExactYen>(units.sheet, exactWithin(Wide{units.value} * price.value.raw()),
                            firstFault(units, price), 2, [&] {
                                return Shown{operand(units, 2) + QStringLiteral(" × ") + operand(price, 2, true)
                                                 + QStringLiteral(" ÷ 10000"),
                                             {}};
                            });
}

Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<ExactYen>& b)
{
    return formed<ExactYen>(a.sheet, exactWithin(a.value.raw + b.value.raw), firstFault(a, b), 1, [&] {
        return Shown{operand(a, 1) + QStringLiteral(" + ") + operand(b, 1, true), {}};
    });
}

Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<Integer>& yen)
{
    return formed<ExactYen>(a.sheet, exactWithin(a.value.raw + ExactYen::ofYen(yen.value).raw),
                            firstFault(a, yen), 1, [&] {
                                return Shown{operand(a, 1) + QStringLiteral(" + ") + operand(yen, 1, true), {}};
                            });
}

Term<ExactYen> lessShare(const Term<Integer>& nav, DecimalRate rate)
{
    // nav × rate % in yen × 10^8 is nav × milli-percent × 1000.
    const Wide raw = ExactYen::ofYen(nav.value).raw - Wide{nav.value} * rate.milliPercent * 1000;
    return formed<ExactYen>(nav.sheet, exactWithin(raw), nav.fault, 1, [&] {
        return Shown{operand(nav, 1) + QStringLiteral(" − ") + operand(nav, 2) + QStringLiteral(" × ")
                         + percentText(rate) + QStringLiteral(" %"),
                     {}};
    });
}

Term<Integer> toYen(const Term<ExactYen>& amount, Rounding rounding)
{
    return formed<Integer>(amount.sheet, wholeWithin(divided(amount.value.raw, ExactYen::kScale, rounding)),
                           amount.fault, 3, [&] {
                               const QString exact =
                                   exactOr(amount.fault, [&] { return workingText(amount.value); });
                               return Shown{{}, roundingText(amount, exact, rounding)};
                           });
}

Term<Integer> worthDown(const Term<ExactYen>& price, const Term<Integer>& units)
{
    Wide product = 0;
    const bool overflow = __builtin_mul_overflow(price.value.raw, Wide{units.value}, &product);
    const std::optional<Integer> value =
        overflow ? std::nullopt
                 : wholeWithin(divided(product, ExactYen::kScale * kUnitsPerPrice, Rounding::Down));
    return formed<Integer>(price.sheet, value, firstFault(price, units), 3, [&] {
        const QString source = operand(price, 2) + QStringLiteral(" × ") + operand(units, 2, true)
                               + QStringLiteral(" ÷ 10000");
        const QString exact = exactOr(firstFault(price, units, overflow ? TermFault::Overflow : TermFault::None),
                                      [&] { return quotientText(product, ExactYen::kScale * kUnitsPerPrice); });
        return Shown{{}, source + QStringLiteral(" = ") + exact + QStringLiteral(" を")
                             + roundingName(Rounding::Down)};
    });
}

Term<Currency> perTenThousand(const Term<ExactYen>& amount, const Term<Integer>& units, Rounding rounding,
                              PriceStep step)
{
    // The price's raw value (four decimals) is the amount's raw value (eight) ÷ units.
    const Wide stepRaw = step == PriceStep::Yen ? kPriceScale : kPriceScale / 100;
    const bool none = units.value <= 0;
    const std::optional<Currency> value =
        none ? std::nullopt : priceWithin(divided(amount.value.raw, Wide{units.value} * stepRaw, rounding) * stepRaw);
    const QString rule = step == PriceStep::Yen ? QString() : QStringLiteral("0.01 円単位に");
    return formed<Currency>(amount.sheet, value, firstFault(amount, units, none ? TermFault::Invalid : TermFault::None),
                            3, [&] {
                                const QString source = operand(amount, 2) + QStringLiteral(" × 10000 ÷ ")
                                                       + operand(units, 2, true);
                                const QString exact =
                                    exactOr(firstFault(amount, units, none ? TermFault::Invalid : TermFault::None),
                                            [&] { return quotientText(amount.value.raw, Wide{units.value} * kPriceScale); });
                                return Shown{{}, source + QStringLiteral(" = ") + exact + QStringLiteral(" を")
                                                     + rule + roundingName(rounding)};
                            });
}

Term<Integer> unitsFor(const Term<Integer>& amount, const Term<Integer>& nav, Rounding rounding)
{
    const bool none = nav.value <= 0;
    const Wide numerator = Wide{amount.value} * kUnitsPerPrice;
    const std::optional<Integer> value = none ? std::nullopt : wholeWithin(divided(numerator, nav.value, rounding));
    return formed<Integer>(amount.sheet, value, firstFault(amount, nav, none ? TermFault::Invalid : TermFault::None),
                           3, [&] {
                               const QString source = operand(amount, 2) + QStringLiteral(" × 10000 ÷ ")
                                                      + operand(nav, 2, true);
                               const QString exact =
                                   exactOr(firstFault(amount, nav, none ? TermFault::Invalid : TermFault::None),
                                           [&] { return quotientText(numerator, nav.value); });
                               return Shown{{}, source + QStringLiteral(" = ") + exact + QStringLiteral(" を")
                                                    + roundingName(rounding)};
                           });
}

Term<Currency> atLeastZero(const Term<Currency>& value)
{
    return formed<Currency>(value.sheet, std::optional<Currency>(value.value.raw() < 0 ? Currency{} : value.value),
                            value.fault, 0, [&] {
                                return Shown{QStringLiteral("0 と ") + operand(value, 1) + QStringLiteral(" の大きい方"),
                                             {}};
                            });
}

Term<Integer> atLeastZero(const Term<Integer>& value)
{
    return formed<Integer>(value.sheet, std::optional<Integer>(value.value < 0 ? 0 : value.value), value.fault, 0,
                           [&] {
                               return Shown{QStringLiteral("0 と ") + operand(value, 1)
                                                + QStringLiteral(" の大きい方"),
                                            {}};
                           });
}

Term<Currency> smaller(const Term<Currency>& a, const Term<Currency>& b)
{
    return formed<Currency>(a.sheet, std::optional<Currency>(a.value.raw() <= b.value.raw() ? a.value : b.value),
                            firstFault(a, b), 0, [&] {
                                return Shown{operand(a, 1) + QStringLiteral(" と ") + operand(b, 1)
                                                 + QStringLiteral(" の小さい方"),
                                             {}};
                            });
}

Term<Integer> negated(const Term<Integer>& value)
{
    return formed<Integer>(value.sheet, wholeWithin(-Wide{value.value}), value.fault, 1,
                           [&] { return Shown{u'−' + operand(value, 3), {}}; });
}

} // namespace ledger
