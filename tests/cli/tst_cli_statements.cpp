// One calculation from options, through the real executable: statements, refusals,
// usage errors and their exit statuses.
#include "cli_examples.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

QStringList optionsFor(const CalculatorShape& shape, const Example& example)
{
    QStringList arguments{QString::fromUtf8(shape.name)};
    for (std::size_t i = 0; i < 4; ++i)
        arguments << QStringLiteral("--%1").arg(shape.options[i]) << QString::fromUtf8(example.inputs[i]);
    if (example.feeCovered)
        arguments << QStringLiteral("--fee-covered");
    return arguments;
}

// "caption<TAB>figure" lines, as the statement window shows them.
QByteArray statementLines(const CalculatorShape& shape, const char* figures)
{
    const QStringList captions = split(shape.captions);
    const QStringList shown = split(figures);
    QByteArray lines;
    for (qsizetype i = 0; i < captions.size(); ++i)
        lines += (captions.at(i) + u'\t' + shown.value(i) + u'\n').toUtf8();
    return lines;
}

void addExamples(const CalculatorShape& shape, const std::vector<Example>& examples,
                 const QStringList& rules = {})
{
    for (const Example& example : examples)
        QTest::newRow(example.name) << optionsFor(shape, example) + rules
                                    << statementLines(shape, example.figures);
}

void addColumns()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");
}

const QStringList kCurrent{"--rules", "current"};

void verifyStatement()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    const CliRun run = runCli(arguments);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, expected);
    QCOMPARE(run.exitCode, 0);
}

} // namespace

class CliStatementsTest : public QObject {
    Q_OBJECT
private slots:
    void purchase_data()
    {
        addColumns();
        addExamples(kPurchase, kPurchaseExamples);
    }
    void purchase() { verifyStatement(); }
    void redemption_data()
    {
        addColumns();
        addExamples(kRedemption, kRedemptionExamples);
        QTest::newRow("--rules windows as without it")
            << optionsFor(kRedemption, kRedemptionExamples[0]) + QStringList{"--rules", "windows"}
            << statementLines(kRedemption, kRedemptionExamples[0].figures);
        QTest::newRow("--rules classic as without it")
            << optionsFor(kRedemption, kRedemptionExamples[0]) + QStringList{"--rules", "classic"}
            << statementLines(kRedemption, kRedemptionExamples[0].figures);
        addExamples(kRedemptionCurrent, kRedemptionCurrentExamples, kCurrent);
        addExamples(kRedemptionCurrent, kRedemptionNisaExamples, kCurrent + QStringList{"--nisa"});
        QTest::newRow("NISA under the windows' rules")
            << optionsFor(kRedemption, kRedemptionExamples[0]) + QStringList{"--nisa"}
            << statementLines(kRedemption, "120000,0,360,119640");
    }
    void redemption() { verifyStatement(); }
    void distribution_data()
    {
        addColumns();
        addExamples(kDistribution, kDistributionExamples);
        addExamples(kDistributionCurrent, kDistributionCurrentExamples, kCurrent);
        addExamples(kDistributionCurrent, kDistributionNisaExamples, kCurrent + QStringList{"--nisa"});
    }
    void distribution() { verifyStatement(); }

