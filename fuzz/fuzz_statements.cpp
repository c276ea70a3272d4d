// The three statements formed from any record at all: never a crash, a figure only
// when it fits, and a refusal that names a figure that really does not fit.
#include "calc/distribution/distribution_calculation.h"
#include "calc/purchase/purchase_calculation.h"
#include "calc/redemption/redemption_calculation.h"
#include "core/integer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void violated(const char* rule)
{
    std::fprintf(stderr, "violated: %s\n", rule);
    std::abort();
}

template <class T>
T take(const std::uint8_t*& data, std::size_t& size)
{
    T value{};
    const std::size_t n = std::min(sizeof(T), size);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

bool fits(std::int64_t v) { return v >= kIntegerMin && v <= kIntegerMax; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CalcRecord r;
    const bool option = take<std::uint8_t>(data, size) & 1;
    r.IM = take<Integer>(data, size);
    r.Fee = take<Integer>(data, size);
    r.BL = take<Integer>(data, size);
    r.OA = Currency::fromRaw(take<std::int64_t>(data, size));
    r.NBL = take<Integer>(data, size);
    r.CBL = take<Integer>(data, size);
    r.Tax = take<Integer>(data, size);
    r.Cash = Currency::fromRaw(take<std::int64_t>(data, size));
    r.Div = take<Integer>(data, size);
    r.TaxableDiv = take<Integer>(data, size);

    const Formed<PurchaseFigures> purchase = purchaseStatement(r, option);
    const bool amountFits = multiply(r.BL, r.OA).has_value();
    const bool totalFits = option || fits(std::int64_t{r.IM} + r.Fee);
    if ((purchase.outcome.kind() == CalcOutcome::Kind::Done) != (amountFits && totalFits))
        violated("purchase statement formed exactly when its figures fit");
    if (purchase.outcome.kind() == CalcOutcome::Kind::Done
        && (purchase.figures.units != r.OA.floorWhole()
            || purchase.figures.total != (option ? r.IM : r.IM + r.Fee)))
        violated("purchase statement figures");

    const Formed<RedemptionFigures> redemption = redemptionStatement(r);
    const bool valuationFits = multiply(r.NBL, r.OA).has_value();
    if (redemption.outcome.isDone() != valuationFits)
        violated("redemption statement formed exactly when the valuation fits");
    if (valuationFits && redemption.figures.cash != r.Cash.floorWhole())
        violated("redemption cash shown is not the cash floored");

    const Formed<DistributionFigures> distribution = distributionStatement(r);
    const bool differencesFit = fits(std::int64_t{r.Div} - r.TaxableDiv) && fits(std::int64_t{r.Div} - r.Tax);
    if (distribution.outcome.isDone() != differencesFit)
        violated("distribution statement formed exactly when its differences fit");
    if (distribution.outcome.isDone()
        && distribution.figures.principalAfter != std::min(r.CBL, r.NBL))
        violated("the principal NAV afterwards is not the smaller NAV");
    return 0;
}
