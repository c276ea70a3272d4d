#pragma once

#include "core/calc_record.h"
#include "core/figures.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <optional>

// Stops the fuzzer with the rule that broke and the texts that broke it.
[[noreturn]] inline void violated(const char* rule, const QStringList& texts)
{
    std::fprintf(stderr, "violated: %s\ntexts: \"%s\"\n", rule,
                 texts.join(QStringLiteral("\" \"")).toUtf8().constData());
    std::abort();
}

// A holding's worth, NAV × units ÷ 10,000, as the calculations form it: the product
// exact, held to the Currency range in the narrow range only; nothing when it is not
// formed, or when the worth floored leaves 64 bits.
inline std::optional<double> worthOf(Integer nav, Currency units, IntegerRange range)
{
    if (range == IntegerRange::narrow() && !multiply(nav, units))
        return std::nullopt;
    __extension__ using Wide = __int128;
    const double worth = static_cast<double>(Wide{nav} * units.raw()) / 10000.0 / 10000.0;
    if (!floorToWhole(worth))
        return std::nullopt;
    return worth;
}

// A record whose result fields hold values no calculation would leave by chance,
// so that a refused calculation that touched them shows.
inline CalcRecord markedRecord()
{
    CalcRecord r;
    r.Rate = 7.25;
    r.Fee = 1234;
    r.Tax = -4321;
    r.TaxableDiv = 555;
    r.Cash = Currency::fromRaw(777777);
    r.OA = Currency::fromRaw(99);
    r.FeeCovered = -1;
    return r;
}
