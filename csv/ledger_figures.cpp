#include "ledger_figures.h"

QByteArrayView FigureText::price(Currency value)
{
    const std::int64_t raw = value.raw();
    if (raw % Currency::kScale == 0)
        return whole(raw / Currency::kScale);
    const bool cents = raw % 100 == 0;
    const std::int64_t magnitude = raw < 0 ? -raw : raw;
    const std::int64_t scale = cents ? 100 : Currency::kScale;
    const std::int64_t fraction = (cents ? magnitude / 100 : magnitude) % scale;
    char* at = buffer_;
    if (raw < 0)
        *at++ = '-';
    at = std::to_chars(at, buffer_ + sizeof buffer_, magnitude / Currency::kScale).ptr;
    *at++ = '.';
    for (std::int64_t digit = scale / 10; digit > 0; digit /= 10)
        *at++ = static_cast<char>('0' + fraction / digit % 10);
    return QByteArrayView(buffer_, at - buffer_);
}

ledger::Figures settlementFigures(const ledger::Settlement& settlement)
{
    ledger::Figures figures;
    figures.incomeTax = settlement.incomeTax;
    figures.residentTax = settlement.residentTax;
    figures.settlement = -(settlement.incomeTax + settlement.residentTax);
    return figures;
}
