#pragma once

#include "core/number_text.h"

#include <QString>

struct BoxDecl;

// How a calculation ended. The windows turn it into a message or a statement;
// the calculation itself never shows anything. There is no default: every outcome,
// success included, is made by one of the named constructors.
class CalcOutcome {
public:
    enum class Kind {
        Done,         // results are in the record
        MissingInput, // the record's ErrNo holds the code of the first zero field
        InputRefused, // box() held text that problem() describes
        Overflow,     // figure() does not fit its type
        Invalid,      // a division by zero or another invalid floating operation
    };

    [[nodiscard]] static CalcOutcome done() { return CalcOutcome(Kind::Done); }
    [[nodiscard]] static CalcOutcome missingInput() { return CalcOutcome(Kind::MissingInput); }
    [[nodiscard]] static CalcOutcome refused(const BoxDecl& box, InputProblem problem)
    {
        CalcOutcome outcome(Kind::InputRefused);
        outcome.box_ = &box;
        outcome.problem_ = problem;
        return outcome;
    }
    [[nodiscard]] static CalcOutcome overflow(QStringView figure)
    {
        CalcOutcome outcome(Kind::Overflow);
        outcome.figure_ = figure.toString();
        return outcome;
    }
    [[nodiscard]] static CalcOutcome invalid() { return CalcOutcome(Kind::Invalid); }

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] bool isDone() const { return kind_ == Kind::Done; }
    // The refused box's declaration; null unless the kind is InputRefused.
    [[nodiscard]] const BoxDecl* box() const { return box_; }
    [[nodiscard]] InputProblem problem() const { return problem_; }
    // The overflowing figure as the statement names it; empty unless Overflow.
    [[nodiscard]] const QString& figure() const { return figure_; }

private:
    explicit CalcOutcome(Kind kind) : kind_(kind) {}

    Kind kind_;
    const BoxDecl* box_ = nullptr;
    InputProblem problem_ = InputProblem::NotANumber;
    QString figure_;
};

// A statement's figures with the outcome of forming them; the figures are
// meaningful only when the outcome is done.
template <class Figures>
struct Formed {
    CalcOutcome outcome;
    Figures figures{};
};
