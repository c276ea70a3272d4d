#pragma once

#include "number_text.h"

#include <QString>

inline constexpr auto kProgramTitle = "Miroven";

// The field captions the missing-input message names, by code 1..12.
[[nodiscard]] QString missingInputCaption(int code);

// The missing-input message for the code held as decimal text (the record's ErrNo);
// empty when the text names no code from 1 to 12.
[[nodiscard]] QString missingInputText(const QString& errNo);

// A box whose text was refused, named by its caption.
[[nodiscard]] QString inputRefusalText(const QString& caption, InputProblem problem);

// A result that does not fit its type, named as the statement names it.
[[nodiscard]] QString figureOverflowText(const QString& figure);

// A division by zero or another invalid operation in a calculation.
[[nodiscard]] QString invalidOperationText();
