// The ledger on random event files: each input becomes a CSV of events over a few
// holdings, replayed by the ledger's CSV stream and, beside it, posted to a book one
// event at a time. Units never go below 0, a refund never exceeds what the year has
// withheld, every row is either applied (its figures written, no message) or refused
// (a message and nothing else, the holding as it was: the next rows agree with the
// book posted without it), the year-end settlements are the book's and a year's net
// withholding never goes below 0, and the working never changes a figure.
#include "calc/ledger/book.h"
#include "calc/ledger/ledger_declaration.h"
#include "csv/csv_reader.h"
#include "csv/ledger_stream.h"

#include <QBuffer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <algorithm>

using namespace ledger;

namespace {

[[noreturn]] void violated(const char* rule, const QByteArray& csv)
{
    std::fprintf(stderr, "violated: %s\ncsv:\n%s\n", rule, csv.constData());
    std::abort();
}

constexpr std::size_t kEventBytes = 10;
constexpr std::size_t kOutputColumns = kFigures.size();
const char* const kEventNames[] = {"残高", "買付", "分配", "再投資", "解約", "譲渡損益", "配当", "払出", "交換"};
constexpr int kKnownKinds = 8;
const EventKind kKinds[] = {EventKind::Balance, EventKind::Purchase, EventKind::Distribution,
                            EventKind::Reinvestment, EventKind::Redemption, EventKind::Gain,
                            EventKind::Dividend, EventKind::Transfer};

// One event from ten bytes, as a CSV row and as the rules' event (none: refused before
// the rules see it, for an unknown event).
struct Generated {
    QByteArray row;
    std::optional<Event> event;
    char fund;
};

Integer figure(const std::uint8_t* b, bool large)
{
    return large ? Integer{b[0]} << 40 | Integer{b[1]} << 8 : Integer{b[0]} << 8 | b[1];
}

Generated generate(const std::uint8_t* b, QDate& date)
{
    // b[0]: the event (low 3 bits, and bit 2 of b[9]), NISA (bit 3), the fund (bits 4-5),
    // large figures (bit 6); b[1]: days forward (0-6), or 7: one day back, and a year
    // forward (bit 3); b[2..3] units, b[4..5] NAV, b[6] distribution or fee, b[7] a rate
    // in tenths of a percent, b[8] which cells are blank, b[9] the amount instead of
    // units (bit 0), fee rate instead of fee (bit 1), a negative amount (bit 3), a
    // 受渡金額 near the units' worth (bit 4), a 解約価額 (bit 5), a 元本払戻金 (bit 6).
    const int kind = (b[0] & 7) + (b[9] >> 2 & 1);
    const bool nisa = b[0] & 8;
    const char fund = static_cast<char>('A' + (b[0] >> 4 & 3));
    const bool large = b[0] & 64;
    date = date.addDays((b[1] & 7) == 7 ? -1 : b[1] & 7).addYears(b[1] >> 3 & 1);
    const bool gainOrDividend = kind == 5 || kind == 6;
    const Integer units = figure(b + 2, large) * (gainOrDividend && (b[9] & 8) ? -1 : 1);
    const Integer nav = figure(b + 4, false);
    const Integer small = b[6];
    const DecimalRate rate{Integer{b[7]} * 100};
    const std::uint8_t blank = b[8];
    const bool byAmount = (b[9] & 1) || gainOrDividend;
    const bool byRate = b[9] & 2;

    Event e;
    e.date = date;
    e.fund = QString(QLatin1Char(fund));
    e.account = nisa ? Account::Nisa : Account::Specified;
    QByteArray cells[9];
    const auto set = [&](int cell, auto& field, auto value, const QByteArray& text) {
        if (blank >> cell & 1)
            return;
        field = value;
        cells[cell] = text;
    };
    set(0, byAmount ? e.amount : e.units, units, QByteArray::number(units));
    set(1, e.nav, nav, QByteArray::number(nav));
    if (byRate)
        set(2, e.feeRate, rate, QByteArray::number(double(rate.milliPercent) / 1000, 'f', 1));
    else
        set(2, e.fee, small, QByteArray::number(small));
    set(3, e.distribution, small, QByteArray::number(small));
    set(4, e.retention, DecimalRate{rate.milliPercent / 10}, QByteArray::number(double(rate.milliPercent) / 10000, 'f', 2));
    set(5, e.principal, Currency::fromRaw(nav * 10000 + small % 100 * 100),
        QByteArray::number(nav) + '.' + QByteArray::number(small % 100).rightJustified(2, '0'));
    set(6, e.cost, Currency::fromRaw(nav * 10000 + 500000), QByteArray::number(nav + 50));
    // The papers' figures: a 受渡金額 within a few yen of the units' worth (an order by
    // amount, a fee, or too little), a 解約価額 a little below the NAV, a 元本払戻金 of
    // up to the distribution.
    QByteArray papers[3];
    const auto paper = [&](int bit, CompactOptional<Integer>& field, Integer value) {
        if (!(b[9] >> bit & 1))
            return;
        field = value;
        papers[bit - 4] = QByteArray::number(value);
    };
    paper(4, e.settlement, static_cast<Integer>(Wide{units} * nav / 10000) + small % 8 - 2);
    paper(5, e.redemptionPrice, nav - small);
    paper(6, e.returned, small / 2 + (b[7] & 1) * small);
    QByteArray row = date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1() + ',' + fund + ','
                     + (nisa ? "NISA" : "特定") + ',' + kEventNames[kind];
    const bool amountColumn = byAmount;
    row += ',' + (amountColumn ? QByteArray() : cells[0]) + ',' + (amountColumn ? cells[0] : QByteArray()) + ','
           + cells[1] + ',' + (byRate ? QByteArray() : cells[2]) + ',' + (byRate ? cells[2] : QByteArray()) + ','
           + cells[3] + ',' + cells[4] + ',' + cells[5] + ',' + cells[6] + ',' + papers[0] + ',' + papers[1] + ','
           + papers[2] + ',';
    if (kind < kKnownKinds)
        e.kind = kKinds[kind];
    return {row, kind < kKnownKinds ? std::optional<Event>(e) : std::nullopt, fund};
}

// The header of the generated files, from the ledger's columns.
QByteArray header()
{
    QByteArray line;
    for (const ColumnDecl& column : kColumns)
        line += (line.isEmpty() ? "" : ",") + column.code.toString().toUtf8();
    return line + '\n';
}

// The roundings brokers do differently, from a byte after the events (none: the defaults).
Roundings roundingsOf(const std::uint8_t* b, bool given)
{
    Roundings r;
    if (!given)
        return r;
    const Rounding choices[] = {Rounding::Down, Rounding::HalfUp};
    r.retention = *b & 1 ? std::optional<Rounding>() : choices[*b >> 1 & 1];
    r.distribution = choices[*b >> 2 & 1];
    r.contract = choices[*b >> 3 & 1];
    r.average = *b & 16 ? PrincipalAverage::Printed : PrincipalAverage::Pool;
    r.brokerUnits = *b & 32;
    r.units = *b & 64 ? Rounding::Down : Rounding::Up;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::size_t count = std::min<std::size_t>(size / kEventBytes, 64);
    LedgerSettings settings;
    settings.book.roundings = roundingsOf(data + count * kEventBytes, size > count * kEventBytes);
    QDate date(2013, 12, 28);
    QByteArray csv = header();
    std::vector<Generated> rows;
    for (std::size_t i = 0; i < count; ++i) {
        rows.push_back(generate(data + i * kEventBytes, date));
        csv += rows.back().row + '\n';
    }

    // The command line's replay.
    QBuffer in(&csv);
    in.open(QIODevice::ReadOnly);
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    const BatchResult result = runLedger(settings, in, out);
    if (result.kind == BatchResult::Kind::Unreadable || result.kind == BatchResult::Kind::WriteFailed)
        violated("generated events could not be read", csv);
    QBuffer back(&written);
    back.open(QIODevice::ReadOnly);
    CsvReader output(back);
    if (output.next() != CsvReader::Result::Record)
        violated("no header written", csv);
    const qsizetype width = output.fieldCount();

    // The book's replay, the same events one at a time.
    Book book(settings.book);
    Integer yearIncome = 0, yearResident = 0; // the 特定口座's net withholding this year
    bool anyRefused = false;
    const auto nextRow = [&] {
        if (output.next() != CsvReader::Result::Record || output.fieldCount() != width)
            violated("a row not written", csv);
    };
    const auto figureCell = [&](std::size_t column) {
        return output.field(width - qsizetype(kOutputColumns) + qsizetype(column));
    };
    // A closed year: its settlement row, when it refunds, and what it leaves withheld.
    const auto close = [&](const ClosedYear& closed) {
        const std::optional<Settlement>& settled = closed.settlement;
        const std::optional<Settlement> rules = settleYear(closed.year, true);
        if (settled.has_value() != rules.has_value()
            || (settled && (settled->incomeTax != rules->incomeTax || settled->residentTax != rules->residentTax)))
            violated("a settlement not the rules'", csv);
        if (settled) {
            nextRow();
            if (output.field(3) != QByteArrayView("年末精算") || settled->incomeTax > 0 || settled->residentTax > 0
                || figureCell(11) != QByteArray::number(settled->incomeTax))
                violated("a settlement row not as settled", csv);
            yearIncome += settled->incomeTax;
            yearResident += settled->residentTax;
        }
        if (yearIncome < 0 || yearResident < 0)
            violated("a year's net withholding below 0", csv);
        yearIncome = yearResident = 0;
    };
    for (const Generated& row : rows) {
        std::optional<Outcome<Posted, PostRefusal>> outcome;
        const AccountYear year = book.year({});
        if (row.event) {
            // The same event on a copy of the book, explained.
            Book explaining = book;
            Trace working;
            const auto explained = explaining.post(*row.event, &working);
            outcome.emplace(book.post(*row.event));
            if (bool(*outcome) != bool(explained)
                || (*outcome && !(explained->holding == (*outcome)->holding && explained->year == (*outcome)->year
                                  && explaining.holdings().size() == book.holdings().size())))
                violated("the working changed the outcome", csv);
        }
        const bool applied = outcome && *outcome;
        if (applied) {
            for (const ClosedYear& closed : (*outcome)->closed)
                close(closed);
        }
        nextRow();
        const bool refusedThere = !figureCell(kOutputColumns - 1).isEmpty();
        if (applied == refusedThere)
            violated("the command line and the rules disagree on a row", csv);
        if (!applied) {
            anyRefused = true;
            for (std::size_t c = 0; c + 1 < kOutputColumns; ++c) {
                if (!figureCell(c).isEmpty())
                    violated("a refused row shows a figure", csv);
            }
            continue;
        }
        const Posted& a = outcome->value();
        if (touchesHolding(row.event->kind) && figureCell(0) != QByteArray::number(a.holding.units))
            violated("the stream's holding is not the book's holding", csv);
        for (const HeldFund& held : book.holdings()) {
            const Holding& h = held.holding;
            if (h.units <= 0 || h.principal.raw() < 0 || h.cost.raw() < 0)
                violated("units, 個別元本 or 取得単価 below 0, or an empty holding kept", csv);
        }
        if (a.holding.units == 0 && !(a.holding == Holding{}))
            violated("an empty holding keeps figures", csv);
        if (row.event->account == Account::Specified) {
            const bool sameYear = year.year == row.event->date.year();
            const Integer withheld = sameYear ? year.withheldIncome : 0;
            const Integer refund = -a.figures.incomeTax.value_or(0);
            const bool onGains = row.event->kind == EventKind::Redemption || row.event->kind == EventKind::Gain;
            if (onGains && refund > withheld)
                violated("a refund larger than the year's withholding", csv);
            if (!sameYear)
                yearIncome = yearResident = 0;
            yearIncome += a.figures.incomeTax.value_or(0);
            yearResident += a.figures.residentTax.value_or(0);
            if (yearIncome < 0 || yearResident < 0)
                violated("a year's net withholding below 0", csv);
        } else if (a.figures.incomeTax.value_or(0) != 0 || a.figures.residentTax.value_or(0) != 0) {
            violated("a tax in NISA", csv);
        }
    }
    for (const ClosedYear& closed : book.close())
        close(closed);
    if (output.next() != CsvReader::Result::End)
        violated("a row written beyond the events", csv);
    if (anyRefused != (result.kind == BatchResult::Kind::SomeRefused))
        violated("the exit status does not tell refused rows", csv);
    return 0;
}
