#include "ledger_batch.h"

#include "batch_records.h"
#include "cell_text.h"
#include "csv_reader.h"
#include "csv_writer.h"

#include "core/number_text.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <utility>
#include <string>
#include <unordered_map>

namespace {

using namespace ledger;

// The columns the ledger reads, by code and by caption.
enum Column { kDate, kFund, kAccount, kEvent, kUnits, kAmount, kNav, kFee, kFeeRate, kDistribution,
              kRetention, kPrincipal, kCost, kColumnCount };
struct ColumnName {
    QStringView code;
    QStringView caption;
};
constexpr std::array<ColumnName, kColumnCount> kColumns{{
    {u"date", u"受渡日"},
    {u"fund", u"銘柄"},
    {u"account", u"口座"},
    {u"event", u"取引"},
    {u"units", u"口数"},
    {u"amount", u"金額"},
    {u"nav", u"基準価額"},
    {u"fee", u"手数料"},
    {u"fee_rate", u"手数料率(%)"},
    {u"distribution", u"分配金(1万口当たり)"},
    {u"retention", u"信託財産留保額(%)"},
    {u"principal", u"個別元本"},
    {u"cost", u"取得単価"},
}};
constexpr std::array<Column, 3> kRequired{kDate, kFund, kEvent};

// What each row gains, in this order, after all of its input columns.
constexpr std::array<QStringView, 16> kOutputCaptions{
    u"保有口数", u"個別元本", u"取得単価", u"約定金額", u"手数料", u"普通分配金", u"元本払戻金", u"再投資口数",
    u"解約代金", u"取得費", u"譲渡損益", u"所得税及び復興特別所得税", u"住民税", u"受渡金額", u"年内譲渡損益",
    u"message"};

struct EventName {
    const char* japanese; // UTF-8
    const char* english;
    EventKind kind;
};
constexpr std::array<EventName, 8> kEvents{{
    {"残高", "open", EventKind::Balance},
    {"買付", "buy", EventKind::Purchase},
    {"分配", "distribution", EventKind::Distribution},
    {"再投資", "reinvest", EventKind::Reinvestment},
    {"解約", "redemption", EventKind::Redemption},
    {"譲渡損益", "gain", EventKind::Gain},
    {"配当", "dividend", EventKind::Dividend},
    {"払出", "transfer", EventKind::Transfer},
}};

using ColumnIndex = std::array<std::optional<qsizetype>, kColumnCount>;

std::optional<ColumnIndex> mapColumns(const CsvReader& header, QString& problem)
{
    ColumnIndex found;
    for (qsizetype i = 0; i < header.fieldCount(); ++i) {
        // Spreadsheets write 手数料率（％） as well as 手数料率(%).
        const QString name = normalisedCell(header.fieldText(i).trimmed());
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (name != kColumns[c].code && name != kColumns[c].caption)
                continue;
            if (found[c]) {
                problem = QStringLiteral("見出しの %1 列目「%2」と %3 列目「%4」はどちらも列 %5（%6）です")
                              .arg(*found[c] + 1)
                              .arg(header.fieldText(*found[c]).trimmed())
                              .arg(i + 1)
                              .arg(name, kColumns[c].code, kColumns[c].caption);
                return std::nullopt;
            }
            found[c] = i;
        }
    }
    QStringList absent;
    for (const Column c : kRequired) {
        if (!found[c])
            absent.append(QStringLiteral("%1（%2）").arg(kColumns[c].code, kColumns[c].caption));
    }
    if (!absent.isEmpty()) {
        problem = QStringLiteral("見出しに列 %1 がありません").arg(absent.join(QStringLiteral("、")));
        return std::nullopt;
    }
    return found;
}

// A cell that holds a figure: nothing when blank, or why it is not one.
template <class T>
using Cell = Outcome<std::optional<T>, QString>;

class Row {
public:
    Row(const CsvReader& reader, const ColumnIndex& columns) : reader_(reader), columns_(columns) {}

