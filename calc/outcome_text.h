#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "calc/calc_outcome.h"
#include "core/calc_record.h"

struct BoxDecl;

// The captions the missing-input message names, by code 1 to 12, as each box declares
// its code.
[[nodiscard]] QStringList missingInputCaptions();

// The boxes in the same order.
[[nodiscard]] std::vector<const BoxDecl*> missingInputBoxes();

// The missing-input message for the code held as decimal text (the record's ErrNo);
// empty when the text names no code from 1 to 12.
[[nodiscard]] QString missingInputMessage(const QString& errNo);

// What the user is told when a calculation does not complete, exactly as the windows
// and the command line say it.
[[nodiscard]] QString outcomeText(const CalcFault& fault, const CalcRecord& record);
