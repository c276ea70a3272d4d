#pragma once

#include <QString>
#include <QStringView>

#include <array>

// The options miroven-calc takes besides the calculators' boxes and --help and
// --version: one table from which both parsers learn whether a name is an option of the
// command and whether it takes a value, and both help texts take their headings.

// The commands an option goes with.
enum OptionCommands : unsigned {
    kForCalculators = 1, // purchase, redemption, distribution: one calculation or --csv
    kForLedger = 2,
};

struct CliOption {
    QStringView name;
    bool takesValue;
    QStringView values; // what it takes, as the help shows it
    unsigned commands;
};

inline constexpr std::array<CliOption, 22> kCliOptions{{
    {u"format", true, u"text|json", kForCalculators},
    {u"explain", false, u"", kForCalculators | kForLedger},
    {u"range", true, u"narrow|wide", kForCalculators},
    {u"rules", true, u"classic|current", kForCalculators},
    {u"nisa", false, u"", kForCalculators},
    {u"csv", false, u"[入力.csv]", kForCalculators}, // --csv=FILE names the input as well
    {u"encoding", true, u"utf-8|cp932", kForCalculators | kForLedger},
    {u"bom", false, u"", kForCalculators | kForLedger},
    {u"principal-rounding", true, u"up|down|nearest", kForLedger},
    {u"cost-rounding", true, u"up|cent", kForLedger},
    {u"units-rounding", true, u"up|down|broker", kForLedger},
    {u"retention-rounding", true, u"down|nearest|exact", kForLedger},
    {u"distribution-rounding", true, u"down|nearest", kForLedger},
    {u"contract-rounding", true, u"down|nearest", kForLedger},
    {u"principal-average", true, u"pool|printed", kForLedger},
    {u"as-of", true, u"YYYY-MM-DD", kForLedger},
    {u"no-dividend-netting", false, u"", kForLedger},
    {u"report", false, u"", kForLedger},
    {u"format", true, u"csv|text", kForLedger},
    {u"fund-names", true, u"FILE", kForLedger},
    {u"nav", true, u"FILE", kForLedger},
    {u"holdings", true, u"FILE", kForLedger},
}};

// The option `name` of the commands `command`, or null when they have none of that name.
[[nodiscard]] const CliOption* findCliOption(QStringView name, OptionCommands command);

// "--name values", as the help heads an option's description.
[[nodiscard]] QString optionHeading(QStringView name, OptionCommands command);