    [[nodiscard]] QByteArrayView bytes(Column c) const
    {
        return columns_[c] ? reader_.field(*columns_[c]).trimmed() : QByteArrayView();
    }
    [[nodiscard]] QString text(Column c) const
    {
        return columns_[c] ? reader_.fieldText(*columns_[c]).trimmed() : QString();
    }
    // A figure's cell as spreadsheets write it: full-width forms, U+2212 and a
    // percentage's trailing "%" read as plain ASCII.
    [[nodiscard]] QString figureText(Column c) const
    {
        return figureCell(text(c), c == kFeeRate || c == kRetention);
    }
    // Whether the cell holds `name` (UTF-8): compared as bytes, without a conversion,
    // unless the input is CP932.
    [[nodiscard]] bool is(Column c, const char* name) const
    {
        if (reader_.encoding() != CsvEncoding::Utf8)
            return text(c) == QString::fromUtf8(name);
        return bytes(c) == QByteArrayView(name);
    }

    // Whole yen or units.
    [[nodiscard]] Cell<Integer> whole(Column c) const
    {
        const QByteArrayView cell = bytes(c);
        if (cell.isEmpty())
            return std::optional<Integer>();
        // Plain ASCII digits, the usual case, without a conversion to text.
        if (cell.size() <= 15 && cell.front() != '+') {
            Integer value = 0;
            const char* end = cell.data() + cell.size();
            const auto [stop, error] = std::from_chars(cell.data(), end, value);
            if (error == std::errc() && stop == end)
                return std::optional<Integer>(value);
        }
        const QString cellText = figureText(c);
        const QString caption = kColumns[c].caption.toString();
        if (hasDigitsBeyond(cellText, 0))
            return QStringLiteral("%1は整数で入力してください").arg(caption);
        const Parsed<Integer> parsed = parseInteger(cellText, NumberFormat{}, IntegerRange::wide());
        if (parsed)
            return std::optional<Integer>(*parsed);
        if (parsed.why() == InputProblem::Empty)
            return std::optional<Integer>();
        if (parsed.why() == InputProblem::NotANumber)
            return QStringLiteral("%1には数値を入力してください").arg(caption);
        return QStringLiteral("%1は -%2 から %2 までにしてください").arg(caption).arg(kLargest);
    }
    // A price per 10,000 units, to 0.01 yen.
    [[nodiscard]] Cell<Currency> cents(Column c) const
    {
        return decimal(c, 2, QStringLiteral("%1は 0.01 円単位で入力してください"));
    }
    // A percentage, to 0.001 %.
    [[nodiscard]] Cell<DecimalRate> percent(Column c) const
    {
        const Cell<Currency> exact = decimal(c, 3, QStringLiteral("%1は小数第3位までで入力してください"));
        if (!exact)
            return exact.why();
        if (!*exact)
            return std::optional<DecimalRate>();
        return std::optional<DecimalRate>(DecimalRate{exact.value()->raw() / 10});
    }

private:
    // Whether a digit other than 0 follows the first `places` decimals.
    static bool hasDigitsBeyond(const QString& cell, qsizetype places)
    {
        qsizetype point = cell.indexOf(u'.');
        if (point < 0)
            point = cell.indexOf(u'．');
        if (point < 0)
            return false;
        for (qsizetype i = point + 1 + places; i < cell.size(); ++i) {
            const char16_t c = cell.at(i).unicode();
            if ((c >= u'1' && c <= u'9') || (c >= u'１' && c <= u'９'))
                return true;
        }
        return false;
    }

    // A decimal figure of at most `places` decimals.
    [[nodiscard]] Cell<Currency> decimal(Column c, qsizetype places, const QString& tooFine) const
    {
        const QString cell = figureText(c);
        if (cell.isEmpty())
            return std::optional<Currency>();
        const QString caption = kColumns[c].caption.toString();
        const Parsed<Currency> parsed = parseCurrency(cell, NumberFormat{});
        if (!parsed) {
            if (parsed.why() == InputProblem::TooLarge)
                return QStringLiteral("%1の数値が大きすぎます").arg(caption);
            return QStringLiteral("%1には数値を入力してください").arg(caption);
        }
        if (hasDigitsBeyond(cell, places))
            return tooFine.arg(caption);
        return std::optional<Currency>(*parsed);
    }

    const CsvReader& reader_;
    const ColumnIndex& columns_;
};

