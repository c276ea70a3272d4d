// The ledger's rules, one table each: the published examples and hand-worked rows,
// replayed event by event as miroven-calc ledger replays a file.
#include "calc/ledger/book.h"

#include <QtTest>

using namespace ledger;

namespace {

using Steps = QList<Event>;

} // namespace

Q_DECLARE_METATYPE(Event)

namespace {

QDate day(const char* text) { return QDate::fromString(QString::fromLatin1(text), Qt::ISODate); }
Currency yen(double value) { return Currency::fromRaw(qRound64(value * 10000)); }

// An event of one fund ('A', 'B', ...; ' ' for none).
Event event(char fund, const char* date, EventKind kind, Account account)
{
    Event e;
    e.date = day(date);
    if (fund != ' ')
        e.fund = QString(QLatin1Char(fund));
    e.kind = kind;
    e.account = account;
    return e;
}
Event open(char fund, const char* date, Integer units, double principal, std::optional<double> cost = {})
{
    Event e = event(fund, date, EventKind::Balance, Account::Specified);
    e.units = units;
    e.principal = yen(principal);
    if (cost)
        e.cost = yen(*cost);
    return e;
}
Event buy(char fund, const char* date, Integer units, Integer nav, std::optional<Integer> fee = {})
{
    Event e = event(fund, date, EventKind::Purchase, Account::Specified);
    e.units = units;
    e.nav = nav;
    e.fee = fee;
    return e;
}
Event distribute(char fund, const char* date, std::optional<Integer> nav, Integer perUnits, bool reinvest = false)
{
    Event e = event(fund, date, reinvest ? EventKind::Reinvestment : EventKind::Distribution, Account::Specified);
    e.nav = nav;
    e.distribution = perUnits;
    return e;
}
Event redeem(char fund, const char* date, std::optional<Integer> units, Integer nav,
             std::optional<DecimalRate> retention = {})
{
    Event e = event(fund, date, EventKind::Redemption, Account::Specified);
    e.units = units;
    e.nav = nav;
    e.retention = retention;
    return e;
}
// Another security's 譲渡損益 or 配当, or a NISA 払出.
Event other(EventKind kind, const char* date, Integer amount)
{
    Event e = event(' ', date, kind, Account::Specified);
    e.amount = amount;
    return e;
}
Event moveOut(char fund, const char* date, std::optional<Integer> units, Integer nav)
{
    Event e = event(fund, date, EventKind::Transfer, Account::Nisa);
    e.units = units;
    e.nav = nav;
    return e;
}
Event nisa(Event e)
{
    e.account = Account::Nisa;
    return e;
}

// A row's figures, the non-empty ones named, or why it was refused.
QString shown(const Outcome<Posted, PostRefusal>& outcome)
{
    if (!outcome)
        return QStringLiteral("refused: ") + refusalText(outcome.why());
    const Posted& a = *outcome;
    const Holding& h = a.holding;
    QStringList parts{QStringLiteral("units %1").arg(h.units)};
    if (h.units != 0)
        parts << QStringLiteral("principal %1 cost %2").arg(workingText(h.principal), workingText(h.cost));
    const Figures& f = a.figures;
    const std::pair<const char*, const std::optional<Integer>*> named[] = {
        {"contract", &f.contractAmount}, {"fee", &f.fee}, {"ordinary", &f.ordinary}, {"returned", &f.returned},
        {"reinvested", &f.reinvestedUnits}, {"proceeds", &f.proceeds}, {"acquisition", &f.acquisitionCost},
        {"gain", &f.gain}, {"income", &f.incomeTax}, {"resident", &f.residentTax}, {"cash", &f.settlement}};
    for (const auto& [name, value] : named) {
        if (*value)
            parts << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(**value);
    }
    if (a.year)
        parts << QStringLiteral("year %1").arg(a.year->gain);
    return parts.join(u' ');
}

// Replays the steps through a book; each row as shown, and the 特定口座's year at the end.
QStringList replay(const Steps& steps, const Roundings& roundings = {}, AccountYear* yearAtEnd = nullptr,
                   Trace* trace = nullptr)
{
    BookOptions options;
    options.roundings = roundings;
    Book book(options);
    QStringList rows;
    for (const Event& step : steps)
        rows << shown(book.post(step, trace));
    if (yearAtEnd)
        *yearAtEnd = book.year({});
    return rows;
}

void addColumns()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("last"); // the last rows as shown
}

