// The purchase calculation and its statement on arbitrary box texts and both states of
// the option: no crash, a refusal leaves the results alone, and a completed one keeps
// the rules' invariants.
#include "calc/purchase/purchase_calculation.h"
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
    const CalcOutcome<> outcome = runPurchase(record, BoxTexts::inReadingOrder(kPurchaseBoxes, t), in.option, in.format);

    if (record.FeeCovered != before.FeeCovered)
        violated("the calculation touched the option's memory", t);
    if (!outcome) {
        if (record.Rate != before.Rate || record.Fee != before.Fee || record.OA != before.OA)
            violated("a calculation that did not complete changed its results", t);
        if (outcome.why().kind() == CalcFault::Kind::MissingInput
            && !(record.ErrNo == "1" || record.ErrNo == "2" || record.ErrNo == "3"))
            violated("missing input with a code other than 1, 2 or 3", t);
        return 0;
    }

    if (!in.option && record.Rate != 1.0)
        violated("the cost factor is not 1 with the fee on top", t);
    const double principal = record.IM / record.Rate;
    const double feeValue = in.option ? record.IM - principal
                                      : (record.FP1 / 100 * record.FP2 / 100 + record.FP1 / 100) * record.IM;
    if (std::abs(record.Fee - feeValue) > 0.5)
        violated("the fee is not the fee value to the yen", t);

    const CalcOutcome<PurchaseFigures> statement = purchaseStatement(record, in.option);
    if (!statement) {
        // The units' worth is formed first; in the narrow range NAV x units can leave
        // the Currency range even when the funds fit.
        const bool amountFits = worthOf(record.BL, record.OA, record.range).has_value();
        const bool totalFits = in.option || record.range.contains(record.IM + record.Fee);
        const QString expected = !amountFits ? QStringLiteral("金額")
                                 : !totalFits ? QStringLiteral("総投資額")
                                              : QString();
        if (statement.why().kind() != CalcFault::Kind::Overflow
            || statement.why().figure() != expected)
            violated("a statement refused for the wrong reason", t);
        return 0;
    }
    const PurchaseFigures& f = *statement;
    if (f.units != record.OA.floorWhole() || static_cast<double>(f.units) > record.OA.toDouble())
        violated("the units shown exceed the units bought", t);
    if (f.total != (in.option ? record.IM : record.IM + record.Fee))
        violated("the total is not the funds (fee included) or funds plus fee", t);
    if (f.fee != record.Fee)
        violated("the fee shown is not the fee", t);
    const double worth = *worthOf(record.BL, record.OA, record.range);
    if (static_cast<double>(f.amount) > worth || static_cast<double>(f.amount) + 1 <= worth - 1e-6)
        violated("the amount is not the units' worth floored", t);
    return 0;
}
