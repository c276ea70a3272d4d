#pragma once

#include "number_text.h"

#include <QString>

#include <optional>

inline constexpr auto kProgramTitle = "Miroven";

// The missing-input code held as decimal text (the record's ErrNo), read as a number
// and rounded ties to even after taking one off; nothing when it is not a number.
[[nodiscard]] std::optional<int> missingInputCode(const QString& errNo);

// The missing-input message for a box, named by its caption.
[[nodiscard]] QString missingInputText(const QString& caption);

// A box whose text was refused, named by its caption; a whole number out of range is
// told the bounds in force.
[[nodiscard]] QString inputRefusalText(const QString& caption, InputProblem problem,
                                       IntegerRange range);

// A result that does not fit its type, named as the statement names it.
[[nodiscard]] QString figureOverflowText(const QString& figure);
// A whole-number result outside the range in force, with its bounds.
[[nodiscard]] QString figureOutOfRangeText(const QString& figure, IntegerRange range);

// A division by zero or another invalid operation in a calculation.
[[nodiscard]] QString invalidOperationText();
