#pragma once

#include "batch.h"
#include "calculators.h"
#include "ledger_options.h"

#include <QString>
#include <QStringList>

#include <variant>

enum class OutputFormat { Text, Json };

struct HelpRequest {};
struct VersionRequest {};

// One calculation from the options.
struct CalculationRequest {
    const CliCalculator* calculator = nullptr;
    // Every box's text; a box without its option holds the text its window opens with.
    BoxTexts texts;
    bool feePaidFromFunds = false;
    OutputFormat format = OutputFormat::Text;
    // Whole numbers: the windows' 16-bit range unless --range wide.
    IntegerRange range = IntegerRange::narrow();
    // --rules and --nisa: the windows' tax rules unless --rules current.
    TaxRules rules;
    // --explain: the working follows the statement.
    bool explain = false;
};

// A calculator's batch: --csv.
struct BatchRequest {
    const CliCalculator* calculator = nullptr;
    IntegerRange range = IntegerRange::narrow();
    BatchOptions options;
    QString inputPath; // empty or "-": standard input
};

// What the command line asks for; miroven-calc ledger's request is its own.
using Invocation = std::variant<HelpRequest, VersionRequest, CalculationRequest, BatchRequest, LedgerRequest>;

// The invocation, or a usage error in one line.
using ParsedArguments = Outcome<Invocation, QString>;

// The names --rules takes for the windows' rules: "classic", and "windows", which
// scripts written before it was renamed still pass.
inline constexpr QStringView kClassicRules = u"classic";
inline constexpr QStringView kClassicRulesAlias = u"windows";

// Reads the arguments after the program's name: a calculator, then long options,
// each value either after "=" or as the next argument (so "--fee -1" works; an
// argument starting with "--" is the next option, not a value). With --csv, one
// argument that is no option names the input file ("-": standard input).
[[nodiscard]] ParsedArguments parseArguments(const QStringList& arguments);
