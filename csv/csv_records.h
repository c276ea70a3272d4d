#pragma once

#include "batch_result.h"
#include "csv_encoding.h"

#include <QString>
#include <QStringView>

#include <optional>

class CsvReader;

// What every CSV run over an input does with its header and records, a batch of a
// calculator and the ledger alike.

[[nodiscard]] BatchResult unreadable(const QString& problem);
// The same, naming the line the reader stopped at.
[[nodiscard]] BatchResult unreadableAt(const CsvReader& reader, const QString& problem);

// Why a header cannot be read when two of its columns, `first` and `second` (from 0),
// name the same column: `secondName` is the second as it was matched.
[[nodiscard]] QString sameColumnTwice(const CsvReader& header, qsizetype first, qsizetype second,
                                      const QString& secondName, QStringView code, QStringView caption);

// Reads the header row: nothing when there is one, else why the input cannot be read.
[[nodiscard]] std::optional<BatchResult> readHeader(CsvReader& reader);

// A byte order mark asked for on output in CP932, where it would be read as two stray
// characters: why it is refused; nothing when it is not asked for or fits.
[[nodiscard]] std::optional<BatchResult> refusedByteOrderMark(bool asked, const CsvReader& reader);
[[nodiscard]] std::optional<BatchResult> refusedByteOrderMark(bool asked, CsvEncoding output);

// Reads the next record: true for one as wide as the header (`width` fields); false at
// the end, or with `result` saying why the input cannot be read from here on.
[[nodiscard]] bool nextRecord(CsvReader& reader, qsizetype width, BatchResult& result);