void check(const Roundings& roundings = {})
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, last);
    QCOMPARE(replay(steps, roundings).mid(steps.size() - last.size()), last);
}

} // namespace

class LedgerTest : public QObject {
    Q_OBJECT
private slots:
    // Rule 1: 個別元本, a moving average rounded up, restarting from the rounded figure
    // after a redemption.
    void principal_data()
    {
        addColumns();
        QTest::addColumn<Rounding>("rounding");
        QTest::newRow("published: 10000 and 9500 average 9750")
            << Steps{buy('A', "2024-01-10", 1000000, 10000), buy('A', "2024-01-11", 1000000, 9500)}
            << QStringList{"units 2000000 principal 9750 cost 9750 contract 950000 fee 0 cash -950000 year 0"}
            << Rounding::Up;
        const Steps quarter{buy('A', "2024-01-10", 30000, 10000), buy('A', "2024-01-11", 10000, 8725)};
        QTest::newRow("9681.25 up") << quarter << QStringList{"units 40000 principal 9682 cost 9682 contract 8725 fee 0 cash -8725 year 0"} << Rounding::Up;
        QTest::newRow("9681.25 down") << quarter << QStringList{"units 40000 principal 9681 cost 9682 contract 8725 fee 0 cash -8725 year 0"} << Rounding::Down;
        QTest::newRow("10000.5 nearest, a half up")
            << Steps{buy('A', "2024-01-10", 10000, 10000), buy('A', "2024-01-11", 10000, 10001)}
            << QStringList{"units 20000 principal 10001 cost 10001 contract 10001 fee 0 cash -10001 year 0"}
            << Rounding::HalfUp;
        // Kept in proportion, the principal would be 10000.5 on the unit left, and the
        // average 10000.25, rounded to 10000.
        QTest::newRow("a redemption restarts from the rounded 10001")
            << Steps{buy('A', "2024-01-10", 10000, 10000), buy('A', "2024-01-11", 10000, 10001),
                     redeem('A', "2024-01-12", 10000, 10000), buy('A', "2024-01-13", 10000, 10000)}
            << QStringList{"units 10000 principal 10001 cost 10001 proceeds 10000 acquisition 10001 gain -1 income 0 resident 0 cash 10000 year -1",
                           "units 20000 principal 10001 cost 10001 contract 10000 fee 0 cash -10000 year -1"}
            << Rounding::HalfUp;
    }
    void principal()
    {
        QFETCH(Rounding, rounding);
        check({.principal = rounding});
    }

    // Rule 2: 取得単価 includes the fee; the 取得費 of a redemption is floored.
    void cost_data()
    {
        addColumns();
        QTest::addColumn<PriceStep>("step");
        Event withRate = buy('A', "2024-01-16", 10000, 9000);
        withRate.feeRate = DecimalRate{3240};
        QTest::newRow("published: a 3.24 % fee gives 9291") << Steps{withRate}
            << QStringList{"units 10000 principal 9000 cost 9291 contract 9000 fee 291 cash -9291 year 0"} << PriceStep::Yen;
        const Steps eighth{buy('A', "2024-01-10", 80000, 5000, 1), redeem('A', "2024-01-11", {}, 5000)};
        QTest::newRow("5000.125 up, 取得費 floored") << eighth
            << QStringList{"units 80000 principal 5000 cost 5001 contract 40000 fee 1 cash -40001 year 0",
                           "units 0 proceeds 40000 acquisition 40008 gain -8 income 0 resident 0 cash 40000 year -8"}
            << PriceStep::Yen;
        QTest::newRow("5000.125 to 5000.13 in cents") << eighth
            << QStringList{"units 80000 principal 5000 cost 5000.13 contract 40000 fee 1 cash -40001 year 0",
                           "units 0 proceeds 40000 acquisition 40001 gain -1 income 0 resident 0 cash 40000 year -1"}
            << PriceStep::Cent;
    }
    void cost()
    {
        QFETCH(PriceStep, step);
        check({.cost = step});
    }

