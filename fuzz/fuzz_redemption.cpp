// The redemption calculation on arbitrary box texts: it never crashes, a refusal
// leaves the results alone, and a completed one keeps the rules' invariants.
#include "calc/redemption/redemption_calculation.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInput in = splitFuzzInput(data, size, 4);
    const QStringList& t = in.texts;
    CalcRecord record = markedRecord();
    record.range = in.range;
    const CalcRecord before = record;
    const CalcOutcome<> outcome = runRedemption(record, BoxTexts::inReadingOrder(kRedemptionBoxes, t), in.format);

    if (!outcome) {
        if (record.Fee != before.Fee || record.Tax != before.Tax || record.Cash != before.Cash)
            violated("a calculation that did not complete changed its results", t);
        if (outcome.why().kind() == CalcFault::Kind::MissingInput
            && !(record.ErrNo == "9" || record.ErrNo == "10" || record.ErrNo == "11"))
            violated("missing input with a code other than 9, 10 or 11", t);
        return 0;
    }

    const double valuation = *worthOf(record.NBL, record.OA, record.range);
    const double retention = valuation * record.RetentionPercent / 100.0;
    if (std::abs(record.Fee - retention) > 0.5)
        violated("the retention is not the rate's share of the valuation, to the yen", t);
    if (record.Tax < 0)
        violated("a negative tax", t);
    if (record.NBL <= record.CBL && record.Tax != 0)
        violated("tax without a rise in the NAV", t);
    const double expectedCash = valuation - record.Tax - record.Fee;
    const double slack = 0.00005 + std::abs(expectedCash) * 1e-15;
    if (std::abs(record.Cash.toDouble() - expectedCash) > slack)
        violated("cash is not valuation - tax - retention", t);

    const CalcOutcome<RedemptionFigures> statement = redemptionStatement(record);
    if (!statement)
        violated("a completed calculation whose statement cannot be formed", t);
    const auto shownValuation = static_cast<double>(statement->valuation);
    if (shownValuation > valuation || shownValuation + 1 <= valuation - 1e-6)
        violated("the valuation shown is not the valuation floored", t);
    if (statement->cash != record.Cash.floorWhole())
        violated("the cash shown is not the cash floored", t);
    return 0;
}
