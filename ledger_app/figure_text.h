#pragma once

#include <QString>

#include <cstdint>

// Figures as the window shows them: thousands separated, negatives with "-". A price is
// held to 0.0001 yen (Currency's raw value) and shown as the command line writes it:
// whole yen bare, otherwise two decimals, or four when finer.
[[nodiscard]] QString groupedWhole(std::int64_t value);
[[nodiscard]] QString groupedPrice(std::int64_t raw);
