#pragma once

#include "calculators.h"
#include "options.h"

#include <QByteArray>
#include <QStringList>

// What one calculation prints, as UTF-8.
struct Printed {
    QByteArray standardOutput;
    QByteArray standardError;
};

// Text: a "caption<TAB>figure" line per statement row, top to bottom; a refusal
// prints only the window's message, on standard error. JSON: one object on one line,
//   {"calculator":"purchase","statement":[{"caption":"購入口数","figure":9694},...],"message":""}
// with an empty statement and the message when refused. `working` is the calculation's working, a block of
// further lines after the statement (a blank line, then the lines; in JSON an
// "working" array), left out when empty.
[[nodiscard]] Printed printStatement(const CliCalculator& calculator, const Statement& statement,
                                     OutputFormat format, const QStringList& working = {});
