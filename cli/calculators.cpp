#include "calculators.h"

#include "calc/calculators.h"
#include "calc/distribution/distribution_declaration.h"
#include "calc/outcome_text.h"
#include "calc/purchase/purchase_declaration.h"
#include "calc/redemption/redemption_declaration.h"

#include "core/messages.h"

#include <array>

namespace {

// The command line's grammar is the same whatever the locale: "." and ",".
const NumberFormat kFormat{u'.', u','};

constexpr std::array kPurchaseOptions{
    BoxOption{u"funds", &kPurchaseIM},
    BoxOption{u"nav", &kPurchaseBL},
    BoxOption{u"fee", &kPurchaseFP1},
    BoxOption{u"tax", &kPurchaseFP2, u"10"}, // today's consumption tax
};
constexpr std::array kRedemptionOptions{
    BoxOption{u"principal-nav", &kRedemptionCBL},
    BoxOption{u"nav", &kRedemptionNBL},
    BoxOption{u"units", &kRedemptionOA},
    BoxOption{u"retention", &kRedemptionFee},
};
constexpr std::array kDistributionOptions{
    BoxOption{u"principal-nav", &kDistributionCBL},
    BoxOption{u"nav", &kDistributionNBL},
    BoxOption{u"distribution", &kDistributionDiv, {}, u"分配金: 所有口数全体に出た額（円）"},
    BoxOption{u"units", &kDistributionOA},
};

// Every box of a calculator has exactly one option, so every box can be had from the
// command line and from a CSV column. Boxes are told apart by their missing-input
// codes, which are unique: sanitizer builds do not take address comparisons as constant.
template <std::size_t N>
constexpr bool eachBoxOnce(const std::array<BoxOption, N>& options,
                           const std::array<const BoxDecl*, N>& boxes)
{
    for (const BoxDecl* box : boxes) {
        int found = 0;
        for (const BoxOption& option : options)
            found += option.box->missingCode == box->missingCode ? 1 : 0;
        if (found != 1)
            return false;
    }
    return true;
}
static_assert(eachBoxOnce(kPurchaseOptions, kPurchaseBoxes));
static_assert(eachBoxOnce(kRedemptionOptions, kRedemptionBoxes));
static_assert(eachBoxOnce(kDistributionOptions, kDistributionBoxes));

const std::array<CliCalculator, 3> kCalculators{{
    {u"purchase", u"購入したときの口数と費用", purchaseCalculator(), kPurchaseOptions},
    {u"redemption", u"解約したときの受取額", redemptionCalculator(), kRedemptionOptions},
    {u"distribution", u"分配金の課税と手取り", distributionCalculator(), kDistributionOptions},
}};

// Whether the narrow range is what stopped a calculation: with the wide one it goes
// past the step that failed. Asked only of a calculation that overflowed.
bool stoppedByNarrowRange(const CliCalculator& calculator, const CalcRequest& request,
                          const TaxRules& rules, const CalcFault& fault)
{
    CalcRecord wide;
    wide.range = IntegerRange::wide();
    wide.rules = rules;
    const auto figures = calculator.calculator.calculate(wide, request, kFormat, nullptr);
    return figures || figures.why().step() != fault.step();
}

// The refusal for a fault; beyond the narrow range, the message says how to get past it.
Refusal refusal(const CliCalculator& calculator, const CalcRequest& request, const CalcRecord& record,
                const CalcFault& fault)
{
    static const QString kWideHint = QStringLiteral("（--range wide で広い範囲）");
    QString message = outcomeText(fault, record);
    if (record.range == IntegerRange::narrow()) {
        if (fault.kind() == CalcFault::Kind::InputRefused && fault.problem() == InputProblem::OutOfIntegerRange)
            message += kWideHint;
        else if (fault.kind() == CalcFault::Kind::Overflow
                 && stoppedByNarrowRange(calculator, request, record.rules, fault))
            message = figureOutOfRangeText(fault.figure(), record.range) + kWideHint;
    }
    return {message, fault.step(), fault.figure()};
}

} // namespace

Statement calculate(const CliCalculator& calculator, const CalcRequest& request, IntegerRange range,
                    const TaxRules& rules, Trace* working)
{
    // Each calculation starts from a zeroed record, so no row sees what an earlier one
    // stored.
    CalcRecord record;
    record.range = range;
    record.rules = rules;
    const auto figures = calculator.calculator.calculate(record, request, kFormat, working);
    if (!figures)
        return refusal(calculator, request, record, figures.why());
    return *figures;
}

std::span<const CliCalculator> cliCalculators() { return kCalculators; }

const CliCalculator* findCalculator(QStringView name)
{
    for (const CliCalculator& calculator : kCalculators) {
        if (calculator.name == name)
            return &calculator;
    }
    return nullptr;
}