    // Rule 3: a distribution splits against the holding's own 個別元本; the return of
    // principal lowers both averages.
    void distribution_data()
    {
        addColumns();
        QTest::newRow("published: 600 on 10500, NAV after 10200")
            << Steps{open('A', "2024-01-12", 10000, 10500), distribute('A', "2024-01-15", 10200, 600)}
            << QStringList{"units 10000 principal 10200 cost 10200 ordinary 300 returned 300 income 45 resident 15 cash 540 year 0"};
        Event withRate = buy('A', "2024-01-16", 10000, 9000);
        withRate.feeRate = DecimalRate{3240};
        QTest::newRow("published: 300 after a fee, 取得単価 9091")
            << Steps{withRate, distribute('A', "2024-01-17", 8800, 300)}
            << QStringList{"units 10000 principal 8800 cost 9091 ordinary 100 returned 200 income 15 resident 5 cash 280 year 0"};
        QTest::newRow("published: 102548 units × 80 = 820.38, floored")
            << Steps{open('A', "2025-02-01", 102548, 8000), distribute('A', "2025-02-02", 9000, 80)}
            << QStringList{"units 102548 principal 8000 cost 8000 ordinary 820 returned 0 income 125 resident 41 cash 654 year 0"};
        QTest::newRow("each part floored on its own: 0.5 + 0.5 yen")
            << Steps{open('A', "2024-01-12", 1, 10000), distribute('A', "2024-01-15", 9995, 10)}
            << QStringList{"units 1 principal 9995 cost 9995 ordinary 0 returned 0 income 0 resident 0 cash 0 year 0"};
        QTest::newRow("cents in 個別元本: 10000.55 less 0.55")
            << Steps{open('A', "2024-01-12", 100000, 10000.55, 10100.25), distribute('A', "2024-01-15", 10000, 100)}
            << QStringList{"units 100000 principal 10000 cost 10099.7 ordinary 994 returned 5 income 152 resident 49 cash 798 year 0"};
        QTest::newRow("取得単価 stops at 0")
            << Steps{open('A', "2024-01-12", 10000, 10000, 100), distribute('A', "2024-01-15", 9000, 500)}
            << QStringList{"units 10000 principal 9500 cost 0 ordinary 0 returned 500 income 0 resident 0 cash 500 year 0"};
    }
    void distribution() { check(); }

    // Rule 4: the rates by the year of the 受渡日; nothing taxed in NISA.
    void rates_data()
    {
        addColumns();
        const auto taxed = [](const char* date) {
            return Steps{open('A', date, 10000, 1000), distribute('A', date, 10000, 10000)};
        };
        const QString figures = QStringLiteral("units 10000 principal 1000 cost 1000 ordinary 10000 returned 0 income %1 resident %2 cash %3 year 0");
        QTest::newRow("2008-12-31 refused") << taxed("2008-12-31")
            << QStringList{"refused: 2009 年より前の受渡日は計算できません（税の規則が違います）"};
        QTest::newRow("2012-12-31 7 % + 3 %") << taxed("2012-12-31") << QStringList{figures.arg(700).arg(300).arg(9000)};
        QTest::newRow("2013-01-01 7.147 % + 3 %") << taxed("2013-01-01") << QStringList{figures.arg(714).arg(300).arg(8986)};
        QTest::newRow("2013-12-31 7.147 % + 3 %") << taxed("2013-12-31") << QStringList{figures.arg(714).arg(300).arg(8986)};
        QTest::newRow("2014-01-01 15.315 % + 5 %") << taxed("2014-01-01") << QStringList{figures.arg(1531).arg(500).arg(7969)};
        QTest::newRow("2037-12-31 15.315 % + 5 %") << taxed("2037-12-31") << QStringList{figures.arg(1531).arg(500).arg(7969)};
        QTest::newRow("2038-01-01 15 % + 5 %") << taxed("2038-01-01") << QStringList{figures.arg(1500).arg(500).arg(8000)};
        QTest::newRow("NISA untaxed")
            << Steps{nisa(open('A', "2024-01-12", 10000, 1000)), nisa(distribute('A', "2024-01-15", 10000, 10000))}
            << QStringList{"units 10000 principal 1000 cost 1000 ordinary 10000 returned 0 income 0 resident 0 cash 10000"};
    }
    void rates() { check(); }

