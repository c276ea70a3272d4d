#pragma once

#include "integer.h"

#include <cstdint>
#include <optional>

// A number of units or an amount of cash: the value times 10,000 in 64 bits, so
// exactly four decimal places.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t raw) { return Currency(raw); }

    // Rounded to four decimals, ties to even; nothing when NaN, infinite or out of range.
    [[nodiscard]] static std::optional<Currency> fromDouble(double value);

    [[nodiscard]] constexpr std::int64_t raw() const { return raw_; }
    [[nodiscard]] double toDouble() const { return static_cast<double>(raw_) / 10000.0; }
    [[nodiscard]] constexpr bool isZero() const { return raw_ == 0; }

    // Greatest whole number not above the value (-9694.6195 gives -9695).
    [[nodiscard]] std::int64_t floorWhole() const;

    friend constexpr bool operator==(Currency, Currency) = default;

private:
    constexpr explicit Currency(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};

// Integer times Currency, exact; nothing when the product leaves the Currency range.
[[nodiscard]] std::optional<Currency> multiply(Integer factor, Currency value);
