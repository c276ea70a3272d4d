#pragma once

#include "number_text.h"

#include <QString>

// How a calculation ended. The windows turn it into a message or a statement;
// the calculation itself never shows anything.
struct CalcOutcome {
    enum class Kind {
        Done,         // results are in the record
        MissingInput, // the record's ErrNo holds the code of the first zero field
        InputRefused, // box `box` (index in reading order) held `problem`
        Overflow,     // `figure` does not fit its type
        Invalid,      // a division by zero or another invalid floating operation
    };

    Kind kind = Kind::Done;
    int box = -1;
    InputProblem problem = InputProblem::NotANumber;
    QString figure;

    static CalcOutcome done() { return {}; }
    static CalcOutcome missingInput() { return {Kind::MissingInput, -1, {}, {}}; }
    static CalcOutcome refused(int box, InputProblem problem) { return {Kind::InputRefused, box, problem, {}}; }
    static CalcOutcome overflow(const QString& figure) { return {Kind::Overflow, -1, {}, figure}; }
    static CalcOutcome invalid() { return {Kind::Invalid, -1, {}, {}}; }
};
