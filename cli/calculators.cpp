#include "calculators.h"

#include "calc/calculators.h"
#include "calc/distribution/distribution_declaration.h"
#include "calc/outcome_text.h"
#include "calc/purchase/purchase_declaration.h"
#include "calc/redemption/redemption_declaration.h"

#include "core/messages.h"

#include <array>
#include <utility>

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

// The message for a fault; beyond the narrow range, it says how to get past it.
QString refusalText(const CalcFault& fault, const CalcRecord& record)
{
    static const QString kWideHint = QStringLiteral("（--range wide で広い範囲）");
    if (record.range == IntegerRange::narrow()) {
        if (fault.kind() == CalcFault::Kind::InputRefused && fault.problem() == InputProblem::OutOfIntegerRange)
            return outcomeText(fault, record) + kWideHint;
        if (fault.kind() == CalcFault::Kind::Overflow && fault.withinWideRange())
            return figureOutOfRangeText(fault.figure(), record.range) + kWideHint;
    }
    return outcomeText(fault, record);
}

// What a refusal's message depends on, and nothing else.
struct RefusalKind {
    CalcFault::Kind kind;
    const BoxDecl* box;
    InputProblem problem;
    bool withinWideRange;
    IntegerRange range;
    QString figure; // for a missing input, its code (the record's ErrNo)

    friend bool operator==(const RefusalKind&, const RefusalKind&) = default;
};

// The refusal for a fault. Its message is formed the first time its kind of refusal is
// met and kept: a batch refuses rows for a handful of reasons, each many times.
Refusal refusal(const CalcRecord& record, const CalcFault& fault)
{
    thread_local QList<std::pair<RefusalKind, QString>> formed;
    RefusalKind kind{fault.kind(), fault.box(), fault.problem(), fault.withinWideRange(), record.range,
                     fault.kind() == CalcFault::Kind::MissingInput ? record.ErrNo : fault.figure()};
    for (const auto& [seen, message] : formed) {
        if (seen == kind)
            return {message, fault.step(), fault.figure()};
    }
    formed.append({std::move(kind), refusalText(fault, record)});
    return {formed.constLast().second, fault.step(), fault.figure()};
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
        return refusal(record, figures.why());
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
