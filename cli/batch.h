#pragma once

#include "core/fund_rules.h"
#include "core/integer.h"

#include <QString>

class QIODevice;
struct CliCalculator;

struct BatchResult {
    enum class Kind {
        AllCalculated,
        SomeRefused, // at least one row holds a message instead of figures
        Unreadable,  // the input is not CSV the batch can read; problem() says why
        WriteFailed,
    };
    Kind kind = Kind::AllCalculated;
    QString problem;
};

// Reads CSV with a header row from `input` and writes, row for row as it reads them,
// each input row as read followed by the statement's figures and a message column.
// Input columns are found by the boxes' field names; the others are carried through.
// A refused row is written with its message and empty figures, and the batch goes on;
// input that cannot be read stops it after the rows already written.
[[nodiscard]] BatchResult runBatch(const CliCalculator& calculator, IntegerRange range,
                                   const TaxRules& rules, QIODevice& input, QIODevice& output);
