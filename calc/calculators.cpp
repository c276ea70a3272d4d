#include "calculators.h"

#include "distribution/distribution_calculation.h"
#include "purchase/purchase_calculation.h"
#include "redemption/redemption_calculation.h"

namespace {

struct Purchase {
    static constexpr const InputWindowDecl& inputs = kPurchaseWindow;
    static constexpr const StatementDecl<PurchaseFigures>& statement(RuleSet) { return kPurchaseStatement; }
    static constexpr const OptionDecl* option = &kFeeCoverageOption;
    static CalcOutcome<PurchaseFigures> calculate(CalcRecord& record, const CalcRequest& request,
                                                  const NumberFormat& format, Trace* trace)
    {
        return calculatePurchase(record, request.texts, request.optionSelected, format, trace);
    }
};

struct Redemption {
    static constexpr const InputWindowDecl& inputs = kRedemptionWindow;
    static constexpr auto& statement = redemptionStatementDecl;
    static constexpr const OptionDecl* option = nullptr;
    static CalcOutcome<RedemptionFigures> calculate(CalcRecord& record, const CalcRequest& request,
                                                    const NumberFormat& format, Trace* trace)
    {
        return calculateRedemption(record, request.texts, format, trace);
    }
};

struct Distribution {
    static constexpr const InputWindowDecl& inputs = kDistributionWindow;
    static constexpr auto& statement = distributionStatementDecl;
    static constexpr const OptionDecl* option = nullptr;
    static CalcOutcome<DistributionFigures> calculate(CalcRecord& record,
                                                      const CalcRequest& request,
                                                      const NumberFormat& format, Trace* trace)
    {
        return calculateDistribution(record, request.texts, format, trace);
    }
};

} // namespace

const Calculator& purchaseCalculator()
{
    static const CalculatorOf<Purchase> calculator;
    return calculator;
}

const Calculator& redemptionCalculator()
{
    static const CalculatorOf<Redemption> calculator;
    return calculator;
}

const Calculator& distributionCalculator()
{
    static const CalculatorOf<Distribution> calculator;
    return calculator;
}

std::array<const Calculator*, 3> calculators()
{
    return {&purchaseCalculator(), &redemptionCalculator(), &distributionCalculator()};
}
