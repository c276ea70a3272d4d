#pragma once

#include "broker_holdings.h"

#include "calc/ledger/book.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The broker's holdings beside the ledger's after the replay: for each fund and account,
// the units (compared exactly) and the 取得単価 per 10,000 units (the broker's, to 0.01
// yen, against the ledger's exact one: its cost pool ÷ units). A difference in units, a
// 取得単価 1 yen or more apart and a holding on one side only are marked.

struct HoldingComparison {
    QString fund; // as the broker names it, or the ledger when the broker lists none
    ledger::Account account = ledger::Account::Specified;
    // None where that side holds nothing.
    std::optional<Integer> brokerUnits;
    std::optional<Integer> ledgerUnits;
    std::optional<Currency> brokerCost; // to 0.01 yen
    std::optional<Currency> ledgerCost; // its exact figure, down to 0.0001 yen
    // ledgerCost less brokerCost (when both hold).
    std::optional<Currency> costDifference;
    bool unitsDiffer = false;
    bool costDiffers = false; // 1 yen or more apart

    [[nodiscard]] bool marked() const { return unitsDiffer || costDiffers; }
};

struct HoldingsCheck {
    QString broker;
    std::vector<HoldingComparison> rows; // by account, then in the broker's order, then the ledger's
    bool anyMarked = false;

    // What the command line prints: a title, a line per fund and account (the marked
    // ones start with ※ and say why), and a closing count.
    [[nodiscard]] QStringList lines() const;
};

// Compares the broker's holdings with the ledger's holdings of the same broker (those of
// `ledgerBroker`, blank for a ledger of one broker); funds are matched as fundNameKey()
// folds their names.
[[nodiscard]] HoldingsCheck checkHoldings(const BrokerHoldings& broker, const std::vector<ledger::HeldFund>& ledger,
                                          const QString& ledgerBroker);
[[nodiscard]] inline HoldingsCheck checkHoldings(const BrokerHoldings& broker, const ledger::Book& book,
                                                 const QString& ledgerBroker)
{
    return checkHoldings(broker, book.holdings(), ledgerBroker);
}