    // Left-out options hold what the window's boxes open with; values take either form.
    void optionForms_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("fee 3 and tax 5 by default")
            << QStringList{"purchase", "--funds", "10000", "--nav", "10000"}
            << statementLines(kPurchase, "10000,10000,315,10315");
        QTest::newRow("retention 0.3 by default")
            << QStringList{"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "100000"}
            << statementLines(kRedemption, "120000,3928,360,115712");
        QTest::newRow("values after = and options in any order")
            << QStringList{"purchase", "--fee-covered", "--tax=5", "--nav=10000", "--funds=10000", "--fee=3"}
            << statementLines(kPurchase, "9694,9694,305,10000");
        QTest::newRow("tax 10 by default under today's rules")
            << QStringList{"purchase", "--rules", "current", "--funds", "10000", "--nav", "10000"}
            << statementLines(kPurchase, "10000,10000,330,10330");
        QTest::newRow("a given tax kept under today's rules")
            << QStringList{"purchase", "--rules=current", "--tax", "5", "--funds", "10000", "--nav", "10000"}
            << statementLines(kPurchase, "10000,10000,315,10315");
        QTest::newRow("negative value as the next argument")
            << QStringList{"purchase", "--funds", "-10000", "--nav", "10000"}
            << statementLines(kPurchase, "-10000,-10000,-315,-10315");
        QTest::newRow("a no-load fund under today's rules")
            << QStringList{"purchase", "--rules", "current", "--funds", "10000", "--nav", "12345", "--fee", "0"}
            << statementLines(kPurchase, "8100,9999,0,10000");
        // Spellings copied from spreadsheets, web pages and PDFs.
        QTest::newRow("percent signs") << QStringList{"purchase", "--funds", "10000", "--nav", "10000",
                                                      "--fee", "3.00%", "--tax", "５％"}
                                       << statementLines(kPurchase, "10000,10000,315,10315");
        QTest::newRow("U+2212 minus") << QStringList{"purchase", "--funds", "−10000", "--nav", "10000"}
                                      << statementLines(kPurchase, "-10000,-10000,-315,-10315");
    }
    void optionForms() { verifyStatement(); }

