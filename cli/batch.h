#pragma once

#include "core/fund_rules.h"
#include "core/integer.h"
#include "csv/batch_result.h"
#include "csv/csv_encoding.h"

#include <QString>
#include <QStringView>

#include <optional>

class QIODevice;
struct CliCalculator;

// The fee-coverage column's short name, beside its code FeeCovered and the window's
// caption, which is too long for a column heading.
inline constexpr QStringView kFeeCoveredShortCaption = u"手数料込み";

struct BatchOptions {
    std::optional<CsvEncoding> encoding; // none: told from the input
    bool byteOrderMark = false;          // a UTF-8 byte order mark on the output
    TaxRules rules;                      // windows unless --rules current, and --nisa
};

// Reads CSV with a header row from `input` and writes, row for row as it reads them,
// each input row as read followed by the statement's figures and a message column.
// Input columns are found by the boxes' field names or captions, spaces around them
// ignored; the others are carried through. The output is in the input's encoding.
// A refused row is written with its message and empty figures, and the batch goes on;
// input that cannot be read stops it after the rows already written.
[[nodiscard]] BatchResult runBatch(const CliCalculator& calculator, IntegerRange range,
                                   const BatchOptions& options, QIODevice& input,
                                   QIODevice& output);
