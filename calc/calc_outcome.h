#pragma once

#include "core/number_text.h"
#include "core/outcome.h"
#include "core/worksheet.h"

#include <QString>

struct BoxDecl;

// Why a calculation did not complete. The windows turn it into a message; the
// calculation itself never shows anything.
class CalcFault {
public:
    enum class Kind {
        MissingInput, // the record's ErrNo holds the code of the first zero field
        InputRefused, // box() held text that problem() describes
        Overflow,     // figure() does not fit its type
        Invalid,      // a division by zero or another invalid floating operation
    };

    [[nodiscard]] static CalcFault missingInput() { return CalcFault(Kind::MissingInput); }
    [[nodiscard]] static CalcFault refused(const BoxDecl& box, InputProblem problem)
    {
        CalcFault fault(Kind::InputRefused);
        fault.box_ = &box;
        fault.problem_ = problem;
        return fault;
    }
    [[nodiscard]] static CalcFault invalid() { return CalcFault(Kind::Invalid); }
    // The first step of a worksheet that went wrong.
    [[nodiscard]] static CalcFault failedStep(const StepFailure& failure)
    {
        CalcFault fault(failure.fault == TermFault::Invalid ? Kind::Invalid : Kind::Overflow);
        fault.figure_ = failure.figure;
        fault.step_ = failure.step;
        fault.withinWideRange_ = failure.fault == TermFault::BeyondRange;
        return fault;
    }

    [[nodiscard]] Kind kind() const { return kind_; }
    // The refused box's declaration; null unless the kind is InputRefused.
    [[nodiscard]] const BoxDecl* box() const { return box_; }
    [[nodiscard]] InputProblem problem() const { return problem_; }
    // The figure the failing step belongs to, as the statement names it; empty for a
    // missing or refused input.
    [[nodiscard]] const QString& figure() const { return figure_; }
    // The caption of the step that failed; empty unless a calculation step failed.
    [[nodiscard]] const QString& step() const { return step_; }
    // Whether the wide range would get past the step that failed: only the range in
    // force refused its figure. False unless the kind is Overflow.
    [[nodiscard]] bool withinWideRange() const { return withinWideRange_; }

private:
    explicit CalcFault(Kind kind) : kind_(kind) {}

    Kind kind_;
    const BoxDecl* box_ = nullptr;
    InputProblem problem_ = InputProblem::NotANumber;
    QString figure_;
    QString step_;
    bool withinWideRange_ = false;
};

// A calculation's result, or why there is none.
template <class T = void>
using CalcOutcome = Outcome<T, CalcFault>;

// What a worksheet came to: `value` when every step went right, else its first failure.
template <class T>
[[nodiscard]] CalcOutcome<T> checked(const Worksheet& sheet, T value)
{
    if (const auto& failure = sheet.failure())
        return CalcFault::failedStep(*failure);
    return value;
}
[[nodiscard]] inline CalcOutcome<> checked(const Worksheet& sheet)
{
    if (const auto& failure = sheet.failure())
        return CalcFault::failedStep(*failure);
    return {};
}
