#pragma once

#include "currency.h"
#include "fund_rules.h"
#include "integer.h"

#include <QString>

// The one set of fields through which the calculators hand their inputs and
// results to the statement windows. Created zeroed before the first window opens
// and never reset: a calculation overwrites only the fields it writes.
// Field order is the storage order; names are the ones the windows' code uses.
struct CalcRecord {
    double Rate = 0.0;             // purchase cost factor: yen paid per yen of principal
    Integer IM = 0;                // purchase funds
    Integer Div = 0;               // distribution on the whole holding
    Integer TaxableDiv = 0;        // taxable part of the distribution
    double FP1 = 0.0;              // sales fee, percent
    double FP2 = 0.0;              // consumption tax on the fee, percent
    double RetentionPercent = 0.0; // trust retention, percent
    Integer Fee = 0;               // purchase: fee with its tax; redemption: retention
    Integer Tax = 0;               // redemption: tax on the gain; distribution: tax withheld
    Integer IncomeTax = 0;         // under today's rules, the part of Tax that is 所得税及び復興特別所得税
    Integer ResidentTax = 0;       // ... and the part that is 住民税
    Integer BL = 0;                // NAV at purchase
    Integer CBL = 0;               // the holder's principal NAV
    Integer NBL = 0;               // current NAV, or NAV after the distribution
    Currency OA;                   // units bought or held
    Currency Cash;                 // net cash on redemption
    Integer FeeCovered = 0;        // the purchase option's memory: 0, or -1 for selected
    QString ErrNo;                 // missing-input code as decimal text
    // The range every whole-number field is stored and checked in; the windows keep
    // the narrow one.
    IntegerRange range = IntegerRange::narrow();
    // The tax rules of every calculation on this record; the windows keep theirs.
    TaxRules rules;
};
