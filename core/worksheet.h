#pragma once

#include "currency.h"
#include "exact.h"
#include "fund_rules.h"
#include "integer.h"
#include "trace.h"

#include <QString>
#include <QStringView>

#include <cmath>
#include <cstddef>
#include <forward_list>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

// A calculation written as a worksheet: each step computes its value from terms, and
// the same terms print the expression as it was evaluated, so the working cannot say
// anything the arithmetic did not do. A term that went wrong (NaN, an infinity, a
// value outside its type) stays wrong through every later step; the worksheet keeps
// the first fault, with the figure its step belongs to, for one check at the end.

// What went wrong in a term, if anything.
enum class TermFault {
    None,
    Overflow,    // a value beyond its type, or an infinity
    Invalid,     // NaN, or a division by zero
    BeyondRange, // beyond the range in force, but a value the wide range holds
};

// The fault of operands of which at least one went wrong: the first one's, except that
// beside an operand that went wrong in another way, a value beyond the range in force
// alone makes an overflow, as the wide range would not get past that operand either.
constexpr TermFault firstFault(TermFault fault) { return fault; }
template <class... Rest>
constexpr TermFault firstFault(TermFault first, Rest... rest)
{
    const TermFault later = firstFault(rest...);
    if (first == TermFault::None)
        return later;
    if (first == TermFault::BeyondRange && later != TermFault::None && later != TermFault::BeyondRange)
        return TermFault::Overflow;
    return first;
}
// The fault of a step: its operands' first, or, when they are sound, its own. An own fault
// beside a faulty operand was met on the 0 that stands in for that operand's value.
template <class... Operands>
constexpr TermFault stepFault(TermFault own, Operands... operands)
{
    const TermFault fault = firstFault(operands...);
    return fault != TermFault::None ? fault : own;
}

class Worksheet;

// How a term prints, formed only by a worksheet that explains itself, and kept by it.
struct TermText {
    QString expression; // how the term prints as an operand
    int precedence = 3; // of its outermost operator: 1 + −, 2 × ÷, 3 none
    QString evaluated;  // its operands by value, when both are expressions themselves
    QString rounding;   // "… を偶数丸め" when the term is a rounding of another
};

// A number in a calculation, with how it was formed. When its worksheet does not
// explain, a term is its value and its fault and nothing else: copying one costs what
// copying the number does.
template <class T>
struct Term {
    T value{};
    TermFault fault = TermFault::None;
    const Worksheet* sheet = nullptr;
    const TermText* text = nullptr; // null unless the worksheet explains

    [[nodiscard]] bool ok() const { return fault == TermFault::None; }
    // How the term prints (empty when its worksheet does not explain).
    [[nodiscard]] const TermText& shown() const;
};

// The first step that went wrong: its caption, the figure it belongs to, and how. The
// texts are the step's own (see Worksheet::let), not copies.
struct StepFailure {
    QString step;
    QString figure;
    TermFault fault;
};

class Worksheet {
public:
    // Lines go to `trace` when there is one; the range is the calculation's.
    Worksheet(Trace* trace, IntegerRange range) : trace_(trace), range_(range) {}
    // Its terms point to it and to the texts it keeps.
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    [[nodiscard]] bool explains() const { return trace_ != nullptr; }
    [[nodiscard]] IntegerRange range() const { return range_; }

    // A value the calculation starts from (an input as stored, a constant).
    template <class T>
    [[nodiscard]] Term<T> known(T value) const;
    // Several at once: `const auto [cbl, nbl] = ws.known(record.CBL, record.NBL);`
    template <class... T>
        requires(sizeof...(T) > 1)
    [[nodiscard]] std::tuple<Term<T>...> known(T... values) const
    {
        return {known(values)...};
    }

    // One step: `term` is the value of `caption`, a step towards `figure`. The working
    // gets "caption = expression = value", with the rounding when the term is one. The
    // result prints as its value when used in later steps. Both texts are literals or a
    // declaration's names: a failure refers to them, and outlives the worksheet.
    template <class T>
    Term<T> let(QStringView figure, QStringView caption, const Term<T>& term);
    // The same with the caption a literal, whose length is known without a search: a
    // step that neither fails nor explains never looks at its caption.
    template <class T, std::size_t N>
    Term<T> let(QStringView figure, const char16_t (&caption)[N], const Term<T>& term)
    {
        return let(figure, QStringView(caption, N - 1), term);
    }