    // The grammar is the command line's own: the locale's separators do not apply.
    void localeIgnored()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        const CliRun run = runCli({"purchase", "--funds", "20,000", "--nav", "10,523", "--fee", "3.15",
                                   "--tax", "8"},
                                  {}, environment);
        QCOMPARE(run.out, statementLines(kPurchase, "19005,20000,680,20680"));
        QCOMPARE(run.exitCode, 0);
    }

    void json_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("calculator");
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("figures");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("failedStep"); // with --explain: "step/figure"
        QTest::newRow("purchase") << optionsFor(kPurchase, kPurchaseExamples[1]) << "purchase"
                                  << kPurchase.captions << kPurchaseExamples[1].figures << "" << 0 << "";
        QTest::newRow("redemption") << optionsFor(kRedemption, kRedemptionExamples[0]) << "redemption"
                                    << kRedemption.captions << kRedemptionExamples[0].figures << "" << 0 << "";
        QTest::newRow("distribution") << optionsFor(kDistribution, kDistributionExamples[9])
                                      << "distribution" << kDistribution.captions
                                      << kDistributionExamples[9].figures << "" << 0 << "";
        QTest::newRow("redemption under today's rules")
            << optionsFor(kRedemption, kRedemptionCurrentExamples[0]) + kCurrent << "redemption"
            << kRedemptionCurrent.captions << kRedemptionCurrentExamples[0].figures << "" << 0 << "";
        QTest::newRow("refused") << QStringList{"purchase", "--funds", "10000"} << "purchase" << ""
                                 << "" << "基準価額が入力されていません" << 1 << "";
        QTest::newRow("refused step with its working")
            << QStringList{"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "1000000", "--explain"}
            << "redemption" << "" << "" << "税金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）"
            << 1 << "税金/税金";
    }
    void json()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, calculator);
        QFETCH(QString, captions);
        QFETCH(QString, figures);
        QFETCH(QString, message);
        QFETCH(int, exitCode);
        QFETCH(QString, failedStep);

        const CliRun run = runCli(arguments << "--format" << "json");
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err, QByteArray());
        QVERIFY2(run.out.endsWith('\n') && run.out.count('\n') == 1, run.out.constData());
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(run.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(object.value("calculator").toString(), calculator);
        QCOMPARE(object.value("message").toString(), message);
        QStringList shownCaptions;
        QStringList shownFigures;
        for (const QJsonValue row : object.value("statement").toArray()) {
            shownCaptions << row["caption"].toString();
            QVERIFY(row["figure"].isDouble());
            shownFigures << QString::number(row["figure"].toInteger());
        }
        QCOMPARE(shownCaptions.join(u','), captions);
        QCOMPARE(shownFigures.join(u','), figures);
        const QJsonObject failed = object.value("failedStep").toObject();
        QCOMPARE(failed.isEmpty() ? QString() : failed["step"].toString() + u'/' + failed["figure"].toString(),
                 failedStep);
        // The working goes as far as the step that failed, and no further.
        if (!failedStep.isEmpty())
            QVERIFY(object.value("working").toArray().last().toString().startsWith(failed["step"].toString() + " = "));
    }

    // A calculation the window would refuse prints the window's message on standard
    // error and nothing else.
    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("lastLine"); // of standard output, with --explain
        const auto row = [](const char* name, QStringList arguments, const char* message,
                            const char* lastLine = "") {
            QTest::newRow(name) << arguments << QString::fromUtf8(message) << QString::fromUtf8(lastLine);
        };
        row("funds left at 0", {"purchase"}, "購入資金が入力されていません");
        row("NAV left at 0", {"purchase", "--funds", "10000"}, "基準価額が入力されていません");
        row("funds empty", {"purchase", "--funds", "", "--nav", "10000"}, "購入資金が入力されていません");
        row("funds not a number", {"purchase", "--funds", "abc", "--nav", "10000"},
            "購入資金には数値を入力してください");
        row("fee with an exponent", {"purchase", "--funds", "10000", "--nav", "10000", "--fee", "1e3"},
            "販売手数料(%)には数値を入力してください");
        row("funds beyond an Integer", {"purchase", "--funds", "32768", "--nav", "10000"},
            "購入資金には -32768 から 32767 までの数値を入力してください（--range wide で広い範囲）");
        row("total beyond an Integer", {"purchase", "--funds", "31767", "--nav", "10000"},
            "総投資額が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）");
        // The hint only where the wide range would get past the step that failed.
        row("fee beyond the wide range too: no hint",
            {"purchase", "--funds", "32767", "--nav", "1", "--fee", "-99.9999999999", "--tax", "0", "--fee-covered"},
            "手数料が計算できる範囲を超えています");
        row("fee beyond the narrow range alone",
            {"purchase", "--funds", "32767", "--nav", "1", "--fee", "-99.99999", "--tax", "0", "--fee-covered"},
            "手数料が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）");
        row("cost factor of zero",
            {"purchase", "--funds", "10000", "--nav", "10000", "--fee", "-100", "--tax", "0", "--fee-covered"},
            "入力された値では計算できません");
        row("current NAV left at 0", {"redemption", "--principal-nav", "10000"},
            "現在の基準価額が入力されていません");
        row("units beyond Currency",
            {"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "922337203685478"},
            "所有口数の数値が大きすぎます");
        row("tax beyond an Integer",
            {"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "1000000"},
            "税金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）");
        row("tax beyond an Integer, explained: the step named once",
            {"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "1000000", "--explain"},
            "税金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）",
            "計算できなかった手順: 税金");
        row("today's tax beyond an Integer: 25,091 + 8,191",
            {"redemption", "--rules", "current", "--principal-nav", "10000", "--nav", "20000", "--units",
             "163837.4", "--retention", "0"},
            "税金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）");
        row("fee 0 missing under the classic rules",
            {"purchase", "--funds", "10000", "--nav", "12345", "--fee", "0"}, "販売手数料(%)が入力されていません");
        // Today's rules refuse what no holding can be; a 0 stays a missing input.
        const QStringList today{"--rules", "current"};
        row("today: negative funds", QStringList{"purchase", "--funds", "-1", "--nav", "10000"} + today,
            "購入資金には 0 より大きい数値を入力してください");
        row("today: negative NAV", QStringList{"redemption", "--principal-nav", "-1", "--nav", "10000", "--units", "1"} + today,
            "元本の基準価額には 0 より大きい数値を入力してください");
        row("today: negative units", QStringList{"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "-10000"} + today,
            "所有口数には 0 より大きい数値を入力してください");
        row("today: negative distribution",
            QStringList{"distribution", "--principal-nav", "10000", "--nav", "10500", "--distribution", "-7", "--units", "100000"} + today,
            "分配金には 0 より大きい数値を入力してください");
        row("today: retention over 100", QStringList{"redemption", "--principal-nav", "10000", "--nav", "12000", "--units", "10000", "--retention", "150"} + today,
            "信託留保(%)には 0 から 100 までの数値を入力してください");
        row("today: negative fee", QStringList{"purchase", "--funds", "10000", "--nav", "10000", "--fee", "-3"} + today,
            "販売手数料(%)には 0 から 100 までの数値を入力してください");
        row("today: tax over 100", QStringList{"purchase", "--funds", "10000", "--nav", "10000", "--tax", "100.5"} + today,
            "消費税(%)には 0 から 100 までの数値を入力してください");
        row("today: units 0 still missing", QStringList{"redemption", "--principal-nav", "10000", "--nav", "12000"} + today,
            "所有口数が入力されていません");
        row("today: principal returned per 10,000 units beyond an Integer",
            QStringList{"distribution", "--principal-nav", "32767", "--nav", "1", "--distribution", "50", "--units", "0.5"} + today,
            "分配後元本基準価額が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）");
        row("principal NAV left at 0", {"distribution"}, "元本の基準価額が入力されていません");
        row("distribution tie beyond an Integer",
            {"distribution", "--principal-nav", "10000", "--nav", "9800", "--distribution", "32767.5",
             "--units", "100"},
            "分配金には -32768 から 32767 までの数値を入力してください（--range wide で広い範囲）");
        row("non-taxable beyond Currency, the step named apart from its figure",
            {"distribution", "--principal-nav", "10000", "--nav", "9800", "--distribution", "500",
             "--units", "1000000000000", "--explain"},
            "非課税分配金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）",
            "計算できなかった手順: 元本を下回る額（非課税分配金）");
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(QString, lastLine);
        const CliRun run = runCli(arguments);
        QCOMPARE(QString::fromUtf8(run.err), message + u'\n');
        QCOMPARE(QString::fromUtf8(run.out).trimmed().section(u'\n', -1), lastLine);
        QCOMPARE(run.exitCode, 1);
    }

    // A usage error is one line on standard error and status 2; nothing is calculated.
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("names"); // what the line must name
        QTest::newRow("nothing") << QStringList{} << "purchase";
        QTest::newRow("unknown calculator") << QStringList{"buy"} << "buy";
        QTest::newRow("option before the calculator") << QStringList{"--funds", "1", "purchase"} << "purchase";
        QTest::newRow("unknown option") << QStringList{"purchase", "--amount", "1"} << "--amount";
        QTest::newRow("another calculator's option") << QStringList{"redemption", "--fee-covered"}
                                                    << "--fee-covered";
        QTest::newRow("value missing at the end") << QStringList{"purchase", "--nav"} << "--nav";
        QTest::newRow("value missing before another option")
            << QStringList{"purchase", "--funds", "--nav", "10000"} << "--funds には値が必要です";
        QTest::newRow("--bom without --csv") << QStringList{"purchase", "--bom"} << "--bom は --csv と一緒に使います";
        QTest::newRow("unknown encoding") << QStringList{"purchase", "--csv", "--encoding", "sjis"} << "sjis";
        QTest::newRow("option given twice") << QStringList{"purchase", "--nav", "1", "--nav=2"} << "--nav";
        QTest::newRow("flag with a value") << QStringList{"purchase", "--fee-covered=1"} << "--fee-covered";
        QTest::newRow("unknown format") << QStringList{"purchase", "--format", "xml"} << "xml";
        QTest::newRow("unknown rules") << QStringList{"redemption", "--rules", "2013"} << "2013";
        QTest::newRow("nisa with a value") << QStringList{"redemption", "--nisa=1"} << "--nisa";
        QTest::newRow("stray argument") << QStringList{"purchase", "10000"} << "10000";
        QTest::newRow("single dash") << QStringList{"purchase", "-funds", "1"} << "-funds";
        QTest::newRow("csv with a box option") << QStringList{"purchase", "--csv", "--funds", "1"} << "--funds";
        QTest::newRow("csv with a format") << QStringList{"redemption", "--format=json", "--csv"} << "--format";
        QTest::newRow("two input files") << QStringList{"purchase", "--csv", "a.csv", "b.csv"} << "b.csv";
        QTest::newRow("input file that is not there") << QStringList{"purchase", "--csv=/nonexistent/a.csv"}
                                                      << "/nonexistent/a.csv";
        // Each command takes its own options, flags without a value and the others with one.
        QTest::newRow("the ledger's option to a calculator") << QStringList{"purchase", "--report"}
                                                             << "purchase にはないオプションです: --report";
        QTest::newRow("a calculator's option to the ledger") << QStringList{"ledger", "--nisa"}
                                                             << "ledger にはないオプションです: --nisa";
        QTest::newRow("a ledger flag with a value") << QStringList{"ledger", "--report=1"} << "--report は値をとりません";
        QTest::newRow("a ledger option without its value") << QStringList{"ledger", "--cost-rounding"}
                                                           << "--cost-rounding には値が必要です";
        QTest::newRow("a convention the ledger does not know") << QStringList{"ledger", "--units-rounding", "nearest"}
                                                               << "--units-rounding は up、down か broker です: nearest";
        QTest::newRow("a retention rounding of two values") << QStringList{"ledger", "--retention-rounding=up"}
                                                            << "--retention-rounding は down、nearest か exact です: up";
        QTest::newRow("--as-of in another form") << QStringList{"ledger", "--as-of", "2024/12/31"}
                                                 << "--as-of は YYYY-MM-DD で書きます: 2024/12/31";
        QTest::newRow("--as-of a day that does not exist") << QStringList{"ledger", "--as-of=2023-02-29"}
                                                           << "--as-of の日付がありません: 2023-02-29";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, names);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith("miroven-calc: ") && err.count(u'\n') == 1 && err.endsWith(u'\n'),
                 run.err.constData());
        QVERIFY2(err.contains(names), run.err.constData());
    }

    void help_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{"--help"};
        QTest::newRow("-h after a calculator") << QStringList{"redemption", "-h"};
        QTest::newRow("--help beside a usage error") << QStringList{"purchase", "--bogus", "--help"};
    }
    void help()
    {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        const QString text = QString::fromUtf8(run.out);
        for (const CalculatorShape* shape : {&kPurchase, &kRedemption, &kDistribution}) {
            QVERIFY2(text.contains(QString::fromUtf8(shape->name)), shape->name);
            for (std::size_t i = 0; i < 4; ++i) {
                QVERIFY2(text.contains(QStringLiteral("--%1 ").arg(shape->options[i])), shape->options[i]);
                QVERIFY2(text.contains(QStringLiteral("CSV の列 %1）").arg(shape->columns[i])),
                         shape->columns[i]);
            }
        }
        for (const char* option : {"--fee-covered", "--csv", "--encoding", "--bom", "--format", "--version", "--rules", "--nisa"})
            QVERIFY2(text.contains(QString::fromUtf8(option)), option);
    }

    // The manual pages document the options --help lists, no more and no fewer.
    void manualNamesEveryOption_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("English") << QStringLiteral(MIROVEN_CALC_MANUAL);
        QTest::newRow("Japanese") << QStringLiteral(MIROVEN_CALC_MANUAL_JA);
    }
    void manualNamesEveryOption()
    {
        QFETCH(QString, path);
        QFile manual(path);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(manual.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const QString help = QString::fromUtf8(runCli({"--help"}).out);
        const auto options = [](const QString& text) {
            QStringList names;
            for (const QRegularExpressionMatch& match :
                 QRegularExpression(QStringLiteral("--[a-z][a-z-]*")).globalMatch(text))
                names << match.captured();
            names.removeDuplicates();
            names.sort();
            return names;
        };
        QVERIFY(options(help).size() >= 13);
        QCOMPARE(options(page), options(help));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(CliStatementsTest)
#include "tst_cli_statements.moc"