// The date of a row: YYYY-MM-DD or YYYY/MM/DD, month and day also in one digit.
std::optional<QDate> readDate(QByteArrayView cell)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    char separator = 0;
    for (const char c : cell) {
        if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
            if (++digits[part] > (part == 0 ? 4 : 2))
                return std::nullopt;
        } else if ((c == '-' || c == '/') && part < 2 && (separator == 0 || separator == c)) {
            separator = c;
            ++part;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits[0] != 4 || digits[1] == 0 || digits[2] == 0)
        return std::nullopt;
    const QDate date(parts[0], parts[1], parts[2]);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// Sets `field` from a cell, or gives why the cell is not a figure.
template <class T>
bool take(const Cell<T>& cell, std::optional<T>& field, QString& why)
{
    if (!cell) {
        why = cell.why();
        return false;
    }
    field = *cell;
    return true;
}

// The event a row describes, or why it describes none.
Outcome<Event, QString> readEvent(const Row& row)
{
    Event event;
    const QByteArrayView date = row.bytes(kDate);
    if (date.isEmpty())
        return QStringLiteral("受渡日が入力されていません");
    const std::optional<QDate> day = readDate(date);
    if (!day)
        return QStringLiteral("受渡日は YYYY-MM-DD か YYYY/MM/DD で書きます: %1").arg(row.text(kDate));
    event.date = *day;

    if (row.is(kAccount, "NISA") || row.is(kAccount, "nisa")) {
        event.account = Account::Nisa;
    } else if (!row.bytes(kAccount).isEmpty() && !row.is(kAccount, "特定")) {
        return QStringLiteral("口座は 特定 か NISA です: %1").arg(row.text(kAccount));
    }

    const auto known = std::find_if(kEvents.begin(), kEvents.end(), [&](const EventName& e) {
        return row.is(kEvent, e.japanese) || row.is(kEvent, e.english);
    });
    if (known == kEvents.end()) {
        const QString name = row.text(kEvent);
        if (name.isEmpty())
            return QStringLiteral("取引が入力されていません");
        return QStringLiteral("取引が違います: %1（残高、買付、分配、再投資、解約、譲渡損益、配当、払出）").arg(name);
    }
    event.kind = known->kind;
    // Another security's gain or dividend needs no name.
    if (row.bytes(kFund).isEmpty() && touchesHolding(event.kind))
        return QStringLiteral("銘柄が入力されていません");

    QString why;
    if (!take(row.whole(kUnits), event.units, why) || !take(row.whole(kAmount), event.amount, why)
        || !take(row.whole(kNav), event.nav, why) || !take(row.whole(kFee), event.fee, why)
        || !take(row.percent(kFeeRate), event.feeRate, why)
        || !take(row.whole(kDistribution), event.distribution, why)
        || !take(row.percent(kRetention), event.retention, why)
        || !take(row.cents(kPrincipal), event.principal, why) || !take(row.cents(kCost), event.cost, why))
        return why;
    return event;
}

// A figure as the output writes it.
class FigureText {
public:
    QByteArrayView whole(Integer value)
    {
        const auto [end, error] = std::to_chars(buffer_, buffer_ + sizeof buffer_, value);
        (void)error; // an int64 always fits
        return QByteArrayView(buffer_, end - buffer_);
    }
    // Whole yen as a whole number, a fraction of a yen with two decimals (four if finer).
    QByteArrayView price(Currency value)
    {
        const std::int64_t raw = value.raw();
        if (raw % Currency::kScale == 0)
            return whole(raw / Currency::kScale);
        const bool cents = raw % 100 == 0;
        const std::int64_t magnitude = raw < 0 ? -raw : raw;
        const std::int64_t scale = cents ? 100 : Currency::kScale;
        const std::int64_t fraction = (cents ? magnitude / 100 : magnitude) % scale;
        char* at = buffer_;
        if (raw < 0)
            *at++ = '-';
        at = std::to_chars(at, buffer_ + sizeof buffer_, magnitude / Currency::kScale).ptr;
        *at++ = '.';
        for (std::int64_t digit = scale / 10; digit > 0; digit /= 10)
            *at++ = static_cast<char>('0' + fraction / digit % 10);
        return QByteArrayView(buffer_, at - buffer_);
    }

private:
    char buffer_[32];
};