    // A term's value, as a later step or note prints it, without a line of its own and
    // without stopping the worksheet when it went wrong: a figure worked out only for
    // reference. Its fault stays on the term.
    template <class T>
    [[nodiscard]] Term<T> aside(const Term<T>& term) const
    {
        Term<T> named = known(term.value);
        named.fault = term.fault;
        return named;
    }

    // A line of explanation, with the terms' values in place of %1, %2, ...
    template <class... Terms>
    void note(QStringView text, const Terms&... terms)
    {
        if (trace_ && !failure_)
            trace_->step(formatted(text, {terms.shown().expression...}));
    }
    template <std::size_t N, class... Terms>
    void note(const char16_t (&text)[N], const Terms&... terms)
    {
        if (trace_ && !failure_)
            trace_->step(formatted(QStringView(text, N - 1), {terms.shown().expression...}));
    }

    // The first step that went wrong; nothing when every step so far went right.
    [[nodiscard]] const std::optional<StepFailure>& failure() const { return failure_; }

    // Keeps how a term prints for as long as the worksheet lives; only when it explains.
    const TermText* keep(TermText text) const { return &texts_.emplace_front(std::move(text)); }

private:
    static QString formatted(QStringView text, std::initializer_list<QString> args);
    // The texts of the working, apart from the arithmetic: a step that neither fails
    // nor explains runs none of this.
    template <class T>
    [[gnu::noinline]] const TermText* valueShown(T value) const;
    [[gnu::noinline]] void record(QStringView figure, QStringView caption, TermFault fault,
                                  const TermText& term, const TermText& value);

    Trace* trace_;
    IntegerRange range_;
    std::optional<StepFailure> failure_;
    // A list: adding a text never moves those the terms already point to, and an empty
    // one (a worksheet that does not explain) allocates nothing.
    mutable std::forward_list<TermText> texts_;
};

template <class T>
const TermText& Term<T>::shown() const
{
    static const TermText none;
    return text ? *text : none;
}

// Numbers as the working shows them.
template <class T>
QString termText(T value)
{
    return workingText(value);
}

// A term's value as the working shows it: a term that went wrong shows how, never a value.
[[nodiscard]] QString faultText(TermFault fault);
template <class T>
QString valueText(const Term<T>& term)
{
    return term.ok() ? termText(term.value) : faultText(term.fault);
}

// A term as an operand of an operator of `precedence`, bracketed when it binds less
// tightly; on the right, also when it binds the same (a − (b − c)).
template <class T>
QString operandText(const Term<T>& term, int precedence, bool right = false)
{
    const TermText& shown = term.shown();
    const bool brackets = right ? shown.precedence <= precedence : shown.precedence < precedence;
    return brackets ? u'(' + shown.expression + u')' : shown.expression;
}

// A term's expression where it has one, for the left of "= value".
template <class T>
QString formationText(const Term<T>& term)
{
    return term.shown().precedence < 3 ? term.shown().expression : QString();
}

// How a rounding prints: what it rounds (when there is an expression), the exact value
// rounded or how it went wrong, and the rule: "a × b = 188.9871 を切り捨て".
[[nodiscard]] QString roundingText(const QString& source, const QString& exact, QStringView rule);
// An exact value, or the fault instead when there is one: a term that went wrong
// never shows as a number.
template <class Make>
QString exactOr(TermFault fault, Make&& exact)
{
    return fault != TermFault::None ? faultText(fault) : std::forward<Make>(exact)();
}

// How an exactly formed term prints: as an expression of its operands, or, when
// `rounding` is set, as a rounding.
struct FormedText {
    QString expression;
    QString rounding;
};

// A term formed by exact integer arithmetic: `value` is none when the result left its
// type or range (`own`, an overflow unless said, when `fault`, the operands', is none).
// `text()` gives a FormedText, and runs only when the worksheet explains.
template <class R, class Text>
Term<R> formed(const Worksheet* sheet, std::optional<R> value, TermFault fault, int precedence, Text&& text,
               TermFault own = TermFault::Overflow)
{
    Term<R> out{value.value_or(R{}), stepFault(value ? TermFault::None : own, fault), sheet, nullptr};
    if (sheet && sheet->explains()) {
        FormedText shown = std::forward<Text>(text)();
        out.text = shown.rounding.isEmpty()
                       ? sheet->keep({std::move(shown.expression), precedence, {}, {}})
                       : sheet->keep({termText(out.value), 3, {}, std::move(shown.rounding)});
    }
    return out;
}

