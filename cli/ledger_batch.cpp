#include "ledger_batch.h"

#include "csv_reader.h"
#include "csv_writer.h"

#include "core/number_text.h"

#include <QIODevice>

#include <array>
#include <charconv>
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
    QStringView japanese;
    QStringView english;
    EventKind kind;
};
constexpr std::array<EventName, 5> kEvents{{
    {u"残高", u"open", EventKind::Balance},
    {u"買付", u"buy", EventKind::Purchase},
    {u"分配", u"distribution", EventKind::Distribution},
    {u"再投資", u"reinvest", EventKind::Reinvestment},
    {u"解約", u"redemption", EventKind::Redemption},
}};

using ColumnIndex = std::array<std::optional<qsizetype>, kColumnCount>;

BatchResult unreadable(const QString& problem) { return {BatchResult::Kind::Unreadable, problem}; }

BatchResult unreadableAt(const CsvReader& reader, const QString& problem)
{
    return unreadable(QStringLiteral("入力の %1 行目: %2").arg(reader.line()).arg(problem));
}

std::optional<ColumnIndex> mapColumns(const CsvReader& header, QString& problem)
{
    ColumnIndex found;
    for (qsizetype i = 0; i < header.fieldCount(); ++i) {
        const QString name = header.fieldText(i).trimmed();
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
        const QString cellText = text(c);
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
        const QString cell = text(c);
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
    if (row.bytes(kFund).isEmpty())
        return QStringLiteral("銘柄が入力されていません");

    const QString account = row.text(kAccount);
    if (account == u"NISA" || account == u"nisa")
        event.account = Account::Nisa;
    else if (!account.isEmpty() && account != u"特定")
        return QStringLiteral("口座は 特定 か NISA です: %1").arg(account);

    const QString name = row.text(kEvent);
    const auto known = std::find_if(kEvents.begin(), kEvents.end(), [&](const EventName& e) {
        return name == e.japanese || name == e.english;
    });
    if (known == kEvents.end()) {
        if (name.isEmpty())
            return QStringLiteral("取引が入力されていません");
        return QStringLiteral("取引が違います: %1（残高、買付、分配、再投資、解約）").arg(name);
    }
    event.kind = known->kind;

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
void writeFigures(const Applied& applied, Account account, Write&& write)
{
    FigureText text;
    const Holding& holding = applied.holding;
    const Figures& f = applied.figures;
    const auto optional = [&](const std::optional<Integer>& value) {
        write(value ? text.whole(*value) : QByteArrayView());
    };
    write(text.whole(holding.units));
    write(holding.units == 0 ? QByteArrayView() : text.price(holding.principal));
    write(holding.units == 0 ? QByteArrayView() : text.price(holding.cost));
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
    // The holding of a row's fund and account; a new one is empty.
    const Holding& holding(const Row& row, Account account)
    {
        const QByteArrayView fund = row.bytes(kFund);
        key_.assign(1, account == Account::Nisa ? 'N' : 'S');
        key_.append(fund.data(), static_cast<std::size_t>(fund.size()));
        const auto found = holdings_.find(key_);
        return found == holdings_.end() ? kEmpty : found->second;
    }
    // Keeps an applied row's states, for the holding last asked for.
    void keep(const Applied& applied, const Event& event)
    {
        holdings_.insert_or_assign(key_, applied.holding);
        if (event.account == Account::Specified)
            year_ = applied.year;
        last_ = event.date;
    }
    [[nodiscard]] const AccountYear& year() const { return year_; }
    [[nodiscard]] const QDate& last() const { return last_; }

private:
    static inline const Holding kEmpty{};
    std::unordered_map<std::string, Holding> holdings_;
    std::string key_;
    AccountYear year_;
    QDate last_;
};

// The working of one row, as text.
QByteArray explained(const CsvReader& reader, const Row& row, const ColumnIndex& columns,
                     const Trace& working, const Outcome<Applied, QString>* outcome, Account account,
                     const QString& refusal)
{
    QString text = QStringLiteral("【%1 行目】\n").arg(reader.line());
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        if (!columns[c])
            continue;
        const QString cell = row.text(static_cast<Column>(c));
        if (!cell.isEmpty())
            text += kColumns[c].caption.toString() + QStringLiteral(" = ") + cell + u'\n';
    }
    for (const QString& step : working.steps())
        text += step + u'\n';
    if (outcome && *outcome) {
        text += QStringLiteral("【明細】\n");
        std::size_t at = 0;
        writeFigures(outcome->value(), account, [&](QByteArrayView figure) {
            if (!figure.isEmpty())
                text += kOutputCaptions[at].toString() + QStringLiteral(" = ") + QString::fromLatin1(figure) + u'\n';
            ++at;
        });
    } else {
        text += QStringLiteral("断りました: %1\n").arg(refusal);
    }
    return text.toUtf8() + '\n';
}

} // namespace

