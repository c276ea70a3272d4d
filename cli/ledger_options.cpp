#include "ledger_options.h"

#include "option_table.h"

#include <QSet>

namespace {

using Parsed = Outcome<LedgerRequest, QString>;

Parsed failure(const QString& why) { return why; }

// A value among `names`, each meaning the matching entry of `values`.
template <class T>
std::optional<T> choice(const QString& value, std::initializer_list<std::pair<const char*, T>> names)
{
    for (const auto& [name, meaning] : names) {
        if (value == QLatin1String(name))
            return meaning;
    }
    return std::nullopt;
}

} // namespace

Outcome<LedgerRequest, QString> parseLedgerArguments(const QStringList& arguments)
{
    using ledger::PriceStep;
    using ledger::Rounding;
    LedgerRequest request;
    ledger::BookOptions& book = request.settings.book;
    bool explain = false;
    bool report = false;
    bool table = false;
    bool haveFile = false;
    QSet<QString> seen;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-") || !argument.startsWith(u'-')) {
            if (haveFile)
                return failure(QStringLiteral("余分な引数です: %1").arg(argument));
            haveFile = true;
            request.file = argument;
            continue;
        }
        if (!argument.startsWith(QLatin1String("--")) || argument.size() == 2)
            return failure(QStringLiteral("余分な引数です: %1").arg(argument));
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        if (seen.contains(name))
            return failure(QStringLiteral("--%1 が二度指定されています").arg(name));
        seen.insert(name);

        const CliOption* option = findCliOption(name, kForLedger);
        if (!option)
            return failure(QStringLiteral("ledger にはないオプションです: --%1").arg(name));
        if (!option->takesValue) {
            if (equals >= 0)
                return failure(QStringLiteral("--%1 は値をとりません").arg(name));
            if (name == QLatin1String("no-dividend-netting"))
                book.dividendNetting = false;
            else
                (name == QLatin1String("bom") ? request.settings.byteOrderMark
                 : name == QLatin1String("report") ? report
                                                   : explain) = true;
            continue;
        }
        QString value;
        if (equals >= 0)
            value = argument.mid(equals + 1);
        else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--")))
            value = arguments.at(++i);
        else
            return failure(QStringLiteral("--%1 には値が必要です").arg(name));

        if (name == QLatin1String("encoding")) {
            request.settings.encoding = encodingFromOption(value);
            if (!request.settings.encoding)
                return failure(QStringLiteral("--encoding は utf-8 か cp932 です: %1").arg(value));
        } else if (name == QLatin1String("format")) {
            // The ledger writes CSV, its working or the report's table as text; no JSON.
            if (value == QLatin1String("json"))
                return failure(QStringLiteral("ledger では --format json は使えません"));
            if (value != QLatin1String("text") && value != QLatin1String("csv"))
                return failure(QStringLiteral("--format は csv か text です: %1").arg(value));
            table = value == QLatin1String("text");
        } else if (name == QLatin1String("principal-rounding")) {
            const auto rounding = choice<Rounding>(
                value, {{"up", Rounding::Up}, {"down", Rounding::Down}, {"nearest", Rounding::HalfUp}});
            if (!rounding)
                return failure(QStringLiteral("--principal-rounding は up、down か nearest です: %1").arg(value));
            book.roundings.principal = *rounding;
        } else if (name == QLatin1String("cost-rounding")) {
            const auto step = choice<PriceStep>(value, {{"up", PriceStep::Yen}, {"cent", PriceStep::Cent}});
            if (!step)
                return failure(QStringLiteral("--cost-rounding は up か cent です: %1").arg(value));
            book.roundings.cost = *step;
        } else {
            const auto rounding = choice<Rounding>(value, {{"up", Rounding::Up}, {"down", Rounding::Down}});
            if (!rounding)
                return failure(QStringLiteral("--units-rounding は up か down です: %1").arg(value));
            book.roundings.units = *rounding;
        }
    }
    if (table && !report)
        return failure(QStringLiteral("--format text は --report と一緒に使います"));
    using enum LedgerOutput;
    request.settings.output = !report ? (explain ? Working : Rows)
                              : table ? (explain ? ReportTableWithWorking : ReportTable)
                                      : (explain ? ReportWithWorking : Report);
    return request;
}
