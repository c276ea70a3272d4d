#include "worksheet.h"

#include "figures.h"

#include <algorithm>

QString Worksheet::formatted(QStringView text, std::initializer_list<QString> args)
{
    QString line = text.toString();
    int n = 1;
    for (const QString& arg : args)
        line.replace(u'%' + QString::number(n++), arg);
    return line;
}

QString stepLine(QStringView caption, const QString& expression, int precedence,
                 const QString& evaluated, const QString& rounding, const QString& value)
{
    QString line = caption.toString() + QStringLiteral(" = ");
    if (!rounding.isEmpty())
        line += rounding + QStringLiteral(" = ");
    else if (precedence < 3)
        line += expression + QStringLiteral(" = ") + (evaluated.isEmpty() ? QString() : evaluated + QStringLiteral(" = "));
    return line + value;
}

namespace {

template <class R, class S>
Term<R> rounded(const Term<S>& source, QStringView rule, std::optional<R> value)
{
    Term<R> out{value.value_or(R{}), TermFault::None, source.sheet, {}, 3, {}, {}};
    out.fault = !source.ok() ? source.fault : value ? TermFault::None : TermFault::Overflow;
    if (source.sheet && source.sheet->explains()) {
        out.expression = termText(out.value);
        out.rounding = (source.precedence < 3 ? source.expression + QStringLiteral(" = ") : QString())
                       + termText(source.value) + QStringLiteral(" を") + rule.toString();
    }
    return out;
}

Term<Integer> wholeSum(const Term<Integer>& a, QStringView op, const Term<Integer>& b,
                       std::optional<Integer> value)
{
    return term_detail::combine(a, op, 1, b, value.value_or(0),
                                value ? TermFault::None : TermFault::Overflow);
}

} // namespace

Term<Currency> operator*(const Term<Integer>& nav, const Term<Currency>& units)
{
    const std::optional<Currency> product = multiply(nav.value, units.value);
    return term_detail::combine(nav, u"×", 2, units, product.value_or(Currency{}),
                                product ? TermFault::None : TermFault::Overflow);
}

Term<Integer> operator+(const Term<Integer>& a, const Term<Integer>& b)
{
    return wholeSum(a, u"+", b, checkedAdd(a.value, b.value, a.sheet->range()));
}

Term<Integer> operator-(const Term<Integer>& a, const Term<Integer>& b)
{
    return wholeSum(a, u"−", b, checkedSubtract(a.value, b.value, a.sheet->range()));
}

Term<Integer> roundHalfEven(const Term<double>& term)
{
    return rounded(term, u"偶数丸め", roundToInteger(term.value, term.sheet->range()));
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
    std::optional<Integer> within = roundToInteger(std::max(term.value, 0.0), term.sheet->range());
    if (within)
        *within = std::clamp<Integer>(*within, 0, std::max<Integer>(ceiling.value, 0));
    return rounded(term, QStringLiteral("偶数丸め（0〜%1 の範囲）").arg(ceiling.expression), within);
}

Term<Integer> smaller(const Term<Integer>& a, const Term<Integer>& b)
{
    Term<Integer> out{std::min(a.value, b.value), !a.ok() ? a.fault : b.fault, a.sheet, {}, 0, {}, {}};
    if (a.sheet->explains())
        out.expression = a.expression + QStringLiteral(" と ") + b.expression + QStringLiteral(" の小さい方");
    return out;
}
