#include "trace.h"

#include <QLocale>

QString workingText(double value)
{
    // 'f' never switches to an exponent; the shortest digits read back the same double.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString workingText(Currency value)
{
    const std::int64_t raw = value.raw();
    const bool negative = raw < 0;
    // Magnitude as unsigned, so the most negative raw value has one too.
    const std::uint64_t magnitude =
        negative ? ~static_cast<std::uint64_t>(raw) + 1 : static_cast<std::uint64_t>(raw);
    QString text = QString::number(magnitude / Currency::kScale);
    QString fraction = QString::number(magnitude % Currency::kScale).rightJustified(4, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return negative ? u'-' + text : text;
}

QString workingText(Integer value) { return QString::number(value); }