template <class T>
Term<T> Worksheet::known(T value) const
{
    Term<T> term{value, TermFault::None, this, nullptr};
    if (explains())
        term.text = valueShown(value);
    return term;
}

template <class T>
const TermText* Worksheet::valueShown(T value) const
{
    return keep({termText(value), 3, {}, {}});
}

QString stepLine(QStringView caption, const TermText& term, const QString& value);

template <class T>
Term<T> Worksheet::let(QStringView figure, QStringView caption, const Term<T>& term)
{
    Term<T> named = known(term.value);
    named.fault = term.fault;
    if (!failure_ && (trace_ || !term.ok()))
        record(figure, caption, term.fault, term.shown(), named.shown());
    return named;
}

// --- Arithmetic on terms ----------------------------------------------------------
// Whole numbers meet doubles as doubles; Integer times Currency is formed exactly.

namespace term_detail {

template <class A, class B>
const TermText* combinedText(const Term<A>& a, QStringView op, int precedence, const Term<B>& b);

template <class R, class A, class B>
Term<R> combine(const Term<A>& a, QStringView op, int precedence, const Term<B>& b, R value,
                TermFault own)
{
    const Worksheet* sheet = a.sheet ? a.sheet : b.sheet;
    Term<R> out{value, stepFault(own, a.fault, b.fault), sheet, nullptr};
    if (sheet && sheet->explains())
        out.text = combinedText(a, op, precedence, b);
    return out;
}

// How a combination prints; apart from combine() so that the arithmetic's own path
// stays small.
template <class A, class B>
[[gnu::noinline]] const TermText* combinedText(const Term<A>& a, QStringView op, int precedence,
                                               const Term<B>& b)
{
    const Worksheet* sheet = a.sheet ? a.sheet : b.sheet;
    const QString sep = u' ' + op.toString() + u' ';
    TermText text{operandText(a, precedence) + sep + operandText(b, precedence, true), precedence, {}, {}};
    if (a.shown().precedence < 3 && b.shown().precedence < 3)
        text.evaluated = valueText(a) + sep + valueText(b);
    return sheet->keep(std::move(text));
}

inline TermFault faultOf(double value)
{
    if (std::isnan(value))
        return TermFault::Invalid;
    return std::isinf(value) ? TermFault::Overflow : TermFault::None;
}

inline bool notAbove(Integer a, Integer b) { return a <= b; }
inline bool notAbove(Currency a, Currency b) { return a.raw() <= b.raw(); }

template <class T>
double asDouble(T value)
{
    if constexpr (std::is_same_v<T, Currency>)
        return value.toDouble();
    else if constexpr (std::is_same_v<T, NavTimesUnits>)
    {
        // As Currency::toDouble. A product within 64 bits converts as one, without the
        // far slower 128-bit conversion (the same double: both round the same integer).
        const auto narrow = static_cast<std::int64_t>(value.raw);
        return (narrow == value.raw ? static_cast<double>(narrow) : static_cast<double>(value.raw)) / 10000.0;
    }
    else
        return static_cast<double>(value);
}

} // namespace term_detail

// A constant in a step prints as itself.
template <class T>
Term<double> operator*(const Term<T>& a, double b) { return a * a.sheet->known(b); }
template <class T>
Term<double> operator/(const Term<T>& a, double b) { return a / a.sheet->known(b); }
template <class T>
Term<double> operator+(const Term<T>& a, double b) { return a + a.sheet->known(b); }

// Double arithmetic, in exactly the order written; NaN is invalid, an infinity an overflow.
template <class A, class B>
    requires(!std::is_same_v<A, Integer> || !std::is_same_v<B, Integer>)
            && (!std::is_same_v<A, Integer> || !std::is_same_v<B, Currency>)
