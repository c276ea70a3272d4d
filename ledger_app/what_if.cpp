#include "what_if.h"

#include "csv/cell_text.h"

#include "core/number_text.h"

using namespace ledger;

namespace {

// A typed figure with at most `places` decimals, as a Currency; or why not.
Outcome<std::optional<Currency>, QString> typed(const QString& text, bool percentage, int places,
                                                const QString& caption)
{
    const QString cell = figureCell(text.trimmed(), percentage);
    if (cell.isEmpty())
        return std::optional<Currency>();
    const Parsed<Currency> parsed = parseCurrency(cell, NumberFormat{});
    if (!parsed) {
        if (parsed.why() == InputProblem::TooLarge)
            return QStringLiteral("%1の数値が大きすぎます").arg(caption);
        return QStringLiteral("%1には数値を入力してください").arg(caption);
    }
    std::int64_t step = Currency::kScale;
    for (int i = 0; i < places; ++i)
        step /= 10;
    if (parsed->raw() % step != 0)
        return places == 0 ? QStringLiteral("%1は整数で入力してください").arg(caption)
                           : QStringLiteral("%1は小数第%2位までで入力してください").arg(caption).arg(places);
    if (parsed->raw() < 0)
        return QStringLiteral("%1には 0 以上の数値を入力してください").arg(caption);
    return std::optional<Currency>(*parsed);
}

} // namespace

WhatIf redeemWholeHolding(const Book& book, const QString& fund, const AccountId& account, const QString& navText,
                          const QString& retentionText, const QDate& date)
{
    WhatIf result;
    const auto nav = typed(navText, false, 0, QStringLiteral("基準価額"));
    const auto retention = typed(retentionText, true, 3, QStringLiteral("信託財産留保額(%)"));
    if (!nav || !retention) {
        result.problem = !nav ? nav.why() : retention.why();
        return result;
    }
    if (!*nav)
        return result; // nothing typed yet: nothing to show, nothing wrong

    const Holding& holding = book.holding(fund, account);
    const Integer navYen = nav.value()->raw() / Currency::kScale;
    const __int128 worth = static_cast<__int128>(holding.units) * navYen / 10000;
    if (worth > std::numeric_limits<Integer>::max()) {
        result.problem = QStringLiteral("評価額が計算できる範囲を超えています");
        return result;
    }
    result.valuation = Integer(worth);

    Event event;
    event.date = book.lastDate().isValid() && book.lastDate() > date ? book.lastDate() : date;
    event.fund = fund;
    event.account = account.kind;
    event.broker = account.broker;
    event.kind = EventKind::Redemption;
    event.nav = navYen;
    if (*retention)
        event.retention = DecimalRate{retention.value()->raw() / 10};
    Book copy = book;
    const Outcome<Posted, PostRefusal> posted = copy.post(event);
    if (!posted) {
        result.problem = refusalText(posted.why());
        return result;
    }
    result.figures = posted->figures;
    if (result.figures.acquisitionCost)
        result.unrealised = *result.valuation - *result.figures.acquisitionCost;
    return result;
}
