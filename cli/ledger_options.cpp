#include "ledger_options.h"

#include "option_table.h"

#include <QRegularExpression>
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
            return std::optional<T>(std::in_place, meaning);
    }
    return std::nullopt;
}

// "a か b", "a、b か c": the values an option takes, as its refusal lists them.
QString alternatives(const QStringList& names)
{
    if (names.size() < 2)
        return names.join(QString());
    return QStringList(names.mid(0, names.size() - 1)).join(u'、') + QStringLiteral(" か ") + names.last();
}

// Sets `target` to the meaning of `value` among `names`; else why not.
template <class T>
QString pick(const QString& option, const QString& value, std::initializer_list<std::pair<const char*, T>> names,
             T& target)
{
    if (std::optional<T> meaning = choice<T>(value, names)) {
        target = *meaning;
        return QString();
    }
    QStringList all;
    for (const auto& entry : names)
        all.append(QLatin1String(entry.first));
    return QStringLiteral("--%1 は %2 です: %3").arg(option, alternatives(all), value);
}

// The day --as-of names: YYYY-MM-DD, and a day that exists.
QString readAsOf(const QString& value, QDate& day)
{
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (!form.match(value).hasMatch())
        return QStringLiteral("--as-of は YYYY-MM-DD で書きます: %1").arg(value);
    day = QDate::fromString(value, Qt::ISODate);
    if (!day.isValid())
        return QStringLiteral("--as-of の日付がありません: %1").arg(value);
    return QString();
}

enum class UnitsChoice { Up, Down, Broker };

// Applies the option `name` (one that takes a value) to `settings`; else why not.
QString setValue(const QString& name, const QString& value, LedgerSettings& settings)
{
    using ledger::PrincipalAverage;
    using ledger::PriceStep;
    using ledger::Rounding;
    ledger::Roundings& roundings = settings.book.roundings;
    if (name == QLatin1String("encoding")) {
        settings.encoding = encodingFromOption(value);
        return settings.encoding ? QString() : QStringLiteral("--encoding は utf-8 か cp932 です: %1").arg(value);
    }
    if (name == QLatin1String("principal-rounding"))
        return pick<Rounding>(name, value, {{"up", Rounding::Up}, {"down", Rounding::Down}, {"nearest", Rounding::HalfUp}},
                              roundings.principal);
    if (name == QLatin1String("cost-rounding"))
        return pick<PriceStep>(name, value, {{"up", PriceStep::Yen}, {"cent", PriceStep::Cent}}, roundings.cost);
    if (name == QLatin1String("units-rounding")) {
        UnitsChoice units = UnitsChoice::Up;
        const QString why = pick<UnitsChoice>(
            name, value, {{"up", UnitsChoice::Up}, {"down", UnitsChoice::Down}, {"broker", UnitsChoice::Broker}}, units);
        roundings.units = units == UnitsChoice::Down ? Rounding::Down : Rounding::Up;
        roundings.brokerUnits = units == UnitsChoice::Broker;
        return why;
    }
    if (name == QLatin1String("retention-rounding"))
        return pick<std::optional<Rounding>>(
            name, value,
            {{"down", Rounding::Down}, {"nearest", Rounding::HalfUp}, {"exact", std::optional<Rounding>()}},
            roundings.retention);
    if (name == QLatin1String("distribution-rounding"))
        return pick<Rounding>(name, value, {{"down", Rounding::Down}, {"nearest", Rounding::HalfUp}},
                              roundings.distribution);
    if (name == QLatin1String("contract-rounding"))
        return pick<Rounding>(name, value, {{"down", Rounding::Down}, {"nearest", Rounding::HalfUp}},
                              roundings.contract);
    if (name == QLatin1String("principal-average"))
        return pick<PrincipalAverage>(
            name, value, {{"pool", PrincipalAverage::Pool}, {"printed", PrincipalAverage::Printed}}, roundings.average);
    return readAsOf(value, settings.book.asOf);
}

} // namespace

Outcome<LedgerRequest, QString> parseLedgerArguments(const QStringList& arguments)
{
    LedgerRequest request;
    ledger::BookOptions& book = request.settings.book;
    bool explain = false;
    bool report = false;
    bool table = false;
    bool standardInput = false;
    QSet<QString> seen;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-") || !argument.startsWith(u'-')) {
            // Standard input is read as it comes, so it is the only input or none.
            if (standardInput || (argument == QLatin1String("-") && !request.files.isEmpty()))
                return failure(QStringLiteral("標準入力 (-) はほかのファイルと一緒には読めません"));
            standardInput = argument == QLatin1String("-");
            request.files.append(argument);
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

        if (name == QLatin1String("fund-names") || name == QLatin1String("nav") || name == QLatin1String("holdings")) {
            (name == QLatin1String("nav")        ? request.nav
             : name == QLatin1String("holdings") ? request.holdings
                                                 : request.fundNames) = value;
        } else if (name == QLatin1String("format")) {
            // The ledger writes CSV, its working or the report's table as text; no JSON.
            if (value == QLatin1String("json"))
                return failure(QStringLiteral("ledger では --format json は使えません"));
            if (value != QLatin1String("text") && value != QLatin1String("csv"))
                return failure(QStringLiteral("--format は csv か text です: %1").arg(value));
            table = value == QLatin1String("text");
        } else if (const QString why = setValue(name, value, request.settings); !why.isEmpty()) {
            return failure(why);
        }
    }
    request.given = QStringList(seen.begin(), seen.end());
    if (!seen.contains(QStringLiteral("as-of")))
        book.asOf = QDate::currentDate();
    if (table && !report)
        return failure(QStringLiteral("--format text は --report と一緒に使います"));
    using enum LedgerOutput;
    request.settings.output = !report ? (explain ? Working : Rows)
                              : table ? (explain ? ReportTableWithWorking : ReportTable)
                                      : (explain ? ReportWithWorking : Report);
    return request;
}
