#pragma once

#include "cell_cache.h"

#include "core/integer.h"
#include "core/outcome.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Cells as the brokers print them, read from the bytes where they are plain ASCII (the
// usual case), so that a long history is read without a conversion per cell.

namespace broker {

// A cell's text, for the few cells that are not plain ASCII: decoded by the caller.
using DecodeCell = std::function<QString()>;

// A figure: "1,013,171", 30000, " 12 ", "50.00" (whole, as a fraction of zeros), full-width
// forms. Nothing for a blank cell, "-" or "--"; a text for anything else that is not a
// whole number within ±(2^53 − 1).
enum class FigureProblem { NotANumber, Fraction, TooLarge };
[[nodiscard]] Outcome<std::optional<Integer>, FigureProblem> figureCell(QByteArrayView cell,
                                                                         const DecodeCell& decode);

// An amount with the points that paid part of it: "5,000(493)" is 5,000 of which 493 in
// points; "5,000" has no points.
struct PaidAmount {
    std::optional<Integer> amount;
    std::optional<Integer> points;
};
[[nodiscard]] Outcome<PaidAmount, FigureProblem> paidAmountCell(QByteArrayView cell, const DecodeCell& decode);

// A date: 2024/1/5, 2024/01/05, 2024-01-05 or 2024年1月5日 (full-width forms too); nothing otherwise.
[[nodiscard]] std::optional<QDate> dateCell(QByteArrayView cell, const DecodeCell& decode);

// A date in ASCII, YYYY-MM-DD or YYYY/M/D: an invalid date when the form is right but no
// such day exists (so that a refusal can say which), nothing when the form is wrong.
[[nodiscard]] std::optional<QDate> dayCell(QByteArrayView cell);

using ::CellCache;

} // namespace broker
