#pragma once

#include "currency.h"
#include "exact.h"
#include "integer.h"

#include <cstdint>
#include <limits>
#include <optional>

// How a figure of 64 bits is held raw, for CompactOptional.
template <class T>
struct CompactRaw;
template <>
struct CompactRaw<std::int64_t> {
    static constexpr std::int64_t raw(std::int64_t value) { return value; }
    static constexpr std::int64_t value(std::int64_t raw) { return raw; }
};
template <>
struct CompactRaw<Currency> {
    static constexpr std::int64_t raw(Currency value) { return value.raw(); }
    static constexpr Currency value(std::int64_t raw) { return Currency::fromRaw(raw); }
};
template <>
struct CompactRaw<DecimalRate> {
    static constexpr std::int64_t raw(DecimalRate value) { return value.milliPercent; }
    static constexpr DecimalRate value(std::int64_t raw) { return {raw}; }
};

// A figure that may be missing, in 8 bytes rather than std::optional's 16: the one raw
// value no figure takes (the least 64-bit number, far beyond every range the ledger
// reads) stands for none. Kept where a million rows each hold a dozen figures; reads and
// writes like std::optional.
template <class T>
class CompactOptional {
public:
    constexpr CompactOptional() = default;
    constexpr CompactOptional(std::nullopt_t) {}
    constexpr CompactOptional(T value) : raw_(CompactRaw<T>::raw(value)) {}
    constexpr CompactOptional(const std::optional<T>& value)
        : raw_(value ? CompactRaw<T>::raw(*value) : kNone)
    {
    }

    constexpr operator std::optional<T>() const
    {
        return has_value() ? std::optional<T>(CompactRaw<T>::value(raw_)) : std::nullopt;
    }

    [[nodiscard]] constexpr bool has_value() const { return raw_ != kNone; }
    constexpr explicit operator bool() const { return has_value(); }
    [[nodiscard]] constexpr T operator*() const { return CompactRaw<T>::value(raw_); }
    // For `figure->member`: the value lives as long as the expression.
    struct Arrow {
        T held;
        constexpr const T* operator->() const { return &held; }
    };
    [[nodiscard]] constexpr Arrow operator->() const { return {**this}; }
    [[nodiscard]] constexpr T value() const { return std::optional<T>(*this).value(); }
    [[nodiscard]] constexpr T value_or(T otherwise) const { return has_value() ? **this : otherwise; }
    constexpr void reset() { raw_ = kNone; }

    friend constexpr bool operator==(const CompactOptional& a, const CompactOptional& b) = default;
    friend constexpr bool operator==(const CompactOptional& a, std::nullopt_t) { return !a.has_value(); }
    friend constexpr bool operator==(const CompactOptional& a, const std::optional<T>& b)
    {
        return a == CompactOptional(b);
    }

private:
    static constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();
    std::int64_t raw_ = kNone;
};
