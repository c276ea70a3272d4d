// The three statements formed from any record at all: never a crash, a figure only
// when it fits, and a refusal that names a figure that really does not fit.
#include "calc/distribution/distribution_calculation.h"
#include "calc/purchase/purchase_calculation.h"
#include "calc/redemption/redemption_calculation.h"
#include "core/integer.h"
#include "fuzz_check.h"

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

// Any 64-bit value folded into the range, as a calculation would have stored it.
Integer takeInteger(const std::uint8_t*& data, std::size_t& size, IntegerRange range)
{
    const auto span = static_cast<std::uint64_t>(range.max - range.min) + 1;
    return range.min + static_cast<Integer>(take<std::uint64_t>(data, size) % span);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CalcRecord r;
    const auto flags = take<std::uint8_t>(data, size);
    const bool option = flags & 1;
    r.range = (flags & 2) != 0 ? IntegerRange::wide() : IntegerRange::narrow();
    r.IM = takeInteger(data, size, r.range);
    r.Fee = takeInteger(data, size, r.range);
    r.BL = takeInteger(data, size, r.range);
    r.OA = Currency::fromRaw(take<std::int64_t>(data, size));
    r.NBL = takeInteger(data, size, r.range);
    r.CBL = takeInteger(data, size, r.range);
    r.Tax = takeInteger(data, size, r.range);
    r.Cash = Currency::fromRaw(take<std::int64_t>(data, size));
    r.Div = takeInteger(data, size, r.range);
    r.TaxableDiv = takeInteger(data, size, r.range);

    const CalcOutcome<PurchaseFigures> purchase = purchaseStatement(r, option);
    const bool amountFits = worthOf(r.BL, r.OA, r.range).has_value();
    const bool totalFits = option || r.range.contains(r.IM + r.Fee);
    if (bool(purchase) != (amountFits && totalFits))
        violated("purchase statement formed exactly when its figures fit");
    if (purchase
        && (purchase->units != r.OA.floorWhole()
            || purchase->total != (option ? r.IM : r.IM + r.Fee)))
        violated("purchase statement figures");

    const CalcOutcome<RedemptionFigures> redemption = redemptionStatement(r);
    const bool valuationFits = worthOf(r.NBL, r.OA, r.range).has_value();
    if (bool(redemption) != valuationFits)
        violated("redemption statement formed exactly when the valuation fits");
    if (valuationFits && redemption->cash != r.Cash.floorWhole())
        violated("redemption cash shown is not the cash floored");

    const CalcOutcome<DistributionFigures> distribution = distributionStatement(r);
    const bool differencesFit = r.range.contains(r.Div - r.TaxableDiv) && r.range.contains(r.Div - r.Tax);
    if (bool(distribution) != differencesFit)
        violated("distribution statement formed exactly when its differences fit");
    if (bool(distribution)
        && distribution->principalAfter != std::min(r.CBL, r.NBL))
        violated("the principal NAV afterwards is not the smaller NAV");
    return 0;
}
