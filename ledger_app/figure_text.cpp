#include "figure_text.h"

#include "core/currency.h"

namespace {

// The digits of a magnitude with a comma between thousands.
QString grouped(std::uint64_t magnitude)
{
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u',');
    return digits;
}

std::uint64_t magnitudeOf(std::int64_t value)
{
    // The magnitude of the most negative value still fits the unsigned type.
    return value < 0 ? std::uint64_t(0) - std::uint64_t(value) : std::uint64_t(value);
}

} // namespace

QString groupedWhole(std::int64_t value)
{
    const QString digits = grouped(magnitudeOf(value));
    return value < 0 ? u'-' + digits : digits;
}

QString groupedPrice(std::int64_t raw)
{
    constexpr std::uint64_t scale = std::uint64_t(Currency::kScale);
    const std::uint64_t magnitude = magnitudeOf(raw);
    QString text = grouped(magnitude / scale);
    const std::uint64_t fraction = magnitude % scale;
    if (fraction != 0) {
        if (fraction % 100 == 0)
            text += u'.' + QString::number(fraction / 100).rightJustified(2, u'0');
        else
            text += u'.' + QString::number(fraction).rightJustified(4, u'0');
    }
    return raw < 0 ? u'-' + text : text;
}