// The output's figures of an applied row, in the order of kOutputCaptions (no message).
template <class Write>
void writeFigures(const Applied& applied, EventKind kind, Account account, Write&& write)
{
    FigureText text;
    const Holding& holding = kind == EventKind::Transfer ? applied.target : applied.holding;
    const Figures& f = applied.figures;
    const auto optional = [&](const std::optional<Integer>& value) {
        write(value ? text.whole(*value) : QByteArrayView());
    };
    const bool held = touchesHolding(kind);
    write(held ? text.whole(holding.units) : QByteArrayView());
    write(!held || holding.units == 0 ? QByteArrayView() : text.price(holding.principal));
    write(!held || holding.units == 0 ? QByteArrayView() : text.price(holding.cost));
    for (const std::optional<Integer>* figure :
         {&f.contractAmount, &f.fee, &f.ordinary, &f.returned, &f.reinvestedUnits, &f.proceeds,
          &f.acquisitionCost, &f.gain, &f.incomeTax, &f.residentTax, &f.settlement})
        optional(*figure);
    write(account == Account::Specified ? text.whole(applied.year.gain) : QByteArrayView());
}

// Where the ledger stands between rows: every holding, the 特定口座's year and the last
// date applied. One entry per holding, whatever the number of rows.
class LedgerState {
public:
    // The holding of a fund in an account; a new one is empty.
    const Holding& holding(QByteArrayView fund, Account account)
    {
        const auto found = holdings_.find(keyOf(fund, account));
        return found == holdings_.end() ? kEmpty : found->second;
    }
    // Keeps an applied row's states.
    void keep(const Applied& applied, const Event& event, QByteArrayView fund)
    {
        if (touchesHolding(event.kind))
            store(keyOf(fund, event.account), applied.holding);
        if (event.kind == EventKind::Transfer)
            store(keyOf(fund, Account::Specified), applied.target);
        if (event.account == Account::Specified)
            year_ = applied.year;
        last_ = event.date;
    }
    // The 特定口座's year when `date` closes it (none when it does not), closed.
    std::optional<AccountYear> closeBefore(const QDate& date)
    {
        if (year_.year == 0 || date.year() <= year_.year)
            return std::nullopt;
        return std::exchange(year_, AccountYear{});
    }
    std::optional<AccountYear> closeAtEnd()
    {
        return year_.year == 0 ? std::nullopt : std::optional<AccountYear>(std::exchange(year_, AccountYear{}));
    }
    [[nodiscard]] const AccountYear& year() const { return year_; }
    [[nodiscard]] const QDate& last() const { return last_; }

private:
    const std::string& keyOf(QByteArrayView fund, Account account)
    {
        key_.assign(1, account == Account::Nisa ? 'N' : 'S');
        key_.append(fund.data(), static_cast<std::size_t>(fund.size()));
        return key_;
    }
    void store(const std::string& key, const Holding& holding)
    {
        // An emptied holding takes no room.
        if (holding.units == 0)
            holdings_.erase(key);
        else
            holdings_.insert_or_assign(key, holding);
    }

    static inline const Holding kEmpty{};
    std::unordered_map<std::string, Holding> holdings_;
    std::string key_;
    AccountYear year_;
    QDate last_;
};

// The row's input as the working shows it.
QString explainedInput(const CsvReader& reader, const Row& row, const ColumnIndex& columns)
{
    QString text = QStringLiteral("【%1 行目】\n").arg(reader.line());
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (!columns[c])
            continue;
        const QString cell = row.text(static_cast<Column>(c));
        if (!cell.isEmpty())
            text += kColumns[c].caption.toString() + QStringLiteral(" = ") + cell + u'\n';
    }
    return text;
}

// The report's columns, after 年 and 口座, in the order of the 特定口座年間取引報告書.
constexpr std::array<QStringView, 8> kReportCaptions{
    u"年", u"口座", u"譲渡の対価の額", u"取得費及び譲渡に要した費用の額等", u"差引金額（譲渡所得等の金額）",
    u"配当等の額", u"源泉徴収税額（所得税及び復興特別所得税）", u"源泉徴収税額（住民税）"};

QString accountName(Account account) { return account == Account::Nisa ? QStringLiteral("NISA") : QStringLiteral("特定"); }

