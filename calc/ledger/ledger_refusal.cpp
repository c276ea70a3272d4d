#include "ledger_refusal.h"

#include "core/messages.h"

#include <QStringView>

#include <array>
#include <cstddef>

namespace ledger {
namespace {

struct InputName {
    QStringView caption;
    QStringView least; // the least it takes, as a refusal says it
};
constexpr std::array<InputName, 14> kInputs{{
    {u"基準価額", u"0 より大きい値"},
    {u"口数", u"1 以上"},
    {u"金額", u"1 円以上"},
    {u"配当の金額", u"0 以上"},
    {u"手数料", u"0 以上"},
    {u"手数料率(%)", {}},
    {u"分配金(1万口当たり)", u"0 以上"},
    {u"信託財産留保額(%)", {}},
    {u"個別元本", {}},
    {u"個別元本と取得単価", u"0 以上"},
    {u"口数か金額", {}},
    {u"受渡金額", u"1 円以上"},
    {u"解約価額", u"0 より大きい値"},
    {u"元本払戻金(1万口当たり)", u"0 以上"},
}};

const InputName& named(Input input) { return kInputs[static_cast<std::size_t>(input)]; }

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace

QString refusalText(const Refusal& refusal)
{
    const QString caption = named(refusal.input).caption.toString();
    switch (refusal.kind) {
    case RefusalKind::Missing:
        return missingInputText(caption);
    case RefusalKind::TooSmall:
        return QStringLiteral("%1は %2にしてください").arg(caption, named(refusal.input).least);
    case RefusalKind::OutsidePercent:
        return QStringLiteral("%1は 0 から 100 までにしてください").arg(caption);
    case RefusalKind::UnitsWithAmount:
        return QStringLiteral("口数と金額は一緒に指定できません");
    case RefusalKind::FeeWithRate:
        return QStringLiteral("手数料と手数料率は一緒に指定できません");
    case RefusalKind::BuysNothing:
        return QStringLiteral("金額 %1 円では 1 口も買えません").arg(refusal.value);
    case RefusalKind::NothingToDistribute:
        return QStringLiteral("保有口数が 0 のため分配金を受け取れません");
    case RefusalKind::DistributionUnitsDiffer:
        return QStringLiteral("分配の口数 %1 が保有口数 %2 と違います").arg(refusal.value).arg(refusal.held);
    case RefusalKind::NothingToRedeem:
        return QStringLiteral("保有口数が 0 のため解約できません");
    case RefusalKind::NothingToTransfer:
        return QStringLiteral("保有口数が 0 のため払い出せません");
    case RefusalKind::RedeemsMoreThanHeld:
        return QStringLiteral("解約する口数 %1 が保有口数 %2 を超えています").arg(refusal.value).arg(refusal.held);
    case RefusalKind::TransfersMoreThanHeld:
        return QStringLiteral("払い出す口数 %1 が保有口数 %2 を超えています").arg(refusal.value).arg(refusal.held);
    case RefusalKind::GainOutsideSpecified:
        return QStringLiteral("譲渡損益は特定口座だけに記帳できます");
    case RefusalKind::DividendOutsideSpecified:
        return QStringLiteral("配当は特定口座だけに記帳できます");
    case RefusalKind::TransferFromSpecified:
        return QStringLiteral("払出は NISA か旧NISA の保有を特定口座へ移します（口座は NISA か旧NISA）");
    case RefusalKind::BeforeFirstYear:
        return QStringLiteral("%1 年より前の受渡日は計算できません（税の規則が違います）").arg(refusal.value);
    case RefusalKind::BeforeLast:
        return QStringLiteral("受渡日 %1 が前の行の受渡日 %2 より前です").arg(dateText(refusal.date), dateText(refusal.last));
    case RefusalKind::AfterAsOf:
        return QStringLiteral("受渡日 %1 が基準日 %2 より後です").arg(dateText(refusal.date), dateText(refusal.last));
    case RefusalKind::SettlementNeedsUnits:
        return QStringLiteral("手数料率で買った受渡金額からは口数が決まりません。口数を入力してください");
    case RefusalKind::SettlementBelowContract:
        return QStringLiteral("受渡金額 %1 円が約定金額 %2 円より少なくなっています").arg(refusal.value).arg(refusal.held);
    case RefusalKind::FeeNotBelowSettlement:
        return QStringLiteral("手数料 %1 円が受渡金額 %2 円以上です").arg(refusal.value).arg(refusal.held);
    case RefusalKind::FeeDisagrees:
        return QStringLiteral("手数料 %1 円が受渡金額と約定金額の差 %2 円と合いません").arg(refusal.value).arg(refusal.held);
    case RefusalKind::RedemptionPriceWithRetention:
        return QStringLiteral("解約価額と信託財産留保額は一緒に指定できません");
    case RefusalKind::ReturnedAboveDistribution:
        return QStringLiteral("元本払戻金(1万口当たり) %1 が分配金(1万口当たり) %2 を超えています")
            .arg(refusal.value)
            .arg(refusal.held);
    case RefusalKind::HeldInNeither:
        return QStringLiteral("特定口座にも一般口座にもこの銘柄の保有がありません（口座は特定か一般に）");
    case RefusalKind::HeldInBoth:
        return QStringLiteral("この銘柄は特定口座と一般口座の両方にあります（口座は特定か一般に）");
    case RefusalKind::Overflow:
        return figureOverflowText(refusal.figure);
    case RefusalKind::Invalid:
        break;
    }
    return invalidOperationText();
}

} // namespace ledger
