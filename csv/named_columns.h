#pragma once

#include "core/outcome.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

class CsvReader;

// Tables that other programs write, read by their columns' names: a price history, a
// broker's holdings.

// Where each of `names` stands in the header, matched after normalisedCell() and
// trimming; none for one it lacks. Refused: a name given twice, or one of the first
// `required` names missing.
[[nodiscard]] Outcome<std::vector<std::optional<qsizetype>>, QString>
namedColumns(const CsvReader& header, std::span<const QStringView> names, std::size_t required);

// Reads the table's next record: true for one as wide as the header (`width`); false at
// the end, or with `problem` saying why the file cannot be read, naming `source` and the line.
[[nodiscard]] bool nextTableRow(CsvReader& reader, qsizetype width, const QString& source, QString& problem);