    // Rule 5: the 特定口座 withholds on the year's net gain, refunding up to what its
    // redemptions withheld; 1 January starts again; NISA stays apart.
    void year_data()
    {
        addColumns();
        const Steps gainThenLoss{open('D', "2024-02-01", 10000, 10000), redeem('D', "2024-02-02", {}, 20000),
                                 open('E', "2024-02-03", 10000, 20000), redeem('E', "2024-02-04", {}, 10000)};
        QTest::newRow("published: a gain of 10000, then a loss refunds 2031") << gainThenLoss
            << QStringList{"units 0 proceeds 20000 acquisition 10000 gain 10000 income 1531 resident 500 cash 17969 year 10000",
                           "units 10000 principal 20000 cost 20000 year 10000",
                           "units 0 proceeds 10000 acquisition 20000 gain -10000 income -1531 resident -500 cash 12031 year 0"};
        QTest::newRow("published: the year's first gain of 17900")
            << Steps{open('F', "2025-01-06", 10000, 10000), redeem('F', "2025-01-07", {}, 27900)}
            << QStringList{"units 0 proceeds 27900 acquisition 10000 gain 17900 income 2741 resident 895 cash 24264 year 17900"};
        QTest::newRow("a larger loss refunds only what was withheld, a later gain pays nothing until the loss is made up")
            << Steps{open('A', "2024-02-01", 10000, 10000), redeem('A', "2024-02-02", {}, 20000),
                     open('B', "2024-02-03", 10000, 40000), redeem('B', "2024-02-04", {}, 10000),
                     open('C', "2024-02-05", 10000, 10000), redeem('C', "2024-02-06", {}, 25000),
                     open('C', "2024-02-07", 10000, 10000), redeem('C', "2024-02-08", {}, 20000)}
            << QStringList{"units 0 proceeds 10000 acquisition 40000 gain -30000 income -1531 resident -500 cash 12031 year -20000",
                           "units 10000 principal 10000 cost 10000 year -20000",
                           "units 0 proceeds 25000 acquisition 10000 gain 15000 income 0 resident 0 cash 25000 year -5000",
                           "units 10000 principal 10000 cost 10000 year -5000",
                           "units 0 proceeds 20000 acquisition 10000 gain 10000 income 765 resident 250 cash 18985 year 5000"};
        QTest::newRow("1 January: a loss refunds nothing of last year's tax")
            << Steps{open('D', "2024-12-02", 10000, 10000), redeem('D', "2024-12-30", {}, 20000),
                     open('E', "2025-01-01", 10000, 20000), redeem('E', "2025-01-05", {}, 10000)}
            << QStringList{"units 10000 principal 20000 cost 20000 year 0",
                           "units 0 proceeds 10000 acquisition 20000 gain -10000 income 0 resident 0 cash 10000 year -10000"};
        QTest::newRow("NISA beside 特定: a NISA loss refunds nothing")
            << Steps{open('A', "2024-02-01", 10000, 10000), redeem('A', "2024-02-02", {}, 20000),
                     nisa(open('A', "2024-02-03", 10000, 20000)), nisa(redeem('A', "2024-02-04", {}, 10000)),
                     open('A', "2024-02-05", 10000, 10000), redeem('A', "2024-02-06", 5000, 10000)}
            << QStringList{"units 0 proceeds 10000 acquisition 20000 gain -10000 income 0 resident 0 cash 10000",
                           "units 10000 principal 10000 cost 10000 year 10000",
                           "units 5000 principal 10000 cost 10000 proceeds 5000 acquisition 5000 gain 0 income 0 resident 0 cash 5000 year 10000"};
    }
    void year() { check(); }

