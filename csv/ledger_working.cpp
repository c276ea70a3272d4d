#include "ledger_working.h"

#include "ledger_figures.h"

#include "calc/ledger/ledger_declaration.h"

namespace {

QString withSteps(const QString& input, const QStringList& steps)
{
    QString text = input;
    for (const QString& step : steps)
        text += step + u'\n';
    return text;
}

} // namespace

QString postedRowWorking(const QString& input, const QStringList& steps, const ledger::Event& event,
                         const ledger::Posted& posted)
{
    QString text = withSteps(input, steps) + QStringLiteral("【明細】\n");
    std::size_t at = 0;
    writeLedgerFigures(event, posted, [&](QByteArrayView figure) {
        if (!figure.isEmpty())
            text += ledger::kFigures[at].caption.toString() + QStringLiteral(" = ") + QString::fromLatin1(figure) + u'\n';
        ++at;
    });
    return text + u'\n';
}

QString refusedRowWorking(const QString& input, const QStringList& steps, const QString& refusal)
{
    return withSteps(input, steps) + QStringLiteral("断りました: %1\n\n").arg(refusal);
}

QString settlementWorking(const ledger::AccountYear& year, bool dividendNetting, bool provisional)
{
    Trace working;
    (void)ledger::settleYear(year, dividendNetting, &working);
    if (working.steps().isEmpty())
        return QString();
    const QStringView event = provisional ? ledger::kProvisionalSettlementEvent : ledger::kSettlementEvent;
    return QStringLiteral("【%1 年の%2】\n").arg(year.year).arg(event) + working.steps().join(u'\n') + QStringLiteral("\n\n");
}
