// The broker's holdings beside the ledger's: what is marked, and the lines printed.
#include "csv/holdings_check.h"

#include <QtTest>

using namespace ledger;

namespace {

// A broker's holding of one course at a price per 10,000 units in 0.0001 yen.
BrokerHolding atBroker(const char* fund, Account account, Integer units, std::int64_t price)
{
    return {QString::fromUtf8(fund), account, units, Wide{units} * price, 2};
}

// A ledger's holding whose exact 取得単価 is `price` per 10,000 units in 0.0001 yen.
HeldFund inLedger(const char* fund, Account account, Integer units, std::int64_t price, const char* broker = "楽天")
{
    Holding holding;
    holding.units = units;
    holding.costPool.raw = Wide{units} * price;
    return {QString::fromUtf8(fund), {account, QString::fromUtf8(broker)}, holding};
}

using Brokers = std::vector<BrokerHolding>;
using Ledger = std::vector<HeldFund>;

} // namespace

Q_DECLARE_METATYPE(Brokers)
Q_DECLARE_METATYPE(Ledger)

class HoldingsCheckTest : public QObject {
    Q_OBJECT
private slots:
    void check_data()
    {
        QTest::addColumn<Brokers>("broker");
        QTest::addColumn<Ledger>("ledger");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("lines"); // all but the title
        const auto S = Account::Specified;
        const auto N = Account::Nisa;

        QTest::newRow("alike, and 0.9999 yen apart is alike")
            << Brokers{atBroker("A", S, 100000, 100000000)} << Ledger{inLedger("A", S, 100000, 100009999)} << false
            << QString("特定 A: 100000 口 取得単価 10000.00 円 / 100000 口 取得単価 10000.9999 円\n"
                       "すべて一致しています（1 件）");
        QTest::newRow("1 yen apart, below the broker's")
            << Brokers{atBroker("A", S, 100000, 100000000)} << Ledger{inLedger("A", S, 100000, 99990000)} << true
            << QString("※ 特定 A: 100000 口 取得単価 10000.00 円 / 100000 口 取得単価 9999.00 円"
                       "（取得単価が 1 円以上違います: 台帳 − 証券会社 = -1.00 円）\n1 件中 1 件が違います（※）");
        // 3 units for 3.00010199 yen: 10,000.3399666… per 10,000 units, a third of
        // 0.0001 yen short of 1 yen above the broker's; shown down, and not marked.
        QTest::newRow("an exact figure a hair under 1 yen above")
            << Brokers{atBroker("A", S, 3, 99993400)}
            << Ledger{[] {
                   HeldFund held = inLedger("A", S, 3, 0);
                   held.holding.costPool.raw = 3 * Wide{100003400} - 1;
                   return held;
               }()}
            << false
            << QString("特定 A: 3 口 取得単価 9999.34 円 / 3 口 取得単価 10000.3399 円\n"
                       "すべて一致しています（1 件）");
        // Two courses at 10,000.01 (1 unit) and 10,000.00 (2 units) average 10,000.0033…;
        // the ledger's 10,001.0033 is a third of 0.0001 yen short of 1 yen above that.
        QTest::newRow("two courses: the average's own fraction decides")
            << [] {
                   BrokerHolding held = atBroker("A", S, 1, 100000100);
                   held.units += 2;
                   held.costTimesUnits += 2 * Wide{100000000};
                   return Brokers{held};
               }()
            << Ledger{inLedger("A", S, 3, 100010033)} << false
            << QString("特定 A: 3 口 取得単価 10000.00 円 / 3 口 取得単価 10001.0033 円\n"
                       "すべて一致しています（1 件）");
        QTest::newRow("one unit short")
            << Brokers{atBroker("A", S, 100000, 100000000)} << Ledger{inLedger("A", S, 99999, 100000000)} << true
            << QString("※ 特定 A: 100000 口 取得単価 10000.00 円 / 99999 口 取得単価 10000.00 円（口数が違います）\n"
                       "1 件中 1 件が違います（※）");
        QTest::newRow("each side holds one the other lacks, by account first")
            << Brokers{atBroker("B", N, 5, 100000000), atBroker("A", S, 5, 100000000)}
            << Ledger{inLedger("A", S, 5, 100000000), inLedger("C", S, 7, 100000000)} << true
            << QString("特定 A: 5 口 取得単価 10000.00 円 / 5 口 取得単価 10000.00 円\n"
                       "※ 特定 C: 保有なし / 7 口 取得単価 10000.00 円（楽天の保有にありません）\n"
                       "※ NISA B: 5 口 取得単価 10000.00 円 / 保有なし（台帳にありません）\n"
                       "3 件中 2 件が違います（※）");
        QTest::newRow("names in other widths meet; another broker's and empty holdings are passed over")
            << Brokers{atBroker("A（毎月）", S, 5, 100000000), atBroker("Z", S, 0, 0)}
            << Ledger{inLedger("A (毎月)", S, 5, 100000000), inLedger("A(毎月)", S, 9, 100000000, "SBI"),
                      inLedger("Y", S, 0, 0)}
            << false
            << QString("特定 A（毎月）: 5 口 取得単価 10000.00 円 / 5 口 取得単価 10000.00 円\nすべて一致しています（1 件）");
    }
    void check()
    {
        QFETCH(Brokers, broker);
        QFETCH(Ledger, ledger);
        QFETCH(bool, marked);
        QFETCH(QString, lines);
        const HoldingsCheck check = checkHoldings({QStringLiteral("楽天"), broker}, ledger, QStringLiteral("楽天"));
        QCOMPARE(check.anyMarked, marked);
        QStringList printed = check.lines();
        QCOMPARE(printed.takeFirst(), QString("楽天の保有と台帳の照合（証券会社 / 台帳）"));
        QCOMPARE(printed.join(u'\n'), lines);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(HoldingsCheckTest)
#include "tst_holdings_check.moc"