    // Rule 6: the distribution after tax buys units at the NAV after it, no fee.
    void reinvestment_data()
    {
        addColumns();
        QTest::addColumn<Rounding>("units");
        const Steps steps{open('A', "2024-03-01", 10000, 10000), distribute('A', "2024-03-02", 9000, 1500, true)};
        QTest::newRow("1554.4… units rounded up") << steps
            << QStringList{"units 11555 principal 9000 cost 9000 ordinary 500 returned 1000 reinvested 1555 income 76 resident 25 cash 0 year 0"}
            << Rounding::Up;
        QTest::newRow("rounded down") << steps
            << QStringList{"units 11554 principal 9000 cost 9001 ordinary 500 returned 1000 reinvested 1554 income 76 resident 25 cash 0 year 0"}
            << Rounding::Down;
        Event byAmount = buy('A', "2024-03-01", 0, 9500);
        byAmount.units.reset();
        byAmount.amount = 1000000;
        QTest::newRow("a purchase of 1000000 yen: 1052631.57… units up") << Steps{byAmount}
            << QStringList{"units 1052632 principal 9500 cost 9500 contract 1000000 fee 0 cash -1000000 year 0"} << Rounding::Up;
        QTest::newRow("… and down, 取得単価 9500.004… up") << Steps{byAmount}
            << QStringList{"units 1052631 principal 9500 cost 9501 contract 1000000 fee 0 cash -1000000 year 0"} << Rounding::Down;
        byAmount.amount = 1;
        byAmount.nav = 20000;
        QTest::newRow("1 yen buys half a unit, down to none") << Steps{byAmount}
            << QStringList{"refused: 金額 1 円では 1 口も買えません"} << Rounding::Down;
    }
    void reinvestment()
    {
        QFETCH(Rounding, units);
        check({.units = units});
    }

    // Rule 7: the 解約価額 less the 信託財産留保額, unrounded; 解約代金 floored.
    void redemption_data()
    {
        addColumns();
        QTest::newRow("0.3 % of 12345 kept back: 12307.965 per 10000 units")
            << Steps{open('A', "2024-03-01", 10000, 10000), redeem('A', "2024-03-02", 10000, 12345, DecimalRate{300})}
            << QStringList{"units 0 proceeds 12307 acquisition 10000 gain 2307 income 353 resident 115 cash 11839 year 2307"};
        // 約定金額 floor(3.0003) = 3 puts 取得単価 below 個別元本.
        QTest::newRow("part of the holding keeps its figures")
            << Steps{buy('A', "2024-03-01", 3, 10001), redeem('A', "2024-03-02", 1, 10000)}
            << QStringList{"units 2 principal 10001 cost 10000 proceeds 1 acquisition 1 gain 0 income 0 resident 0 cash 1 year 0"};
    }
    void redemption() { check(); }

