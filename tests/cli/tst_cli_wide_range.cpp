// Real-world amounts with --range wide: hand-worked figures, the same from a single
// calculation and from a batch, and the bounds each range refuses at.
#include "cli_examples.h"

#include <QtTest>

namespace {

// Worked by hand from the rules; the inputs are beyond the windows' 16-bit range.
const std::vector<std::pair<const CalculatorShape*, Example>> kWideCases{
    // Fee (0.033 × 0.1 + 0.033) × 100,000 = 3,630; units 100,000 ÷ 35,000 × 10,000
    // = 28,571.4286; their worth 35,000 × 28,571.4286 ÷ 10,000 = 100,000.0001.
    {&kPurchase, {"¥100,000 at NAV 35,000, 3.3 % and 10 %, fee on top",
                  {"100,000", "35,000", "3.3", "10"}, false, "28571,100000,3630,103630"}},
    // Cost factor 1.0363; fee 100,000 − 100,000 ÷ 1.0363 = 3,502.85 → 3,503; units
    // 96,497.1533 ÷ 35,000 × 10,000 = 27,570.6152; worth 96,497.1532.
    {&kPurchase, {"¥100,000 at NAV 35,000, fee from the funds",
                  {"100,000", "35,000", "3.3", "10"}, true, "27570,96497,3503,100000"}},
    // Valuation 3,500,000; retention 10,500; gain 3,500,000 − 10,500 − 1,500,000
    // = 1,989,500, taxed 397,900; cash 3,091,600.
    {&kRedemption, {"1,000,000 units from 15,000 to 35,000",
                    {"15000", "35000", "1,000,000", "0.3"}, false, "3500000,397900,10500,3091600"}},
    // The holding stands (30,000 − 29,500) × 200 = 100,000 below its principal, more
    // than the distribution: all of it is a return of principal.
    {&kDistribution, {"1,200 on 2,000,000 units, 30,000 to 29,500",
                      {"30000", "29500", "1200", "2,000,000"}, false, "0,1200,0,1200,29500"}},
    // 10,000 × 100,000,000,000 is 10^15, beyond what a Currency holds in 64 bits, but
    // ÷ 10,000 the valuation is 100,000,000,000; the retention 0.3 % of it.
    {&kRedemption, {"NAV × units past 64 bits: 100,000,000,000 units at 10,000",
                    {"10000", "10000", "100,000,000,000", "0.3"}, false,
                    "100000000000,0,300000000,99700000000"}},
};

QStringList options(const CalculatorShape& shape, const Example& example)
{
    QStringList arguments{QString::fromUtf8(shape.name), QStringLiteral("--range"), QStringLiteral("wide")};
    for (std::size_t i = 0; i < example.inputs.size(); ++i)
        arguments << QStringLiteral("--%1").arg(shape.options[i]) << QString::fromUtf8(example.inputs[i]);
    if (example.feeCovered)
        arguments << QStringLiteral("--fee-covered");
    return arguments;
}

} // namespace

class CliWideRangeTest : public QObject {
    Q_OBJECT
private slots:
    void handWorked_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < kWideCases.size(); ++i)
            QTest::newRow(kWideCases[i].second.name) << int(i);
    }
    void handWorked()
    {
        QFETCH(int, index);
        const auto& [shape, example] = kWideCases[std::size_t(index)];
        const QStringList captions = split(shape->captions);
        const QStringList figures = split(example.figures);

        const CliRun single = runCli(options(*shape, example));
        QCOMPARE(single.err, QByteArray());
        QByteArray lines;
        for (qsizetype i = 0; i < captions.size(); ++i)
            lines += (captions[i] + u'\t' + figures[i] + u'\n').toUtf8();
        QCOMPARE(single.out, lines);
        QCOMPARE(single.exitCode, 0);

        QStringList header, row;
        for (std::size_t i = 0; i < example.inputs.size(); ++i) {
            header << QString::fromUtf8(shape->columns[i]);
            const QString input = QString::fromUtf8(example.inputs[i]);
            row << (input.contains(u',') ? u'"' + input + u'"' : input);
        }
        if (shape == &kPurchase) {
            header << QStringLiteral("FeeCovered");
            row << (example.feeCovered ? QStringLiteral("1") : QStringLiteral("0"));
        }
        const CliRun batch = runCli({QString::fromUtf8(shape->name), "--csv", "--range", "wide"},
                                    (header.join(u',') + u'\n' + row.join(u',') + u'\n').toUtf8());
        QCOMPARE(batch.exitCode, 0);
        const QList<QByteArray> out = batch.out.split('\n');
        QCOMPARE(out.value(1), (row.join(u',') + u',' + figures.join(u',') + u',').toUtf8());
    }

    // The same amounts in the windows' range, and past the wide one: refused, naming
    // the bounds in force.
    void bounds_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("¥100,000 in the narrow range")
            << QStringList{"purchase", "--funds", "100,000", "--nav", "35,000"}
            << QByteArray("購入資金には -32768 から 32767 までの数値を入力してください（--range wide で広い範囲）\n");
        QTest::newRow("2^53 in the wide range")
            << QStringList{"purchase", "--range", "wide", "--funds", "9007199254740992", "--nav", "1"}
            << QByteArray("購入資金には -9007199254740991 から 9007199254740991 までの数値を入力してください\n");
        // The valuation is formed (NAV × units in 128 bits), but the tax on it is past 2^53.
        QTest::newRow("a tax past the wide range")
            << QStringList{"redemption", "--range", "wide", "--principal-nav", "1", "--nav",
                           "9,007,199,254,740,991", "--units", "900,000,000", "--retention", "0"}
            << QByteArray("税金が計算できる範囲を超えています\n");
    }
    void bounds()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.err, message);
        QCOMPARE(run.exitCode, 1);
    }

    // --explain adds the working, which ends with the statement it explains.
    void explain()
    {
        const auto& [shape, example] = kWideCases.front();
        const CliRun run = runCli(options(*shape, example) << QStringLiteral("--explain"));
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).trimmed().split(u'\n');
        QVERIFY(lines.contains(QStringLiteral("手数料 = 3630 を偶数丸め = 3630")));
        QCOMPARE(lines.mid(lines.size() - 4),
                 (QStringList{"購入口数 = 28571", "（金額） = 100000", "手数料 = 3630", "総投資額 = 103630"}));
        QCOMPARE(runCli({"purchase", "--csv", "--explain"}).exitCode, 2);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(CliWideRangeTest)
#include "tst_cli_wide_range.moc"
