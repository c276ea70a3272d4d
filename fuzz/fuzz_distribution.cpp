// The distribution calculation on arbitrary box texts: it never crashes, a refusal
// leaves the results alone, and a completed one keeps the rules' invariants.
#include "calc/distribution/distribution_calculation.h"
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
    const CalcOutcome<> outcome = runDistribution(record, BoxTexts::inReadingOrder(kDistributionBoxes, t), in.format);

    if (!outcome) {
        if (record.TaxableDiv != before.TaxableDiv || record.Tax != before.Tax)
            violated("a calculation that did not complete changed its results", t);
        if (outcome.why().kind() == CalcFault::Kind::MissingInput
            && !(record.ErrNo == "5" || record.ErrNo == "6" || record.ErrNo == "7" || record.ErrNo == "8"))
            violated("missing input with a code other than 5 to 8", t);
        return 0;
    }

    if (record.Div > 0 && (record.TaxableDiv < 0 || record.TaxableDiv > record.Div))
        violated("the taxable part lies outside 0..distribution", t);
    if ((record.CBL <= record.NBL || record.Div <= 0) && record.TaxableDiv != record.Div)
        violated("a distribution that returns no principal is not wholly taxable", t);
    if (std::abs(record.Tax - record.TaxableDiv * 0.2) > 0.5)
        violated("the tax is not a fifth of the taxable part, to the yen", t);

    const CalcOutcome<DistributionFigures> statement = distributionStatement(record);
    if (!statement)
        violated("a completed calculation whose statement cannot be formed", t);
    if (statement->nonTaxable != record.Div - record.TaxableDiv
        || statement->net != record.Div - record.Tax)
        violated("the statement's differences are wrong", t);
    return 0;
}
