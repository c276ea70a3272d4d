#include "ledger_report.h"

#include "csv_writer.h"

#include "calc/ledger/ledger_declaration.h"

using namespace ledger;

void writeReportHeader(CsvWriter& writer)
{
    writer.field(kReportYearCaption);
    writer.field(kReportAccountCaption);
    for (const ReportDecl& column : kReportColumns)
        writer.field(column.caption);
    writer.endRecord();
}

void writeReportLines(CsvWriter& writer, const YearReports& reports)
{
    for (const auto& [key, line] : reports) {
        writer.field(QByteArray::number(key.year));
        writer.field(accountName(key.account.kind));
        for (const ReportDecl& column : kReportColumns)
            writer.field(workingText(line.*column.sum));
        writer.endRecord();
    }
}

QString reportTable(const YearReports& reports)
{
    QString table;
    for (const auto& [key, line] : reports) {
        table += QStringLiteral("%1 年 %2口座\n").arg(key.year).arg(accountName(key.account.kind));
        for (const ReportDecl& column : kReportColumns)
            table += QStringLiteral("  %1\t%2\n").arg(column.caption.toString(), workingText(line.*column.sum));
    }
    return table;
}
