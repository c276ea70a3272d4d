#pragma once

#include "calc/calculator.h"

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
    // What a left-out option holds under today's rules, when not the box's initial text.
    QStringView currentDefault = {};
    // What --help says the box holds, when its caption alone would not do.
    QStringView description = {};
};

// What a box holds when its option (or CSV column) is left out under a rule set.
[[nodiscard]] inline QStringView omittedText(const BoxOption& option, RuleSet rules)
{
    return rules == RuleSet::Current && !option.currentDefault.isEmpty() ? option.currentDefault
                                                                          : option.box->initialText;
}

// Whether a box holds a percentage (every Double box does), which a cell may write as "3%".
[[nodiscard]] inline bool holdsPercentage(const BoxDecl& box)
{
    return std::holds_alternative<double CalcRecord::*>(box.field);
}

// Why a calculation gave no statement: the message the window would show and, when a
// calculation step went wrong, that step and the figure it was heading for.
struct Refusal {
    QString message;
    QString step;
    QString figure;
};

// One calculation's statement: the figures as the statement window shows them, or why
// there are none.
using Statement = Outcome<QList<ShownFigure>, Refusal>;

// A calculator under the command's name, with an option for each of its boxes.
struct CliCalculator {
    QStringView name;                   // the command: "purchase", ...
    QStringView summary;                // one line for --help
    const Calculator& calculator;
    std::span<const BoxOption> options; // the boxes, in the order --help and CSV list them
};

// Runs the calculation on a fresh record with the whole-number range and the tax rules
// given, as the window's "計算" does; a trace, when given, receives the working.
[[nodiscard]] Statement calculate(const CliCalculator& calculator, const CalcRequest& request,
                                  IntegerRange range, const TaxRules& rules, Trace* working);

// The option that turns the purchase window's fee coverage on, and its CSV column
// (named after the record field that keeps the window's memory of it).
inline constexpr QStringView kFeeCoveredOption = u"fee-covered";
inline constexpr QStringView kFeeCoveredColumn = u"FeeCovered";

[[nodiscard]] std::span<const CliCalculator> cliCalculators();
// The calculator for a command, or null.
[[nodiscard]] const CliCalculator* findCalculator(QStringView name);