// The ledger's run over one input.
class LedgerRun {
public:
    LedgerRun(const LedgerRequest& request, CsvReader& reader, const ColumnIndex& columns, CsvWriter& writer,
              QIODevice& output)
        : request_(request), reader_(reader), columns_(columns), writer_(writer), output_(output),
          width_(reader.fieldCount())
    {
    }

    [[nodiscard]] bool ok() const { return writer_.ok() && !textFailed_; }

    void header()
    {
        if (request_.report) {
            for (const QStringView caption : kReportCaptions)
                writer_.field(caption);
            writer_.endRecord();
            return;
        }
        for (qsizetype i = 0; i < width_; ++i)
            writer_.field(reader_.field(i));
        for (const QStringView caption : kOutputCaptions)
            writer_.field(caption);
        writer_.endRecord();
    }

    // Applies the row just read; false when it was refused.
    bool row()
    {
        const Row row(reader_, columns_);
        Trace working;
        Trace* trace = request_.explain && !request_.report ? &working : nullptr;
        const Outcome<Event, QString> event = readEvent(row);
        std::optional<Outcome<Applied, Refusal>> applied;
        if (event) {
            const QByteArrayView fund = row.bytes(kFund);
            const Holding holding = state_.holding(fund, event->account);
            const Holding target =
                event->kind == EventKind::Transfer ? state_.holding(fund, Account::Specified) : Holding{};
            applied.emplace(applyEvent(holding, state_.year(), state_.last(), *event, request_.roundings, trace, target));
            if (*applied) {
                if (const std::optional<AccountYear> closed = state_.closeBefore(event->date))
                    settle(*closed);
                state_.keep(applied->value(), *event, fund);
                tally(reports_[{event->date.year(), event->account}], applied->value().figures);
            }
        }
        const QString refusal = !event ? event.why() : !*applied ? refusalText(applied->why()) : QString();
        const bool shown = event && *applied;
        const Account account = event ? event->account : Account::Specified;
        if (request_.report)
            return shown;
        if (request_.explain) {
            QString text = explainedInput(reader_, row, columns_);
            for (const QString& step : working.steps())
                text += step + u'\n';
            if (shown) {
                text += QStringLiteral("【明細】\n");
                std::size_t at = 0;
                writeFigures(applied->value(), event->kind, account, [&](QByteArrayView figure) {
                    if (!figure.isEmpty())
                        text += kOutputCaptions[at].toString() + QStringLiteral(" = ") + QString::fromLatin1(figure) + u'\n';
                    ++at;
                });
            } else {
                text += QStringLiteral("断りました: %1\n").arg(refusal);
            }
            write(text + u'\n');
            return shown;
        }
        for (qsizetype i = 0; i < width_; ++i)
            writer_.field(reader_.field(i));
        if (shown) {
            writeFigures(applied->value(), event->kind, account, [&](QByteArrayView figure) { writer_.field(figure); });
            writer_.field(QByteArrayView());
        } else {
            for (std::size_t i = 0; i + 1 < kOutputCaptions.size(); ++i)
                writer_.field(QByteArrayView());
            writer_.field(refusal);
        }
        writer_.endRecord();
        return shown;
    }

