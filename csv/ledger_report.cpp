#include "ledger_report.h"

#include "csv_writer.h"

#include "calc/ledger/ledger_declaration.h"

#include <algorithm>
#include <optional>

using namespace ledger;

namespace {

// How wide a text shows in a terminal: two columns for a wide (CJK) character.
qsizetype shownWidth(QStringView text)
{
    qsizetype width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

qsizetype widestCaption()
{
    qsizetype widest = 0;
    for (const ReportDecl& column : kReportColumns)
        widest = std::max(widest, shownWidth(column.caption));
    return widest;
}

// The account as a report line names it: its kind, and its broker when the file names one.
QString accountText(const AccountId& account)
{
    const QString kind = accountName(account.kind).toString();
    return account.broker.isEmpty() ? kind : QStringLiteral("%1（%2）").arg(kind, account.broker);
}

QStringView sectionName(ReportSection section)
{
    return section == ReportSection::Gains ? QStringView(u"譲渡") : QStringView(u"配当等");
}

} // namespace

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
        writer.field(accountText(key.account));
        for (const ReportDecl& column : kReportColumns)
            writer.field(reportApplies(column, key.account.kind) ? workingText(line.*column.sum) : QString());
        writer.endRecord();
    }
}

QString reportTable(const YearReports& reports)
{
    static const qsizetype captionWidth = widestCaption();
    QString table;
    for (const auto& [key, line] : reports) {
        if (!table.isEmpty())
            table += u'\n';
        table += QStringLiteral("%1 年 %2口座%3\n")
                     .arg(key.year)
                     .arg(accountName(key.account.kind),
                          key.account.broker.isEmpty() ? QString() : QStringLiteral(" %1").arg(key.account.broker));
        std::optional<ReportSection> section;
        for (const ReportDecl& column : kReportColumns) {
            if (!reportApplies(column, key.account.kind))
                continue;
            if (section != column.section) {
                section = column.section;
                table += QStringLiteral("  【%1】\n").arg(sectionName(column.section));
            }
            const QString figure = workingText(line.*column.sum);
            const qsizetype gap = captionWidth - shownWidth(column.caption) + 14 - figure.size();
            table += QStringLiteral("    ") + column.caption.toString() + QString(std::max<qsizetype>(gap, 1), u' ')
                     + figure + u'\n';
        }
    }
    return table;
}