Term<double> operator*(const Term<A>& a, const Term<B>& b)
{
    const double v = term_detail::asDouble(a.value) * term_detail::asDouble(b.value);
    return term_detail::combine(a, u"×", 2, b, v, term_detail::faultOf(v));
}
template <class A, class B>
Term<double> operator/(const Term<A>& a, const Term<B>& b)
{
    const double divisor = term_detail::asDouble(b.value);
    if (divisor == 0.0)
        return term_detail::combine(a, u"÷", 2, b, 0.0, TermFault::Invalid);
    const double v = term_detail::asDouble(a.value) / divisor;
    return term_detail::combine(a, u"÷", 2, b, v, term_detail::faultOf(v));
}
template <class A, class B>
    requires(!std::is_same_v<A, Integer> || !std::is_same_v<B, Integer>)
Term<double> operator+(const Term<A>& a, const Term<B>& b)
{
    const double v = term_detail::asDouble(a.value) + term_detail::asDouble(b.value);
    return term_detail::combine(a, u"+", 1, b, v, term_detail::faultOf(v));
}
template <class A, class B>
    requires(!std::is_same_v<A, Integer> || !std::is_same_v<B, Integer>)
Term<double> operator-(const Term<A>& a, const Term<B>& b)
{
    const double v = term_detail::asDouble(a.value) - term_detail::asDouble(b.value);
    return term_detail::combine(a, u"−", 1, b, v, term_detail::faultOf(v));
}

// NAV times units, exact; in the windows' range an overflow when the product leaves
// the Currency range.
Term<NavTimesUnits> operator*(const Term<Integer>& nav, const Term<Currency>& units);

// Difference of two NAV-times-units products, exact; in the windows' range an overflow
// when it leaves the Currency range.
Term<NavTimesUnits> operator-(const Term<NavTimesUnits>& a, const Term<NavTimesUnits>& b);

// Difference of two four-decimal figures, exact; an overflow when it leaves their range.
Term<Currency> operator-(const Term<Currency>& a, const Term<Currency>& b);

// Sum and difference of whole numbers, checked against the calculation's range.
Term<Integer> operator+(const Term<Integer>& a, const Term<Integer>& b);
Term<Integer> operator-(const Term<Integer>& a, const Term<Integer>& b);

// --- Roundings, each named where it happens ----------------------------------------

// To a whole number, ties to even (偶数丸め), in the calculation's range.
[[nodiscard]] Term<Integer> roundHalfEven(const Term<double>& term);
// To four decimals, ties to even (小数第4位に偶数丸め).
[[nodiscard]] Term<Currency> roundToFourPlaces(const Term<double>& term);
// Down to a whole number (切り捨て): a figure as shown, in 64 bits.
[[nodiscard]] Term<Integer> roundDown(const Term<double>& term);
[[nodiscard]] Term<Integer> roundDown(const Term<Currency>& term);
// The nearest whole number, ties to even, of a value taken as 0 when below it, then
// kept within 0 to `ceiling`.
[[nodiscard]] Term<Integer> roundHalfEvenWithin(const Term<double>& term,
                                                const Term<Integer>& ceiling);
// The smaller of two whole numbers or two prices: "a と b の小さい方".
template <class T>
[[nodiscard]] Term<T> smaller(const Term<T>& a, const Term<T>& b)
{
    const bool first = term_detail::notAbove(a.value, b.value);
    return formed(a.sheet, std::optional<T>(first ? a.value : b.value), firstFault(a.fault, b.fault), 0, [&] {
        return FormedText{operandText(a, 1) + QStringLiteral(" と ") + operandText(b, 1) + QStringLiteral(" の小さい方"),
                          {}};
    });
}

// Exact decimal roundings, no binary floating point:
// `rate` of a whole amount, down to whole yen (切り捨て), in the calculation's range.
// 1,234 × 15.315 % = 188.9871 gives 188.
[[nodiscard]] Term<Integer> roundDownShare(const Term<Integer>& base, DecimalRate rate);
// NAV × units ÷ 10,000 less a whole amount, down to whole yen (切り捨て), in 64 bits: a
// holding's worth as a tax base takes it, never stored, so not held to the range.
[[nodiscard]] Term<Integer> roundDownWorth(const Term<NavTimesUnits>& navTimesUnits,
                                           const Term<Integer>& less);
// An amount on `units` as a price per 10,000 units (amount × 10,000 ÷ units), to the
// nearest whole number, ties to even, in the calculation's range.
[[nodiscard]] Term<Integer> roundHalfEvenPerNav(const Term<Integer>& amount,
                                                const Term<Currency>& units);
