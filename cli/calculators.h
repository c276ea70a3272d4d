#pragma once

#include "calc/declaration.h"
#include "calc/box_reading.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>

// The three calculators as the command line sees them. Everything about a box or a
// statement row comes from the calculators' declarations; only the option names are
// the command line's own.

// A command-line option that fills one input box.
struct BoxOption {
    QStringView name; // without the leading "--"
    const BoxDecl* box;
};

// One calculation's statement: the figures as the statement window shows them, or
// the message the window would show instead (then there are no figures).
struct Statement {
    bool done = false;
    QList<ShownFigure> figures;
    QString message;
};

struct CliCalculator {
    QStringView name;                      // the command: "purchase", ...
    QStringView summary;                   // one line for --help
    std::span<const BoxOption> options;    // the boxes, in the order --help and CSV list them
    // The purchase window's fee-coverage option; null for the others.
    const QStringView* feeCoverageCaption;
    // The statement's row captions as shown, top to bottom.
    QStringList (*captions)();
    // Runs the calculation on a fresh record with the whole-number range given, as the
    // window's "計算" does; a trace, when given, receives the working.
    Statement (*calculate)(const BoxTexts& texts, bool feePaidFromFunds, IntegerRange range,
                           Trace* working);
};

// The option that turns the purchase window's fee coverage on, and its CSV column
// (named after the record field that keeps the window's memory of it).
inline constexpr QStringView kFeeCoveredOption = u"fee-covered";
inline constexpr QStringView kFeeCoveredColumn = u"FeeCovered";

[[nodiscard]] std::span<const CliCalculator> cliCalculators();
// The calculator for a command, or null.
[[nodiscard]] const CliCalculator* findCalculator(QStringView name);