BatchResult runLedger(const LedgerRequest& request, QIODevice& input, QIODevice& output)
{
    CsvReader reader(input, 64 * 1024, request.encoding);
    switch (reader.next()) {
    case CsvReader::Result::End:
        return unreadable(QStringLiteral("入力が空です（見出しの行が必要です）"));
    case CsvReader::Result::Malformed:
        return unreadableAt(reader, reader.problem());
    case CsvReader::Result::Record:
        break;
    }
    QString problem;
    const std::optional<ColumnIndex> columns = mapColumns(reader, problem);
    if (!columns)
        return unreadable(problem);
    if (request.byteOrderMark && reader.encoding() != CsvEncoding::Utf8 && !request.explain)
        return unreadable(QStringLiteral("入力が CP932 なので、出力も CP932 です。"
                                         "--bom は UTF-8 の出力にだけ使えます"));

    // The CSV keeps the input's encoding, byte order mark and line breaks; the working
    // is UTF-8 text.
    CsvWriter writer(output, reader.endedWithCrLf(), reader.encoding());
    const qsizetype width = reader.fieldCount();
    if (!request.explain) {
        if (reader.hadByteOrderMark() || request.byteOrderMark)
            writer.byteOrderMark();
        for (qsizetype i = 0; i < width; ++i)
            writer.field(reader.field(i));
        for (const QStringView caption : kOutputCaptions)
            writer.field(caption);
        writer.endRecord();
    }

    BatchResult result;
    LedgerState state;
    QByteArray text; // the working, written in chunks
    bool textFailed = false;
    while (writer.ok() && !textFailed) {
        const CsvReader::Result read = reader.next();
        if (read == CsvReader::Result::End)
            break;
        if (read == CsvReader::Result::Malformed) {
            result = unreadableAt(reader, reader.problem());
            break;
        }
        if (reader.fieldCount() != width) {
            const QString hint = reader.fieldCount() > width
                                     ? QStringLiteral("。「,」を含む値は \"\" で囲みます")
                                     : QString();
            result = unreadableAt(reader, QStringLiteral("列が %1 個あります（見出しは %2 個%3）")
                                              .arg(reader.fieldCount())
                                              .arg(width)
                                              .arg(hint));
            break;
        }

        const Row row(reader, *columns);
        Trace working;
        Trace* trace = request.explain ? &working : nullptr;
        const Outcome<Event, QString> event = readEvent(row);
        std::optional<Outcome<Applied, QString>> applied;
        if (event) {
            const Holding& holding = state.holding(row, event->account);
            applied.emplace(applyEvent(holding, state.year(), state.last(), *event, request.roundings, trace));
            if (*applied)
                state.keep(applied->value(), *event);
        }
        const QString refusal = !event ? event.why() : !*applied ? applied->why() : QString();
        if (!refusal.isEmpty())
            result.kind = BatchResult::Kind::SomeRefused;

        if (request.explain) {
            text += explained(reader, row, *columns, working, applied ? &*applied : nullptr,
                              event ? event->account : Account::Specified, refusal);
            if (text.size() >= 64 * 1024) {
                textFailed = output.write(text) != text.size();
                text.clear();
            }
            continue;
        }
        for (qsizetype i = 0; i < width; ++i)
            writer.field(reader.field(i));
        if (refusal.isEmpty()) {
            writeFigures(applied->value(), event->account, [&](QByteArrayView figure) { writer.field(figure); });
            writer.field(QByteArrayView());
        } else {
            for (std::size_t i = 0; i + 1 < kOutputCaptions.size(); ++i)
                writer.field(QByteArrayView());
            writer.field(refusal);
        }
        writer.endRecord();
    }

    if (request.explain && !textFailed && !text.isEmpty())
        textFailed = output.write(text) != text.size();
    if (!writer.flush() || textFailed)
        return {BatchResult::Kind::WriteFailed, output.errorString()};
    return result;
}
