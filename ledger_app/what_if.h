#pragma once

#include "calc/ledger/book.h"

#include <QDate>
#include <QString>

#include <optional>

// What redeeming a whole holding today would give: a 解約 posted to a copy of the book,
// which is then dropped. The NAV and the retention are as the user typed them.
struct WhatIf {
    std::optional<Integer> valuation; // 評価額: units × NAV ÷ 10,000, down to the yen
    std::optional<Integer> unrealised; // 評価損益: the valuation less the 取得費
    ledger::Figures figures;          // of the redemption
    QString problem;                  // why nothing could be worked out; empty otherwise
};

// Reads the typed NAV (whole yen per 10,000 units) and retention (%, to 0.001, blank
// for none), then redeems `fund` in `account` of a copy of `book` on `date` (or on the
// book's last date when that is later).
[[nodiscard]] WhatIf redeemWholeHolding(const ledger::Book& book, const QString& fund,
                                        const ledger::AccountId& account, const QString& navText,
                                        const QString& retentionText, const QDate& date);
