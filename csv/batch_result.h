#pragma once

#include <QString>

// How a run over a CSV input ended: a calculator's batch and the ledger alike.
struct BatchResult {
    enum class Kind {
        AllCalculated,
        SomeRefused, // at least one row holds a message instead of figures
        Unreadable,  // the input is not CSV the run can read; problem says why
        WriteFailed,
    };
    Kind kind = Kind::AllCalculated;
    QString problem;
};
