#pragma once

#include "calc/ledger/ledger.h"

class QSettings;

// The ledger window's choices, kept between runs: how the book rounds and settles, and
// the encoding files are saved in.
struct LedgerPreferences {
    enum class SaveEncoding { Utf8, Cp932 };

    ledger::Roundings roundings;
    bool dividendNetting = true;
    SaveEncoding saveEncoding = SaveEncoding::Utf8;

    friend bool operator==(const LedgerPreferences& a, const LedgerPreferences& b)
    {
        return a.roundings.principal == b.roundings.principal && a.roundings.cost == b.roundings.cost
               && a.roundings.units == b.roundings.units && a.dividendNetting == b.dividendNetting
               && a.saveEncoding == b.saveEncoding;
    }
};

// The settings as last stored; a missing or unknown value reads as its default.
[[nodiscard]] LedgerPreferences loadLedgerPreferences(const QSettings& store);
void storeLedgerPreferences(QSettings& store, const LedgerPreferences& settings);