    // The year-end settlement: a net loss set against the year's 普通分配金 and 配当.
    void settlement_data()
    {
        addColumns();
        QTest::addColumn<bool>("netting");
        QTest::addColumn<QString>("settled");
        const Steps published{open('A', "2038-01-10", 100000, 10000), redeem('A', "2038-02-01", {}, 20000),
                              open('B', "2038-03-01", 100000, 40000), redeem('B', "2038-03-02", {}, 10000),
                              open('C', "2038-04-01", 10000000, 10000), distribute('C', "2038-04-02", 10000, 100),
                              distribute('C', "2038-10-02", 10000, 100)};
        QTest::newRow("published: 20000 back at the loss, 40000 at the year end") << published
            << QStringList{"units 0 proceeds 100000 acquisition 400000 gain -300000 income -15000 resident -5000 cash 120000 year -200000",
                           "units 10000000 principal 10000 cost 10000 year -200000",
                           "units 10000000 principal 10000 cost 10000 ordinary 100000 returned 0 income 15000 resident 5000 cash 80000 year -200000",
                           "units 10000000 principal 10000 cost 10000 ordinary 100000 returned 0 income 15000 resident 5000 cash 80000 year -200000"}
            << true << "2038: income -30000 resident -10000";
        QTest::newRow("--no-dividend-netting") << published << QStringList{} << false << "none";
        const Steps smaller{other(EventKind::Dividend, "2038-05-01", 100000), open('C', "2038-05-02", 10000000, 10000),
                            distribute('C', "2038-05-03", 10000, 100), other(EventKind::Gain, "2038-06-01", -50000)};
        QTest::newRow("a loss smaller than the dividends, of other securities") << smaller
            << QStringList{"units 0 ordinary 100000 income 15000 resident 5000 cash 80000 year 0",
                           "units 10000000 principal 10000 cost 10000 year 0",
                           "units 10000000 principal 10000 cost 10000 ordinary 100000 returned 0 income 15000 resident 5000 cash 80000 year 0",
                           "units 0 gain -50000 income 0 resident 0 cash 0 year -50000"}
            << true << "2038: income -7500 resident -2500";
        const auto netted = [](const char* dividend, const char* loss) {
            return Steps{other(EventKind::Dividend, dividend, 100000), other(EventKind::Gain, loss, -50000)};
        };
        QTest::newRow("2009: the account does not net yet") << netted("2009-05-01", "2009-06-01")
            << QStringList{"units 0 gain -50000 income 0 resident 0 cash 0 year -50000"} << true << "none";
        QTest::newRow("2010: it does, at 7 % + 3 %") << netted("2010-05-01", "2010-06-01")
            << QStringList{"units 0 gain -50000 income 0 resident 0 cash 0 year -50000"} << true
            << "2010: income -3500 resident -1500";
        QTest::newRow("a loss without dividends") << Steps{other(EventKind::Gain, "2038-06-01", -50000)}
            << QStringList{"units 0 gain -50000 income 0 resident 0 cash 0 year -50000"} << true << "none";
        QTest::newRow("a gain: nothing to settle")
            << Steps{other(EventKind::Dividend, "2038-05-01", 1000), other(EventKind::Gain, "2038-06-01", 1000)}
            << QStringList{"units 0 gain 1000 income 150 resident 50 cash -200 year 1000"} << true << "none";
    }
    void settlement()
    {
        QFETCH(bool, netting);
        QFETCH(QString, settled);
        AccountYear year;
        QFETCH(Steps, steps);
        QFETCH(QStringList, last);
        QCOMPARE(replay(steps, {}, &year).mid(steps.size() - last.size()), last);
        const std::optional<Settlement> s = settleYear(year, netting);
        QCOMPARE(s ? QStringLiteral("%1: income %2 resident %3").arg(s->year).arg(s->incomeTax).arg(s->residentTax)
                   : QStringLiteral("none"),
                 settled);
    }

