#pragma once

#include "calc/ledger/book.h"

#include <QString>

class CsvWriter;

// The yearly report: one line per account and year, as CSV or as a table a person reads.
void writeReportHeader(CsvWriter& writer);
void writeReportLines(CsvWriter& writer, const ledger::YearReports& reports);
[[nodiscard]] QString reportTable(const ledger::YearReports& reports);
