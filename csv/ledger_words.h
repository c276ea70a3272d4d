#pragma once

#include "calc/ledger/ledger.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The words a broker's papers use for an account and an event, besides the ledger's own
// names: a file copied from a statement reads as it stands.

// The account a cell names.
struct AccountWord {
    ledger::Account account = ledger::Account::Specified;
    bool specifiedOrGeneral = false; // 特定/一般: whichever of the two holds the fund
};

// The account a trimmed UTF-8 cell names (blank: the 特定口座), or none. Full-width and
// half-width brackets, letters and spaces alike.
[[nodiscard]] std::optional<AccountWord> accountWord(QByteArrayView cell);

// The event a trimmed UTF-8 cell names, in Japanese, in English or in a paper's word.
[[nodiscard]] std::optional<ledger::EventKind> eventWord(QByteArrayView cell);

// The papers' words, as --help lists them: for each event, then each account, the
// ledger's own name and the other words for it.
struct WordGroup {
    QString name;
    QStringList words;
};
[[nodiscard]] std::vector<WordGroup> paperWords();

// The accounts a row may name, as a refusal lists them.
[[nodiscard]] QString accountWordsHint();

// Whether a trimmed UTF-8 cell is the event of a row the ledger writes itself (年末精算,
// 年末精算（見込み）): a file it wrote reads back without them, and works them out again.
[[nodiscard]] bool isSettlementWord(QByteArrayView cell);
