#include "ledger_stream.h"

#include "csv_records.h"
#include "csv_writer.h"
#include "ledger_figures.h"
#include "ledger_reader.h"
#include "ledger_report.h"
#include "ledger_working.h"

#include <QIODevice>

using namespace ledger;

namespace {

// The ledger's run over one input: a file read (LedgerReader, whose calls are then direct)
// or any rows.
template <class Rows>
class LedgerRun {
public:
    LedgerRun(const LedgerSettings& settings, Rows& reader, CsvWriter& writer, QIODevice& output,
              const RefusedRow& refused)
        : settings_(settings), output_(settings.output), reader_(reader), writer_(writer), out_(output),
          refused_(refused), width_(reader.inputWidth()), book_(settings.book)
    {
    }

    [[nodiscard]] bool ok() const { return writer_.ok() && !textFailed_; }

    void header()
    {
        if (isReport(output_)) {
            writeReportHeader(writer_);
            return;
        }
        writeInput();
        for (const FigureDecl& figure : kFigures)
            writer_.field(figure.caption);
        writer_.endRecord();
    }

    // Posts the row just read; false when it was refused.
    bool row()
    {
        Trace working;
        const Outcome<Event, QString>& event = reader_.event();
        std::optional<Outcome<Posted, PostRefusal>> posted;
        if (event) {
            posted.emplace(book_.post(*event, output_ == LedgerOutput::Working ? &working : nullptr));
            if (*posted) {
                for (const ClosedYear& closed : posted->value().closed)
                    settle(closed);
            }
        }
        const bool shown = event && *posted;
        const QString refusal = !event ? event.why() : !*posted ? refusalText(posted->why()) : QString();
        if (isReport(output_)) {
            if (!shown && refused_)
                refused_(reader_.line(), refusal);
            return shown;
        }
        if (output_ == LedgerOutput::Working) {
            const QString input = reader_.input();
            write(shown ? postedRowWorking(input, working.steps(), *event, posted->value())
                        : refusedRowWorking(input, working.steps(), refusal));
            return shown;
        }
        writeInput();
        if (shown) {
            writeLedgerFigures(*event, posted->value(), [&](QByteArrayView figure) { writer_.field(figure); });
            if (settings_.remark)
                writer_.field(settings_.remark(reader_.line(), *event, posted->value().figures));
            else
                writer_.field(QByteArrayView());
        } else {
            for (std::size_t i = 0; i + 1 < kFigures.size(); ++i)
                writer_.field(QByteArrayView());
            writer_.field(refusal);
        }
        writer_.endRecord();
        return shown;
    }

    // At the end of the input: the open years' settlements, then the report.
    void finish()
    {
        for (const ClosedYear& closed : book_.close())
            settle(closed);
        if (isReport(output_))
            report();
        if (settings_.replayed)
            settings_.replayed(book_);
        if (!text_.isEmpty() && !textFailed_)
            textFailed_ = out_.write(text_) != text_.size();
        text_.clear();
    }

private:
    void writeInput()
    {
        for (qsizetype i = 0; i < width_; ++i)
            writer_.field(reader_.cell(i));
    }

    // A closed 特定口座 year: its working, or its row when it refunds.
    void settle(const ClosedYear& closed)
    {
        if (explains(output_)) {
            const QString text = settlementWorking(closed.year, settings_.book.dividendNetting, closed.provisional);
            if (isReport(output_))
                settlementWorking_ += text;
            else
                write(text);
            return;
        }
        if (!closed.settlement || isReport(output_))
            return;
        const QByteArray date = QByteArray::number(closed.settlement->year) + "-12-31";
        const LedgerColumnIndex& columns = reader_.columns();
        const auto isColumn = [&](qsizetype i, Column c) { return columns[static_cast<std::size_t>(c)] == i; };
        for (qsizetype i = 0; i < width_; ++i) {
            if (isColumn(i, Column::Date))
                writer_.field(QByteArrayView(date));
            else if (isColumn(i, Column::Account))
                writer_.field(accountName(closed.account.kind));
            else if (isColumn(i, Column::Event))
                writer_.field(closed.provisional ? kProvisionalSettlementEvent : kSettlementEvent);
            else if (isColumn(i, Column::Broker))
                writer_.field(closed.account.broker);
            else
                writer_.field(QByteArrayView());
        }
        writeSettlementFigures(*closed.settlement, [&](QByteArrayView figure) { writer_.field(figure); });
        writer_.field(QByteArrayView());
        writer_.endRecord();
    }

    void report()
    {
        QString table;
        if (output_ == LedgerOutput::ReportTable || output_ == LedgerOutput::ReportTableWithWorking)
            table = reportTable(book_.reports());
        else
            writeReportLines(writer_, book_.reports());
        if (!settlementWorking_.isEmpty())
            table += (table.isEmpty() ? QString() : QStringLiteral("\n")) + settlementWorking_;
        if (!table.isEmpty()) {
            // After the CSV rows, if any.
            (void)writer_.flush();
            write(table);
        }
    }

    // The working and the report's table, in UTF-8, written in chunks.
    void write(const QString& text)
    {
        text_ += text.toUtf8();
        if (text_.size() >= 64 * 1024 && !textFailed_) {
            textFailed_ = out_.write(text_) != text_.size();
            text_.clear();
        }
    }

    const LedgerSettings& settings_;
    const LedgerOutput output_;
    Rows& reader_;
    CsvWriter& writer_;
    QIODevice& out_;
    const RefusedRow& refused_;
    const qsizetype width_;
    Book book_;
    QString settlementWorking_;
    QByteArray text_;
    bool textFailed_ = false;
};

// Replays `rows`, which are past their header.
template <class Rows>
BatchResult replay(const LedgerSettings& settings, Rows& rows, const LedgerCsv& csv, QIODevice& output,
                   const RefusedRow& refusedRow)
{
    CsvWriter writer(output, csv.crLf, csv.encoding);
    LedgerRun<Rows> run(settings, rows, writer, output, refusedRow);
    if (writesCsv(settings.output)) {
        if (csv.byteOrderMark || settings.byteOrderMark)
            writer.byteOrderMark();
        run.header();
    }

    BatchResult result;
    while (run.ok() && rows.next()) {
        if (!run.row())
            result.kind = BatchResult::Kind::SomeRefused;
    }
    if (rows.stopped())
        result = *rows.stopped();
    else
        run.finish();
    if (!writer.flush() || !run.ok())
        return {BatchResult::Kind::WriteFailed, output.errorString()};
    return result;
}

} // namespace

BatchResult runLedger(const LedgerSettings& settings, QIODevice& input, QIODevice& output,
                      const RefusedRow& refusedRow)
{
    LedgerReader reader(input, settings.encoding);
    if (std::optional<BatchResult> refused = reader.readHeader())
        return *refused;
    if (auto refused = refusedByteOrderMark(settings.byteOrderMark && writesCsv(settings.output), reader.csv()))
        return *refused;
    const LedgerCsv csv{reader.csv().encoding(), reader.csv().endedWithCrLf(), reader.csv().hadByteOrderMark()};
    return replay(settings, reader, csv, output, refusedRow);
}

BatchResult replayLedger(const LedgerSettings& settings, LedgerRows& rows, const LedgerCsv& csv, QIODevice& output,
                         const RefusedRow& refusedRow)
{
    return replay(settings, rows, csv, output, refusedRow);
}
