#include "broker_conventions.h"

namespace broker {

QString applyConventions(const std::vector<std::optional<Layout>>& layouts, const QStringList& given,
                         ledger::Roundings& roundings)
{
    std::optional<ledger::Rounding> distribution;
    bool distributionsAgree = true;
    bool brokerUnits = true;
    bool anyLayout = false;
    for (const std::optional<Layout>& layout : layouts) {
        if (!layout)
            continue;
        const LayoutDecl& decl = layoutDecl(*layout);
        anyLayout = true;
        brokerUnits = brokerUnits && decl.brokerUnits;
        if (decl.distributionRounding) {
            distributionsAgree = distributionsAgree && (!distribution || distribution == decl.distributionRounding);
            distribution = decl.distributionRounding;
        }
    }
    if (!anyLayout)
        return QString();
    QStringList used;
    if (given.contains(u"distribution-rounding"))
        used.append(QStringLiteral("分配金の端数はオプションのとおり"));
    else if (distribution && distributionsAgree) {
        roundings.distribution = *distribution;
        used.append(*distribution == ledger::Rounding::HalfUp
                        ? QStringLiteral("分配金の端数は四捨五入（--distribution-rounding nearest）")
                        : QStringLiteral("分配金の端数は切り捨て（--distribution-rounding down）"));
    } else {
        used.append(distributionsAgree ? QStringLiteral("分配金の端数は既定の切り捨て（ファイルからはわかりません）")
                                       : QStringLiteral("分配金の端数は既定の切り捨て（証券会社ごとに違います）"));
    }
    if (given.contains(u"units-rounding"))
        used.append(QStringLiteral("金額指定の買付の口数はオプションのとおり"));
    else if (brokerUnits) {
        roundings.brokerUnits = true;
        used.append(QStringLiteral("金額指定の買付の口数は証券会社の方法（--units-rounding broker）"));
    } else {
        used.append(QStringLiteral("金額指定の買付の口数は既定の切り上げ"));
    }
    return QStringLiteral("証券会社の慣行: ") + used.join(QStringLiteral("、"));
}

} // namespace broker