    // A NISA 払出: 取得単価 restarts at the day's NAV, 個別元本 carries over, nothing taxed.
    void transfer_data()
    {
        addColumns();
        const Event bought = nisa(buy('A', "2024-01-10", 10000, 10000));
        QTest::newRow("into an empty 特定 holding") << Steps{bought, moveOut('A', "2024-12-01", {}, 13000)}
            << QStringList{"units 10000 principal 10000 cost 13000"};
        QTest::newRow("merged as a purchase, part left in NISA")
            << Steps{bought, buy('A', "2024-07-01", 10000, 12000), moveOut('A', "2024-12-01", 5000, 13000),
                     nisa(distribute('A', "2024-12-02", 10000, 0))}
            << QStringList{"units 15000 principal 11334 cost 12334",
                           "units 5000 principal 10000 cost 10000 ordinary 0 returned 0 income 0 resident 0 cash 0"};
        Event specified = moveOut('A', "2024-12-01", {}, 13000);
        specified.account = Account::Specified;
        QTest::newRow("a 特定 holding is not transferred") << Steps{buy('A', "2024-07-01", 10000, 12000), specified}
            << QStringList{"refused: 払出は NISA 口座の保有を特定口座へ移します（口座は NISA）"};
        QTest::newRow("more than the NISA holding") << Steps{bought, moveOut('A', "2024-12-01", 10001, 13000)}
            << QStringList{"refused: 払い出す口数 10001 が保有口数 10000 を超えています"};
        QTest::newRow("an empty NISA holding") << Steps{moveOut('A', "2024-12-01", {}, 13000)}
            << QStringList{"refused: 保有口数が 0 のため払い出せません"};
    }
    void transfer() { check(); }

    // A refused row changes nothing: the row after it sees the holding as it was.
    void refusals_data()
    {
        addColumns();
        const Event held = open('A', "2024-03-01", 10000, 10000);
        const Event after = redeem('A', "2024-03-05", {}, 12000);
        const QString unchanged = QStringLiteral("units 0 proceeds 12000 acquisition 10000 gain 2000 income 306 resident 100 cash 11594 year 2000");
        const auto row = [&](const char* name, const Event& refused, const char* why) {
            QTest::newRow(name) << Steps{held, refused, after} << QStringList{QString::fromUtf8(why), unchanged};
        };
        row("more units than held", redeem('A', "2024-03-02", 10001, 12000),
            "refused: 解約する口数 10001 が保有口数 10000 を超えています");
        row("a NAV of 0", buy('A', "2024-03-02", 10, 0), "refused: 基準価額は 0 より大きい値にしてください");
        row("a missing NAV", distribute('A', "2024-03-02", {}, 10),
            "refused: 基準価額が入力されていません");
        row("back in time", buy('A', "2024-02-29", 10, 10000), "refused: 受渡日 2024-02-29 が前の行の受渡日 2024-03-01 より前です");
        Event both = buy('A', "2024-03-02", 10, 10000);
        both.amount = 1000;
        row("units and amount", both, "refused: 口数と金額は一緒に指定できません");
        Event fees = buy('A', "2024-03-02", 10, 10000, 1);
        fees.feeRate = DecimalRate{1000};
        row("fee and fee rate", fees, "refused: 手数料と手数料率は一緒に指定できません");
        row("an overflowing purchase", buy('A', "2024-03-02", kLargest, kLargest),
            "refused: 約定金額が計算できる範囲を超えています");
        row("a 配当 in NISA", nisa(other(EventKind::Dividend, "2024-03-02", 100)), "refused: 配当は特定口座だけに記帳できます");
        row("a 譲渡損益 in NISA", nisa(other(EventKind::Gain, "2024-03-02", 100)), "refused: 譲渡損益は特定口座だけに記帳できます");
        row("a negative 配当", other(EventKind::Dividend, "2024-03-02", -1), "refused: 配当の金額は 0 以上にしてください");
        Event noAmount = other(EventKind::Dividend, "2024-03-02", 0);
        noAmount.amount.reset();
        row("a 配当 without its amount", noAmount, "refused: 金額が入力されていません");
        row("0 units bought", buy('A', "2024-03-02", 0, 10000), "refused: 口数は 1 以上にしてください");
        Event byAmount = buy('A', "2024-03-02", 0, 10000);
        byAmount.units.reset();
        row("neither units nor amount", byAmount, "refused: 口数か金額が入力されていません");
        byAmount.amount = 0;
        row("an amount of 0", byAmount, "refused: 金額は 1 円以上にしてください");
        row("a negative fee", buy('A', "2024-03-02", 10, 10000, -1), "refused: 手数料は 0 以上にしてください");
        Event rate = buy('A', "2024-03-02", 10, 10000);
        rate.feeRate = DecimalRate{100001};
        row("a fee rate above 100 %", rate, "refused: 手数料率(%)は 0 から 100 までにしてください");
        row("a retention below 0 %", redeem('A', "2024-03-02", {}, 12000, DecimalRate{-1}),
            "refused: 信託財産留保額(%)は 0 から 100 までにしてください");
        row("a negative distribution", distribute('A', "2024-03-02", 10000, -1), "refused: 分配金(1万口当たり)は 0 以上にしてください");
        Event noDistribution = distribute('A', "2024-03-02", 10000, 0);
        noDistribution.distribution.reset();
        row("a distribution without its amount", noDistribution, "refused: 分配金(1万口当たり)が入力されていません");
        Event noPrincipal = open('A', "2024-03-02", 10, 0);
        noPrincipal.principal.reset();
        row("a balance without 個別元本", noPrincipal, "refused: 個別元本が入力されていません");
        row("a balance with 取得単価 below 0", open('A', "2024-03-02", 10, 10000, -0.01),
            "refused: 個別元本と取得単価は 0 以上にしてください");
        QTest::newRow("a distribution on an empty holding")
            << Steps{distribute('B', "2024-03-02", 10000, 10)} << QStringList{"refused: 保有口数が 0 のため分配金を受け取れません"};
        QTest::newRow("a redemption of an empty holding")
            << Steps{redeem('B', "2024-03-02", {}, 10000)} << QStringList{"refused: 保有口数が 0 のため解約できません"};
    }
    void refusals() { check(); }

