#pragma once

#include "core/currency.h"
#include "core/integer.h"
#include "core/outcome.h"

#include <QString>
#include <QStringView>

#include <optional>

// Cells as brokers and fund companies print them in their downloads: figures with
// thousands separators, in full-width forms, and "-" or "--" for nothing. `caption` names
// the column in the reasons.

template <class T>
using PrintedCell = Outcome<std::optional<T>, QString>;

// Whole yen or units: nothing when the cell is blank, "-" or "--".
[[nodiscard]] PrintedCell<Integer> printedWhole(const QString& cell, QStringView caption);
// A price per 10,000 units to 0.01 yen.
[[nodiscard]] PrintedCell<Currency> printedCents(const QString& cell, QStringView caption);

// A reason about one line of a file, as a refusal gives it.
[[nodiscard]] QString atLineOf(const QString& source, qint64 line, const QString& problem);
