#include "options.h"

#include "option_table.h"

#include "csv/cell_text.h"

#include <QSet>

namespace {

const QString kCsv = QStringLiteral("csv");
const QString kHelp = QStringLiteral("help");
const QString kRange = QStringLiteral("range");
const QString kExplain = QStringLiteral("explain");
const QString kEncoding = QStringLiteral("encoding");
const QString kBom = QStringLiteral("bom");
const QString kRules = QStringLiteral("rules");
const QString kNisa = QStringLiteral("nisa");

ParsedArguments failure(const QString& error) { return error; }

QString calculatorNames()
{
    QStringList names;
    for (const CliCalculator& calculator : cliCalculators())
        names.append(calculator.name.toString());
    names.append(kLedgerCommand.toString());
    return names.join(QStringLiteral(", "));
}

const BoxOption* findBoxOption(const CliCalculator& calculator, QStringView name)
{
    for (const BoxOption& option : calculator.options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

bool isHelp(const QString& argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help");
}

} // namespace

ParsedArguments parseArguments(const QStringList& arguments)
{
    // Asking for help is never an error, wherever it stands.
    for (const QString& argument : arguments) {
        if (isHelp(argument))
            return Invocation(HelpRequest{});
    }
    if (arguments.isEmpty())
        return failure(QStringLiteral("計算の種類を指定してください（%1）").arg(calculatorNames()));
    if (arguments.size() == 1 && arguments.front() == QLatin1String("--version"))
        return Invocation(VersionRequest{});

    if (arguments.front() == kLedgerCommand) {
        const Outcome<LedgerRequest, QString> ledger = parseLedgerArguments(arguments.mid(1));
        if (!ledger)
            return failure(ledger.why());
        return Invocation(*ledger);
    }
    CalculationRequest one;
    std::optional<CsvEncoding> encoding;
    bool byteOrderMark = false;
    one.calculator = findCalculator(arguments.front());
    if (!one.calculator) {
        if (arguments.front().startsWith(u'-'))
            return failure(QStringLiteral("最初に計算の種類を指定してください（%1）")
                               .arg(calculatorNames()));
        return failure(QStringLiteral("計算の種類が違います: %1（%2）")
                           .arg(arguments.front(), calculatorNames()));
    }
    const CliCalculator& calculator = *one.calculator;
    for (const BoxOption& option : calculator.options)
        one.texts.set(*option.box, option.box->initialText.toString());

    bool csv = false;
    QSet<QString> seen;
    QString firstCalculationOption; // the first option that --csv cannot go with
    QString firstBatchOption;       // the first option that needs --csv
    QString stray; // the first argument that is no option: a batch's input file
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--")) || argument.size() == 2) {
            // "-" is standard input, as every CSV tool takes it; "--" is no file.
            if (!stray.isEmpty() || argument == QLatin1String("--")
                || (argument.startsWith(u'-') && argument != QLatin1String("-")))
                return failure(QStringLiteral("余分な引数です: %1").arg(argument));
            stray = argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const bool inlineValue = equals >= 0;

        const BoxOption* boxOption = findBoxOption(calculator, name);
        const CliOption* common = findCliOption(name, kForCalculators);
        const bool isFlag = (common && !common->takesValue)
                            || (calculator.calculator.option() && name == kFeeCoveredOption);
        if (!boxOption && !common && !isFlag)
            return failure(QStringLiteral("%1 にはないオプションです: --%2")
                               .arg(calculator.name.toString(), name));
        if (seen.contains(name))
            return failure(QStringLiteral("--%1 が二度指定されています").arg(name));
        seen.insert(name);

        if (isFlag) {
            // --csv=FILE names the input as a trailing FILE does.
            if (name == kCsv && inlineValue) {
                if (!stray.isEmpty())
                    return failure(QStringLiteral("余分な引数です: %1").arg(stray));
                stray = argument.mid(equals + 1);
                if (stray.isEmpty())
                    return failure(QStringLiteral("--csv= のあとにファイル名が必要です"));
            } else if (inlineValue) {
                return failure(QStringLiteral("--%1 は値をとりません").arg(name));
            }
            if (name == kCsv) {
                csv = true;
                continue;
            }
            if (name == kBom) {
                byteOrderMark = true;
                firstBatchOption = firstBatchOption.isEmpty() ? name : firstBatchOption;
                continue;
            }
            if (name == kNisa) {
                // Like the rules, it goes with a batch as well.
                one.rules.nisa = true;
                continue;
            }
            if (name == kExplain)
                one.explain = true;
            else
                one.feePaidFromFunds = true;
        } else {
            QString value;
            if (inlineValue) {
                value = argument.mid(equals + 1);
            } else if (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1String("--"))) {
                value = arguments.at(++i);
            } else {
                return failure(QStringLiteral("--%1 には値が必要です").arg(name));
            }
            if (boxOption) {
                one.texts.set(*boxOption->box, figureCell(value, holdsPercentage(*boxOption->box)));
            } else if (name == kRange) {
                if (value == QLatin1String("wide"))
                    one.range = IntegerRange::wide();
                else if (value != QLatin1String("narrow"))
                    return failure(QStringLiteral("--range は narrow か wide です: %1").arg(value));
                // The range goes with a batch as well as with one calculation.
                continue;
            } else if (name == kEncoding) {
                encoding = encodingFromOption(value);
                if (!encoding)
                    return failure(QStringLiteral("--encoding は utf-8 か cp932 です: %1").arg(value));
                firstBatchOption = firstBatchOption.isEmpty() ? name : firstBatchOption;
                continue;
            } else if (name == kRules) {
                if (value == QLatin1String("current"))
                    one.rules.set = RuleSet::Current;
                else if (value != kClassicRules && value != kClassicRulesAlias)
                    return failure(QStringLiteral("--rules は classic か current です: %1").arg(value));
                continue;
            } else if (value == QLatin1String("text")) {
                one.format = OutputFormat::Text;
            } else if (value == QLatin1String("json")) {
                one.format = OutputFormat::Json;
            } else {
                return failure(QStringLiteral("--format は text か json です: %1").arg(value));
            }
        }
        if (firstCalculationOption.isEmpty())
            firstCalculationOption = name;
    }

    for (const BoxOption& option : calculator.options) {
        if (!seen.contains(option.name.toString()))
            one.texts.set(*option.box, omittedText(option, one.rules.set).toString());
    }
    if (!stray.isEmpty() && !csv)
        return failure(QStringLiteral("余分な引数です: %1（CSV のファイルなら --csv と一緒に）").arg(stray));
    if (csv && !firstCalculationOption.isEmpty())
        return failure(QStringLiteral("--csv と --%1 は一緒に使えません")
                           .arg(firstCalculationOption));
    if (!csv && !firstBatchOption.isEmpty())
        return failure(QStringLiteral("--%1 は --csv と一緒に使います").arg(firstBatchOption));
    if (csv)
        return Invocation(
            BatchRequest{&calculator, one.range, {encoding, byteOrderMark, one.rules}, stray});
    return Invocation(one);
}
