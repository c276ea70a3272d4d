#pragma once

#include "core/calc_record.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with the rule that broke and the texts that broke it.
[[noreturn]] inline void violated(const char* rule, const QStringList& texts)
{
    std::fprintf(stderr, "violated: %s\ntexts: \"%s\"\n", rule,
                 texts.join(QStringLiteral("\" \"")).toUtf8().constData());
    std::abort();
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
