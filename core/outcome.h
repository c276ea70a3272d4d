#pragma once

#include <optional>
#include <utility>
#include <variant>

// A value, or why there is none: nothing in between. Parsing a box, reading the
// boxes, a calculation, forming a statement and reading the command line all end
// in one. The value is there only when the outcome converts to true.
template <class T, class Why>
class [[nodiscard]] Outcome {
public:
    Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(Why why) : state_(std::in_place_index<1>, std::move(why)) {}

    [[nodiscard]] explicit operator bool() const { return state_.index() == 0; }
    [[nodiscard]] const T& value() const { return std::get<0>(state_); }
    [[nodiscard]] T& value() { return std::get<0>(state_); }
    [[nodiscard]] const T& operator*() const { return value(); }
    [[nodiscard]] const T* operator->() const { return &value(); }
    [[nodiscard]] const Why& why() const { return std::get<1>(state_); }

    // The value when there is one, whatever the reason when there is not.
    [[nodiscard]] std::optional<T> optional() const
    {
        return *this ? std::optional<T>(value()) : std::nullopt;
    }

private:
    std::variant<T, Why> state_;
};

// Done, or why not: an outcome that carries no value.
template <class Why>
class [[nodiscard]] Outcome<void, Why> {
public:
    Outcome() = default;
    Outcome(Why why) : why_(std::move(why)) {}
    [[nodiscard]] explicit operator bool() const { return !why_; }
    [[nodiscard]] const Why& why() const { return *why_; }

private:
    std::optional<Why> why_;
};
