#pragma once

#include "ledger.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

// The running ledger: every holding, each 特定口座's year and the last date, with the
// events posted to it one at a time in the order of their dates. A posted event either
// changes the book and shows its figures, or is refused and changes nothing. A book is a
// value: a copy can take an event to show what it would do, leaving the original as it
// was. It holds one entry per holding and per account and year, whatever the number of
// events.

namespace ledger {

// What a book is kept with: the roundings brokers do differently, and whether the
// 特定口座 takes in dividends (配当等の受入れ), settling a year's loss against them.
struct BookOptions {
    Roundings roundings;
    bool dividendNetting = true;
    // The day the history runs to (--as-of): a later event is refused, and a year not
    // over by then is settled as a forecast. Invalid: no such day.
    QDate asOf;
};

// Why the book refused an event: the rules' reason, or a date before the last one's.
using PostRefusal = Refusal;

// A 特定口座 year that the date of an event (or the end of the input) closed, and its
// 年末精算: none when the year refunds nothing.
struct ClosedYear {
    AccountId account;
    AccountYear year;
    std::optional<Settlement> settlement;
    bool provisional = false; // the year was not over by the book's asOf: 年末精算（見込み）
};

// What a posted event shows.
struct Posted {
    AccountId account; // the account it went to (特定/一般 told apart by the book)
    Figures figures;
    // The holding after it as a statement shows it: of a 払出, the 特定口座's holding that
    // received the units; of 譲渡損益 and 配当, which touch no holding, an empty one.
    Holding holding;
    std::optional<AccountYear> year; // the 特定口座's year after it; none for NISA
    std::vector<ClosedYear> closed;  // the years its date closed, settled before it
};

// A holding as the book lists it.
struct HeldFund {
    QString fund;
    AccountId account;
    Holding holding;
};

// A line of the yearly report: an account's year.
struct ReportKey {
    int year = 0;
    AccountId account;

    friend bool operator<(const ReportKey& a, const ReportKey& b)
    {
        return a.year != b.year ? a.year < b.year : a.account < b.account;
    }
};
using YearReports = std::map<ReportKey, YearReport>; // by year, 特定 before NISA

class Book {
public:
    explicit Book(BookOptions options = {});

    // Posts an event dated no earlier than the last one posted. The working goes to
    // `trace` when there is one (the 年末精算s it closes are not traced: see settleYear).
    [[nodiscard]] Outcome<Posted, PostRefusal> post(const Event& event, Trace* trace = nullptr);
    // At the end of the input: every open year, closed and settled.
    [[nodiscard]] std::vector<ClosedYear> close();

    // A fund's holding in an account; an empty one when there is none.
    [[nodiscard]] const Holding& holding(const QString& fund, const AccountId& account) const;
    // Every holding that holds units, by account and then by fund.
    [[nodiscard]] std::vector<HeldFund> holdings() const;
    // A 特定口座's open year (year 0: none open).
    [[nodiscard]] AccountYear year(const AccountId& account) const;
    // The sums of each account's years so far, settlements included.
    [[nodiscard]] const YearReports& reports() const { return reports_; }
    // The date of the last event posted (invalid: none yet).
    [[nodiscard]] const QDate& lastDate() const { return last_; }
    [[nodiscard]] const BookOptions& options() const { return options_; }

private:
    struct Key {
        AccountId account;
        QString fund;
    };
    // A key as an event gives it, looked up without copying its names.
    struct KeyView {
        Account kind;
        QStringView broker;
        QStringView fund;
        friend bool operator==(const KeyView& a, const KeyView& b)
        {
            return a.kind == b.kind && a.fund.size() == b.fund.size() && a.broker.size() == b.broker.size()
                   && std::equal(a.fund.begin(), a.fund.end(), b.fund.begin())
                   && (a.broker.isEmpty() || a.broker == b.broker);
        }
    };
    [[nodiscard]] static KeyView view(const Key& key) { return {key.account.kind, key.account.broker, key.fund}; }
    [[nodiscard]] static const KeyView& view(const KeyView& key) { return key; }
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& key) const noexcept;
        std::size_t operator()(const Key& key) const noexcept { return (*this)(view(key)); }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const noexcept
        {
            return view(a) == view(b);
        }
    };

    using Holdings = std::unordered_map<Key, Holding, KeyHash, KeyEqual>;
    // Keeps a holding where holdings_.find() looked for it; true when it was inserted.
    bool store(Holdings::iterator at, const KeyView& key, const Holding& holding);
    [[nodiscard]] const Holding& held(Holdings::const_iterator at) const;
    // An event of 特定/一般 posted to whichever of the two holds its fund.
    [[nodiscard]] Outcome<Posted, PostRefusal> postResolved(const Event& event, Trace* trace);
    void closeBefore(int year, std::vector<ClosedYear>& closed);
    [[nodiscard]] ClosedYear settle(const AccountId& account, const AccountYear& year);

    BookOptions options_;
    Holdings holdings_;
    std::vector<std::pair<AccountId, AccountYear>> years_; // the open ones, by account
    QDate last_;
    YearReports reports_;
};

} // namespace ledger