    // The working's lines of the exact operations: each rounding named, exact decimals,
    // a quotient that goes on cut with "…", the year's rates.
    void working_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("units by amount, rounded up") << "買付口数 = 1000000 × 10000 ÷ 9500 = 1052631.57894736… を切り上げ = 1052632";
        QTest::newRow("取得単価 to 0.01 yen") << "取得単価 = 1000000 × 10000 ÷ 1052632 = 9499.99620000… を0.01 円単位に四捨五入 = 9500";
        QTest::newRow("a fee rate's share") << "手数料 = 3 × 3.24 % = 0.0972 を切り捨て = 0";
        QTest::newRow("an exact pool") << "元本の総額 = 1000000.4 + 3 × 10001 ÷ 10000 = 1000003.4003";
        QTest::newRow("the smaller of the larger") << "元本払戻金（1万口当たり） = 1500 と (0 と 9501 − 9000 の大きい方) の小さい方 = 501";
        QTest::newRow("the year's rates") << "税率（2013 年）: 所得税及び復興特別所得税 7.147 %、住民税 3 %";
        QTest::newRow("withheld at 7.147 %") << "所得税及び復興特別所得税 = 105158 × 7.147 % = 7515.64226 を切り捨て = 7515";
        QTest::newRow("the 解約価額, exact") << "解約価額 = 12345 − 12345 × 0.3 % = 12307.965";
        QTest::newRow("解約代金 floored") << "解約代金 = 12307.965 × 10000 ÷ 10000 = 12307.965 を切り捨て = 12307";
        QTest::newRow("the year's tax so far") << "年内の住民税 = 3308 × 3 % = 99.24 を切り捨て = 99";
    }
    void working()
    {
        QFETCH(QString, line);
        Event byAmount = buy('A', "2013-03-01", 0, 9500);
        byAmount.units.reset();
        byAmount.amount = 1000000;
        Event withRate = buy('A', "2013-03-02", 3, 10001);
        withRate.feeRate = DecimalRate{3240};
        const Steps steps{byAmount, withRate, distribute('A', "2013-03-03", 9000, 1500, true),
                          redeem('A', "2013-03-04", 10000, 12345, DecimalRate{300})};
        Trace trace;
        replay(steps, {.cost = PriceStep::Cent}, nullptr, &trace);
        QVERIFY2(trace.steps().contains(line), qPrintable(trace.steps().join(u'\n')));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(LedgerTest)
#include "tst_ledger.moc"
