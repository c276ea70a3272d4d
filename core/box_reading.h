#pragma once

#include "calc_outcome.h"
#include "number_text.h"

#include <optional>

// Stores a box's converted value in its record field. A refused text leaves the field
// as it was and gives the outcome naming the box (its index in reading order).
template <class T>
[[nodiscard]] std::optional<CalcOutcome> storeBox(T& field, const Parsed<T>& parsed, int box)
{
    if (!parsed.value)
        return CalcOutcome::refused(box, parsed.problem);
    field = *parsed.value;
    return std::nullopt;
}