    // At the end of the input: the open year's settlement, then the report.
    void finish()
    {
        if (const std::optional<AccountYear> closed = state_.closeAtEnd())
            settle(*closed);
        if (request_.report)
            report();
        if (!text_.isEmpty() && !textFailed_)
            textFailed_ = output_.write(text_) != text_.size();
        text_.clear();
    }

private:
    // The year-end settlement of a closed 特定口座 year, as a row of its own when it refunds.
    void settle(const AccountYear& year)
    {
        Trace working;
        const std::optional<Settlement> settlement =
            settleYear(year, request_.dividendNetting, request_.explain ? &working : nullptr);
        if (settlement)
            tally(reports_[{settlement->year, Account::Specified}], *settlement);
        if (request_.explain && !working.steps().isEmpty()) {
            const QString text =
                QStringLiteral("【%1 年の年末精算】\n").arg(year.year) + working.steps().join(u'\n') + u'\n';
            if (request_.report)
                settlementWorking_ += text + u'\n';
            else
                write(text + u'\n');
        }
        if (!settlement || request_.report || request_.explain)
            return;
        FigureText figures;
        const QByteArray date = QByteArray::number(settlement->year) + "-12-31";
        for (qsizetype i = 0; i < width_; ++i) {
            if (i == columns_[kDate])
                writer_.field(QByteArrayView(date));
            else if (i == columns_[kAccount])
                writer_.field(QStringView(u"特定"));
            else if (i == columns_[kEvent])
                writer_.field(QStringView(u"年末精算"));
            else
                writer_.field(QByteArrayView());
        }
        // Only the two taxes and the cash they make.
        for (std::size_t i = 0; i + 5 < kOutputCaptions.size(); ++i)
            writer_.field(QByteArrayView());
        writer_.field(figures.whole(settlement->incomeTax));
        writer_.field(figures.whole(settlement->residentTax));
        writer_.field(figures.whole(-(settlement->incomeTax + settlement->residentTax)));
        writer_.field(QByteArrayView());
        writer_.field(QByteArrayView());
        writer_.endRecord();
    }

    void report()
    {
        QString table;
        for (const auto& [key, line] : reports_) {
            const auto& [year, account] = key;
            const ExactYen sums[] = {line.proceeds, line.costs, line.net, line.dividends, line.incomeTax, line.residentTax};
            if (request_.reportText) {
                table += QStringLiteral("%1 年 %2口座\n").arg(year).arg(accountName(account));
                for (std::size_t i = 0; i < std::size(sums); ++i)
                    table += QStringLiteral("  %1\t%2\n").arg(kReportCaptions[i + 2].toString(), workingText(sums[i]));
                continue;
            }
            writer_.field(QByteArray::number(year));
            writer_.field(accountName(account));
            for (const ExactYen& sum : sums)
                writer_.field(workingText(sum));
            writer_.endRecord();
        }
        if (request_.explain && !settlementWorking_.isEmpty())
            table += (table.isEmpty() ? QString() : QStringLiteral("\n")) + settlementWorking_;
        if (!table.isEmpty()) {
            // After the CSV rows, if any.
            (void)writer_.flush();
            write(table);
        }
    }

    void write(const QString& text)
    {
        text_ += text.toUtf8();
        if (text_.size() >= 64 * 1024 && !textFailed_) {
            textFailed_ = output_.write(text_) != text_.size();
            text_.clear();
        }
    }

    const LedgerRequest& request_;
    CsvReader& reader_;
    const ColumnIndex& columns_;
    CsvWriter& writer_;
    QIODevice& output_;
    const qsizetype width_;
    LedgerState state_;
    std::map<std::pair<int, Account>, YearReport> reports_; // by year, 特定 before NISA
    QString settlementWorking_;
    QByteArray text_; // the working, written in chunks
    bool textFailed_ = false;
};

} // namespace

BatchResult runLedger(const LedgerRequest& request, QIODevice& input, QIODevice& output)
{
    CsvReader reader(input, 64 * 1024, request.encoding);
    if (auto refused = readHeader(reader))
        return *refused;
    QString problem;
    const std::optional<ColumnIndex> columns = mapColumns(reader, problem);
    if (!columns)
        return unreadable(problem);
    const bool csv = request.report ? !request.reportText : !request.explain;
    if (auto refused = refusedByteOrderMark(request.byteOrderMark && csv, reader))
        return *refused;

    // The CSV keeps the input's encoding, byte order mark and line breaks; the working
    // and the report's table are UTF-8 text.
    CsvWriter writer(output, reader.endedWithCrLf(), reader.encoding());
    LedgerRun run(request, reader, *columns, writer, output);
    if (csv) {
        if (reader.hadByteOrderMark() || request.byteOrderMark)
            writer.byteOrderMark();
        run.header();
    }

    BatchResult result;
    const qsizetype width = reader.fieldCount();
    while (run.ok() && nextRecord(reader, width, result)) {
        if (!run.row())
            result.kind = BatchResult::Kind::SomeRefused;
    }
    if (result.kind != BatchResult::Kind::Unreadable)
        run.finish();
    if (!writer.flush() || !run.ok())
        return {BatchResult::Kind::WriteFailed, output.errorString()};
    return result;
}
