// The ledger's rules, one table each: the published examples and hand-worked rows,
// replayed event by event as miroven-calc ledger replays a file.
#include "calc/ledger/book.h"

#include <QtTest>

using namespace ledger;

namespace {

using Steps = QList<Event>;

} // namespace

Q_DECLARE_METATYPE(Event)
Q_DECLARE_METATYPE(Roundings)

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
Event in(Account account, Event e)
{
    e.account = account;
    return e;
}
// A 買付 as the trade report prints it: the 受渡金額, with the units when given.
Event paid(char fund, const char* date, std::optional<Integer> units, Integer nav, Integer settlement)
{
    Event e = buy(fund, date, 0, nav);
    e.units = units;
    e.settlement = settlement;
    return e;
}
// A distribution with the notice's 元本払戻金 per 10,000 units.
Event notice(char fund, const char* date, std::optional<Integer> nav, Integer perUnits, Integer returned,
             bool reinvest = false)
{
    Event e = distribute(fund, date, nav, perUnits, reinvest);
    e.returned = returned;
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
        QTest::addColumn<Roundings>("roundings");
        QTest::newRow("published: 10000 and 9500 average 9750")
            << Steps{buy('A', "2024-01-10", 1000000, 10000), buy('A', "2024-01-11", 1000000, 9500)}
            << QStringList{"units 2000000 principal 9750 cost 9750 contract 950000 fee 0 cash -950000 year 0"}
            << Roundings{.principal = Rounding::Up};
        const Steps quarter{buy('A', "2024-01-10", 30000, 10000), buy('A', "2024-01-11", 10000, 8725)};
        QTest::newRow("9681.25 up") << quarter << QStringList{"units 40000 principal 9682 cost 9682 contract 8725 fee 0 cash -8725 year 0"} << Roundings{.principal = Rounding::Up};
        QTest::newRow("9681.25 down") << quarter << QStringList{"units 40000 principal 9681 cost 9682 contract 8725 fee 0 cash -8725 year 0"} << Roundings{.principal = Rounding::Down};
        // From the pool: 487250000 ÷ 50000 = 9745; from 9682 as printed: 487280000 ÷ 50000 = 9745.6.
        const Steps third = quarter + Steps{buy('A', "2024-01-12", 10000, 10000)};
        QTest::newRow("a third purchase: 9745 from the exact sums") << third
            << QStringList{"units 50000 principal 9745 cost 9745 contract 10000 fee 0 cash -10000 year 0"} << Roundings{};
        QTest::newRow("a third purchase: 9746 from the printed 9682, 取得単価 still from the sums") << third
            << QStringList{"units 50000 principal 9746 cost 9745 contract 10000 fee 0 cash -10000 year 0"}
            << Roundings{.average = PrincipalAverage::Printed};
        QTest::newRow("10000.5 nearest, a half up")
            << Steps{buy('A', "2024-01-10", 10000, 10000), buy('A', "2024-01-11", 10000, 10001)}
            << QStringList{"units 20000 principal 10001 cost 10001 contract 10001 fee 0 cash -10001 year 0"}
            << Roundings{.principal = Rounding::HalfUp};
        // Kept in proportion, the principal would be 10000.5 on the unit left, and the
        // average 10000.25, rounded to 10000.
        QTest::newRow("a redemption restarts from the rounded 10001")
            << Steps{buy('A', "2024-01-10", 10000, 10000), buy('A', "2024-01-11", 10000, 10001),
                     redeem('A', "2024-01-12", 10000, 10000), buy('A', "2024-01-13", 10000, 10000)}
            << QStringList{"units 10000 principal 10001 cost 10001 proceeds 10000 acquisition 10001 gain -1 income 0 resident 0 cash 10000 year -1",
                           "units 20000 principal 10001 cost 10001 contract 10000 fee 0 cash -10000 year -1"}
            << Roundings{.principal = Rounding::HalfUp};
    }
    void principal()
    {
        QFETCH(Roundings, roundings);
        check(roundings);
    }

    // Rule 2: 取得単価 includes the fee; the 取得費 of a redemption is floored. The trade
    // report's 受渡金額 holds the fee, or, for a no-load order by amount, the amount.
    void cost_data()
    {
        addColumns();
        QTest::addColumn<Roundings>("roundings");
        const Roundings yen{.cost = PriceStep::Yen};
        Event withRate = buy('A', "2024-01-16", 10000, 9000);
        withRate.feeRate = DecimalRate{3240};
        const QString published = "units 10000 principal 9000 cost 9291 contract 9000 fee 291 cash -9291 year 0";
        QTest::newRow("published: a 3.24 % fee gives 9291") << Steps{withRate} << QStringList{published} << yen;
        QTest::newRow("the same from its 受渡金額") << Steps{paid('A', "2024-01-16", 10000, 9000, 9291)}
            << QStringList{published} << yen;
        Event rateAndPaid = paid('A', "2024-01-16", 10000, 9000, 9291);
        rateAndPaid.feeRate = DecimalRate{3240};
        QTest::newRow("受渡金額 with a fee rate: the paper's fee") << Steps{rateAndPaid} << QStringList{published} << yen;
        Event feeAndPaid = paid('A', "2024-01-16", {}, 9000, 9291);
        feeAndPaid.fee = 291;
        QTest::newRow("受渡金額 less the fee buys by amount") << Steps{feeAndPaid} << QStringList{published} << yen;
        Event amountAndPaid = paid('A', "2024-01-16", {}, 9000, 9291);
        amountAndPaid.amount = 9000;
        QTest::newRow("受渡金額 beside the amount: the fee between them") << Steps{amountAndPaid}
            << QStringList{published} << yen;
        // 33333 × 10000 ÷ 20512 = 16250.48…; 16250 units cost 33332 rounded half up, one more.
        const QString byAmount = "units 16251 principal 20512 cost 20512 contract 33333 fee 0 cash -33333 year 0";
        QTest::newRow("a no-load 33333 yen at 20512: an order by amount") << Steps{paid('A', "2024-01-16", {}, 20512, 33333)}
            << QStringList{byAmount} << yen;
        QTest::newRow("… the same with its units: 33334.05 is within a unit's price") << Steps{paid('A', "2024-01-16", 16251, 20512, 33333)}
            << QStringList{byAmount} << yen;
        Event byBroker = buy('A', "2024-01-16", 0, 20512);
        byBroker.units.reset();
        byBroker.amount = 33333;
        QTest::newRow("the amount column with --units-rounding broker") << Steps{byBroker} << QStringList{byAmount}
            << Roundings{.brokerUnits = true};
        byBroker.amount = 40000;
        // 19500.78 units; 19500 cost 39998.4 → 39998 < 40000: one more, 19501.
        QTest::newRow("… one more unit whenever the whole ones cost less") << Steps{byBroker}
            << QStringList{"units 19501 principal 20512 cost 20512 contract 40000 fee 0 cash -40000 year 0"}
            << Roundings{.brokerUnits = true};
        byBroker.amount = 20512;
        QTest::newRow("… and none when they cost the amount") << Steps{byBroker}
            << QStringList{"units 10000 principal 20512 cost 20512 contract 20512 fee 0 cash -20512 year 0"}
            << Roundings{.brokerUnits = true};
        // 15000 × 10001 ÷ 10000 = 15001.5.
        QTest::newRow("約定金額 15001.5 down") << Steps{buy('A', "2024-01-16", 15000, 10001)}
            << QStringList{"units 15000 principal 10001 cost 10001 contract 15001 fee 0 cash -15001 year 0"} << yen;
        QTest::newRow("約定金額 15001.5 nearest") << Steps{buy('A', "2024-01-16", 15000, 10001)}
            << QStringList{"units 15000 principal 10001 cost 10002 contract 15002 fee 0 cash -15002 year 0"}
            << Roundings{.contract = Rounding::HalfUp};
        const Steps eighth{buy('A', "2024-01-10", 80000, 5000, 1), redeem('A', "2024-01-11", {}, 5000)};
        QTest::newRow("5000.125 up, 取得費 floored") << eighth
            << QStringList{"units 80000 principal 5000 cost 5001 contract 40000 fee 1 cash -40001 year 0",
                           "units 0 proceeds 40000 acquisition 40008 gain -8 income 0 resident 0 cash 40000 year -8"}
            << yen;
        QTest::newRow("5000.125 to 5000.13 in cents") << eighth
            << QStringList{"units 80000 principal 5000 cost 5000.13 contract 40000 fee 1 cash -40001 year 0",
                           "units 0 proceeds 40000 acquisition 40001 gain -1 income 0 resident 0 cash 40000 year -1"}
            << Roundings{.cost = PriceStep::Cent};
    }
    void cost()
    {
        QFETCH(Roundings, roundings);
        check(roundings);
    }

    // Rule 3: a distribution splits against the holding's own 個別元本; the return of
    // principal lowers both averages. The gross and the return of principal are each
    // rounded once, 普通分配金 the rest.
    void distribution_data()
    {
        addColumns();
        QTest::addColumn<Roundings>("roundings");
        QTest::newRow("published: 600 on 10500, NAV after 10200")
            << Steps{open('A', "2024-01-12", 10000, 10500), distribute('A', "2024-01-15", 10200, 600)}
            << QStringList{"units 10000 principal 10200 cost 10200 ordinary 300 returned 300 income 45 resident 15 cash 540 year 0"} << Roundings{};
        Event withRate = buy('A', "2024-01-16", 10000, 9000);
        withRate.feeRate = DecimalRate{3240};
        QTest::newRow("published: 300 after a fee, 取得単価 9091")
            << Steps{withRate, distribute('A', "2024-01-17", 8800, 300)}
            << QStringList{"units 10000 principal 8800 cost 9091 ordinary 100 returned 200 income 15 resident 5 cash 280 year 0"} << Roundings{};
        QTest::newRow("published: 102548 units × 80 = 820.38, floored")
            << Steps{open('A', "2025-02-01", 102548, 8000), distribute('A', "2025-02-02", 9000, 80)}
            << QStringList{"units 102548 principal 8000 cost 8000 ordinary 820 returned 0 income 125 resident 41 cash 654 year 0"} << Roundings{};
        // Floored on their own, the two halves gave 0 and 0.
        QTest::newRow("the gross rounded once: 0.5 + 0.5 yen make 1, the odd yen 普通分配金")
            << Steps{open('A', "2024-01-12", 1000, 10000), distribute('A', "2024-01-15", 9995, 10)}
            << QStringList{"units 1000 principal 9995 cost 9995 ordinary 1 returned 0 income 0 resident 0 cash 1 year 0"} << Roundings{};
        // 100000 × 0.55 ÷ 10000 = 5.5 yen of principal back, floored to 5: 普通分配金 is
        // 1000 − 5 = 995 (flooring it on its own gave 994.5 → 994, and cash 798).
        QTest::newRow("cents in 個別元本: 10000.55 less 0.55")
            << Steps{open('A', "2024-01-12", 100000, 10000.55, 10100.25), distribute('A', "2024-01-15", 10000, 100)}
            << QStringList{"units 100000 principal 10000 cost 10099.7 ordinary 995 returned 5 income 152 resident 49 cash 799 year 0"} << Roundings{};
        QTest::newRow("取得単価 stops at 0")
            << Steps{open('A', "2024-01-12", 10000, 10000, 100), distribute('A', "2024-01-15", 9000, 500)}
            << QStringList{"units 10000 principal 9500 cost 0 ordinary 0 returned 500 income 0 resident 0 cash 500 year 0"} << Roundings{};
        const Roundings nearest{.distribution = Rounding::HalfUp};
        QTest::newRow("7234 units × 5 = 3.617: 4 nearest") << Steps{open('A', "2024-01-12", 7234, 10000), distribute('A', "2024-01-15", 10000, 5)}
            << QStringList{"units 7234 principal 10000 cost 10000 ordinary 4 returned 0 income 0 resident 0 cash 4 year 0"} << nearest;
        QTest::newRow("1013171 units × 50 = 5065.855: 5066 nearest")
            << Steps{open('A', "2024-01-12", 1013171, 10000), distribute('A', "2024-01-15", 10000, 50)}
            << QStringList{"units 1013171 principal 10000 cost 10000 ordinary 5066 returned 0 income 775 resident 253 cash 4038 year 0"} << nearest;
        // 1013171 × 30 ÷ 10000 = 3039.513 of principal back: 3040 nearest, 2026 the rest.
        QTest::newRow("… the return of principal rounded alike, 普通分配金 the rest")
            << Steps{open('A', "2024-01-12", 1013171, 10000), distribute('A', "2024-01-15", 9970, 50)}
            << QStringList{"units 1013171 principal 9970 cost 9970 ordinary 2026 returned 3040 income 310 resident 101 cash 4655 year 0"} << nearest;
        QTest::newRow("the notice's split, without the NAV after")
            << Steps{open('A', "2024-01-12", 10000, 10500), notice('A', "2024-01-15", {}, 600, 300)}
            << QStringList{"units 10000 principal 10200 cost 10200 ordinary 300 returned 300 income 45 resident 15 cash 540 year 0"} << Roundings{};
        QTest::newRow("the notice's split stands against the NAV's")
            << Steps{open('A', "2024-01-12", 10000, 10500), notice('A', "2024-01-15", 10200, 600, 100)}
            << QStringList{"units 10000 principal 10400 cost 10400 ordinary 500 returned 100 income 76 resident 25 cash 499 year 0"} << Roundings{};
        QTest::newRow("a printed return beyond 個別元本 stops it at 0")
            << Steps{open('A', "2024-01-12", 10000, 100), notice('A', "2024-01-15", {}, 600, 300)}
            << QStringList{"units 10000 principal 0 cost 0 ordinary 300 returned 300 income 45 resident 15 cash 540 year 0"} << Roundings{};
        QTest::newRow("一般: withheld as in 特定, outside the 特定口座's year")
            << Steps{in(Account::General, open('A', "2024-01-12", 10000, 10500)),
                     in(Account::General, distribute('A', "2024-01-15", 10200, 600))}
            << QStringList{"units 10000 principal 10200 cost 10200 ordinary 300 returned 300 income 45 resident 15 cash 540"} << Roundings{};
    }
    void distribution()
    {
        QFETCH(Roundings, roundings);
        check(roundings);
    }

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
        QTest::newRow("旧NISA untaxed")
            << Steps{in(Account::OldNisa, open('A', "2020-01-12", 10000, 1000)),
                     in(Account::OldNisa, distribute('A', "2020-01-15", 10000, 10000))}
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
        QTest::newRow("一般 beside 特定: its gain is shown, not withheld, and leaves the 特定口座's year alone")
            << Steps{open('A', "2024-02-01", 10000, 10000), redeem('A', "2024-02-02", {}, 8000),
                     in(Account::General, open('A', "2024-02-03", 10000, 10000)),
                     in(Account::General, redeem('A', "2024-02-04", {}, 20000))}
            << QStringList{"units 0 proceeds 20000 acquisition 10000 gain 10000 income 0 resident 0 cash 20000"};
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
        QTest::addColumn<Roundings>("roundings");
        const Steps steps{open('A', "2024-03-01", 10000, 10000), distribute('A', "2024-03-02", 9000, 1500, true)};
        QTest::newRow("1554.4… units rounded up") << steps
            << QStringList{"units 11555 principal 9000 cost 9000 ordinary 500 returned 1000 reinvested 1555 income 76 resident 25 cash 0 year 0"}
            << Roundings{.units = Rounding::Up};
        QTest::newRow("rounded down") << steps
            << QStringList{"units 11554 principal 9000 cost 9001 ordinary 500 returned 1000 reinvested 1554 income 76 resident 25 cash 0 year 0"}
            << Roundings{.units = Rounding::Down};
        // 1554 units cost 1398.6 → 1399 ≥ 1399: no more.
        QTest::newRow("as brokers fill an amount: 1554") << steps
            << QStringList{"units 11554 principal 9000 cost 9001 ordinary 500 returned 1000 reinvested 1554 income 76 resident 25 cash 0 year 0"}
            << Roundings{.units = Rounding::Up, .brokerUnits = true};
        Event recorded = notice('A', "2024-03-02", {}, 1500, 1000, true);
        recorded.units = 1560;
        QTest::newRow("the broker's units stand; without the NAV they cost what they were paid")
            << Steps{open('A', "2024-03-01", 10000, 10000), recorded}
            << QStringList{"units 11560 principal 8996 cost 8996 ordinary 500 returned 1000 reinvested 1560 income 76 resident 25 cash 0 year 0"}
            << Roundings{};
        recorded.units.reset();
        QTest::newRow("… and without either, the NAV is asked for") << Steps{open('A', "2024-03-01", 10000, 10000), recorded}
            << QStringList{"refused: 基準価額が入力されていません"} << Roundings{};
        Event byAmount = buy('A', "2024-03-01", 0, 9500);
        byAmount.units.reset();
        byAmount.amount = 1000000;
        QTest::newRow("a purchase of 1000000 yen: 1052631.57… units up") << Steps{byAmount}
            << QStringList{"units 1052632 principal 9500 cost 9500 contract 1000000 fee 0 cash -1000000 year 0"}
            << Roundings{.units = Rounding::Up};
        QTest::newRow("… and down, 取得単価 9500.004… up") << Steps{byAmount}
            << QStringList{"units 1052631 principal 9500 cost 9501 contract 1000000 fee 0 cash -1000000 year 0"}
            << Roundings{.units = Rounding::Down};
        byAmount.amount = 1;
        byAmount.nav = 20000;
        QTest::newRow("1 yen buys half a unit, down to none") << Steps{byAmount}
            << QStringList{"refused: 金額 1 円では 1 口も買えません"} << Roundings{.units = Rounding::Down};
    }
    void reinvestment()
    {
        QFETCH(Roundings, roundings);
        check(roundings);
    }

    // Rule 7: the 解約価額 is the NAV less the 信託財産留保額, which the fund rounds to the
    // yen per 10,000 units (or the trade report's own); 解約代金 floored.
    void redemption_data()
    {
        addColumns();
        QTest::addColumn<Roundings>("roundings");
        // The 信託財産留保額 12345 × 0.3 % = 37.035 is floored to 37: 解約価額 12308 (kept
        // exact, 12307.965 gave 解約代金 12307, 譲渡損益 2307 and cash 11839).
        QTest::newRow("0.3 % of 12345 kept back: 37 per 10000 units")
            << Steps{open('A', "2024-03-01", 10000, 10000), redeem('A', "2024-03-02", 10000, 12345, DecimalRate{300})}
            << QStringList{"units 0 proceeds 12308 acquisition 10000 gain 2308 income 353 resident 115 cash 11840 year 2308"}
            << Roundings{};
        const Steps paper{open('A', "2024-03-01", 1000000, 7930), redeem('A', "2024-03-02", {}, 7930, DecimalRate{300})};
        QTest::newRow("the trade report: 7930 less 23.79 floored, 1000000 units fetch 790700") << paper
            << QStringList{"units 0 proceeds 790700 acquisition 793000 gain -2300 income 0 resident 0 cash 790700 year -2300"}
            << Roundings{};
        QTest::newRow("… 24 kept back nearest: 790600") << paper
            << QStringList{"units 0 proceeds 790600 acquisition 793000 gain -2400 income 0 resident 0 cash 790600 year -2400"}
            << Roundings{.retention = Rounding::HalfUp};
        QTest::newRow("… 7906.21 kept exact: 790621") << paper
            << QStringList{"units 0 proceeds 790621 acquisition 793000 gain -2379 income 0 resident 0 cash 790621 year -2379"}
            << Roundings{.retention = std::nullopt};
        Event priced = redeem('A', "2024-03-02", {}, 0);
        priced.nav.reset();
        priced.redemptionPrice = 7907;
        QTest::newRow("the 解約価額 as printed, without NAV or retention")
            << Steps{open('A', "2024-03-01", 1000000, 7930), priced}
            << QStringList{"units 0 proceeds 790700 acquisition 793000 gain -2300 income 0 resident 0 cash 790700 year -2300"}
            << Roundings{.retention = std::nullopt};
        // 約定金額 floor(3.0003) = 3 puts 取得単価 below 個別元本.
        QTest::newRow("part of the holding keeps its figures")
            << Steps{buy('A', "2024-03-01", 3, 10001), redeem('A', "2024-03-02", 1, 10000)}
            << QStringList{"units 2 principal 10001 cost 10000 proceeds 1 acquisition 1 gain 0 income 0 resident 0 cash 1 year 0"}
            << Roundings{};
    }
    void redemption()
    {
        QFETCH(Roundings, roundings);
        check(roundings);
    }

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
        QTest::newRow("2009: a fund's distributions and a loss, no settlement either")
            << Steps{open('A', "2009-03-01", 100000, 10000), distribute('A', "2009-03-02", 10000, 1000),
                     redeem('A', "2009-06-01", {}, 9000)}
            << QStringList{"units 0 proceeds 90000 acquisition 100000 gain -10000 income 0 resident 0 cash 90000 year -10000"}
            << true << "none";
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
        QTest::newRow("from 旧NISA into the same 特定 holding")
            << Steps{in(Account::OldNisa, buy('A', "2023-01-10", 10000, 10000)),
                     in(Account::OldNisa, moveOut('A', "2024-12-01", {}, 13000))}
            << QStringList{"units 10000 principal 10000 cost 13000"};
        const QString fromTaxed = "refused: 払出は NISA か旧NISA の保有を特定口座へ移します（口座は NISA か旧NISA）";
        QTest::newRow("a 特定 holding is not transferred")
            << Steps{buy('A', "2024-07-01", 10000, 12000), in(Account::Specified, moveOut('A', "2024-12-01", {}, 13000))}
            << QStringList{fromTaxed};
        QTest::newRow("nor a 一般 one")
            << Steps{in(Account::General, buy('A', "2024-07-01", 10000, 12000)),
                     in(Account::General, moveOut('A', "2024-12-01", {}, 13000))}
            << QStringList{fromTaxed};
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
        Event paidOn = distribute('A', "2024-03-02", 10000, 10);
        paidOn.units = 9999;
        row("a distribution on other units than held", paidOn, "refused: 分配の口数 9999 が保有口数 10000 と違います");
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
        row("受渡金額 of 0", paid('A', "2024-03-02", 10, 10000, 0), "refused: 受渡金額は 1 円以上にしてください");
        Event rated = paid('A', "2024-03-02", {}, 10000, 10300);
        rated.feeRate = DecimalRate{3000};
        row("受渡金額 with a fee rate and no units", rated,
            "refused: 手数料率で買った受渡金額からは口数が決まりません。口数を入力してください");
        row("受渡金額 below the 約定金額", paid('A', "2024-03-02", 10000, 9000, 8990),
            "refused: 受渡金額 8990 円が約定金額 9000 円より少なくなっています");
        Event feeDiffers = paid('A', "2024-03-02", 10000, 9000, 9291);
        feeDiffers.fee = 290;
        row("a fee that is not 受渡金額 less 約定金額", feeDiffers, "refused: 手数料 290 円が受渡金額と約定金額の差 291 円と合いません");
        Event feeTakesAll = paid('A', "2024-03-02", {}, 9000, 291);
        feeTakesAll.fee = 291;
        row("a fee that takes the whole 受渡金額", feeTakesAll, "refused: 手数料 291 円が受渡金額 291 円以上です");
        Event priced = redeem('A', "2024-03-02", {}, 12000, DecimalRate{300});
        priced.redemptionPrice = 11964;
        row("a 解約価額 and a retention", priced, "refused: 解約価額と信託財産留保額は一緒に指定できません");
        priced.retention.reset();
        priced.redemptionPrice = 0;
        row("a 解約価額 of 0", priced, "refused: 解約価額は 0 より大きい値にしてください");
        row("元本払戻金 above the distribution", notice('A', "2024-03-02", {}, 100, 101),
            "refused: 元本払戻金(1万口当たり) 101 が分配金(1万口当たり) 100 を超えています");
        row("a negative 元本払戻金", notice('A', "2024-03-02", {}, 100, -1),
            "refused: 元本払戻金(1万口当たり)は 0 以上にしてください");
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
        QTest::newRow("the retention rounded") << "信託財産留保額（1万口当たり） = 12345 × 0.3 % = 37.035 を切り捨て = 37";
        QTest::newRow("the 解約価額") << "解約価額 = 12345 − 37 = 12308";
        QTest::newRow("解約代金 floored") << "解約代金 = 12308 × 10000 ÷ 10000 = 12308 を切り捨て = 12308";
        QTest::newRow("the year's tax so far") << "年内の住民税 = 3309 × 3 % = 99.27 を切り捨て = 99";
        QTest::newRow("the tax's name before 2013") << "税率（2012 年）: 所得税 7 %、住民税 3 %";
        QTest::newRow("withheld at 7 %") << "所得税 = 1000 × 7 % = 70 を切り捨て = 70";
        QTest::newRow("the tax's name from 2038") << "税率（2038 年）: 所得税 15 %、住民税 5 %";
    }
    void working()
    {
        QFETCH(QString, line);
        Event byAmount = buy('A', "2013-03-01", 0, 9500);
        byAmount.units.reset();
        byAmount.amount = 1000000;
        Event withRate = buy('A', "2013-03-02", 3, 10001);
        withRate.feeRate = DecimalRate{3240};
        const Steps steps{other(EventKind::Dividend, "2012-12-01", 1000), byAmount, withRate,
                          distribute('A', "2013-03-03", 9000, 1500, true),
                          redeem('A', "2013-03-04", 10000, 12345, DecimalRate{300}),
                          distribute('A', "2038-03-04", 9000, 100)};
        Trace trace;
        replay(steps, {.cost = PriceStep::Cent}, nullptr, &trace);
        QVERIFY2(trace.steps().contains(line), qPrintable(trace.steps().join(u'\n')));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(LedgerTest)
#include "tst_ledger.moc"
