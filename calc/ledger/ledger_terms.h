#pragma once

#include "core/exact.h"
#include "core/worksheet.h"

// The exact operations a holding's ledger needs beyond the worksheet's own: products of
// units and per-10,000-unit prices held without rounding, averages per 10,000 units,
// and each rounding named where it happens. A result beyond ±(2^53 − 1) yen or units
// is an overflow.

namespace ledger {

using ::Rounding;

// The largest whole number of yen or units the ledger holds: 2^53 − 1.
inline constexpr Integer kLargest = IntegerRange::wide().max;

// A price per 10,000 units is rounded to the yen or to 0.01 yen.
enum class PriceStep { Yen, Cent };

// A whole NAV or distribution per 10,000 units as a price (to meet 個別元本 and 取得単価).
[[nodiscard]] Term<Currency> asPrice(const Term<Integer>& yen);
// units × price ÷ 10,000, exact.
[[nodiscard]] Term<ExactYen> worth(const Term<Integer>& units, const Term<Currency>& price);
// A sum of exact amounts; an amount in whole yen joins as itself.
[[nodiscard]] Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<ExactYen>& b);
[[nodiscard]] Term<ExactYen> operator+(const Term<ExactYen>& a, const Term<Integer>& yen);
// NAV less `rate` of it, exact: the 解約価額 of a NAV with a 信託財産留保額.
[[nodiscard]] Term<ExactYen> lessShare(const Term<Integer>& nav, DecimalRate rate);
// `rate` of a NAV, rounded to the yen: the 信託財産留保額 per 10,000 units as a fund rounds it.
[[nodiscard]] Term<Integer> shareOf(const Term<Integer>& nav, DecimalRate rate, Rounding rounding);
// Whole yen as an exact amount.
[[nodiscard]] Term<ExactYen> exactly(const Term<Integer>& yen);
// An exact amount to whole yen.
[[nodiscard]] Term<Integer> toYen(const Term<ExactYen>& amount, Rounding rounding);
// price × units ÷ 10,000 to whole yen, down (切り捨て), for a price held exactly.
[[nodiscard]] Term<Integer> worthDown(const Term<ExactYen>& price, const Term<Integer>& units);
// An amount on `units` per 10,000 units (amount × 10,000 ÷ units), rounded to the step.
[[nodiscard]] Term<Currency> perTenThousand(const Term<ExactYen>& amount, const Term<Integer>& units,
                                            Rounding rounding, PriceStep step);
// The units `amount` yen buy at `nav` per 10,000 units (amount × 10,000 ÷ nav), rounded.
[[nodiscard]] Term<Integer> unitsFor(const Term<Integer>& amount, const Term<Integer>& nav,
                                     Rounding rounding);
// max(0, value), for prices and whole yen.
[[nodiscard]] Term<Currency> atLeastZero(const Term<Currency>& value);
[[nodiscard]] Term<Integer> atLeastZero(const Term<Integer>& value);
// −value.
[[nodiscard]] Term<Integer> negated(const Term<Integer>& value);

} // namespace ledger
