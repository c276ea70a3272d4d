// The book around the rules: which holding and which 特定口座 year an event meets, the
// order of dates, the years an event closes, and a copy that leaves its original alone.
#include "calc/ledger/book.h"

#include <QtTest>

using namespace ledger;

namespace {

// One event as a line: "date kind fund units nav [account [broker]]"; kind is b(uy),
// r(edeem), g(ain: the units are the amount) or t(ransfer); account N is NISA.
Event parse(const QString& line)
{
    const QStringList f = line.split(u' ');
    Event e;
    e.date = QDate::fromString(f.at(0), Qt::ISODate);
    const QChar kind = f.at(1).at(0);
    e.kind = kind == u'b' ? EventKind::Purchase
             : kind == u'r' ? EventKind::Redemption
             : kind == u'g' ? EventKind::Gain
                            : EventKind::Transfer;
    e.fund = f.at(2) == u"-" ? QString() : f.at(2);
    const Integer units = f.at(3).toLongLong();
    if (e.kind == EventKind::Gain)
        e.amount = units;
    else if (units != 0)
        e.units = units;
    if (const Integer nav = f.at(4).toLongLong(); nav != 0)
        e.nav = nav;
    e.account = f.size() > 5 && f.at(5) == u"N" ? Account::Nisa : Account::Specified;
    if (f.size() > 6)
        e.broker = f.at(6);
    return e;
}

// What the book said of each event: its units and 年内譲渡損益 and the years it closed,
// or its refusal.
QString posted(Book& book, const QString& line)
{
    const Outcome<Posted, PostRefusal> outcome = book.post(parse(line));
    if (!outcome)
        return refusalText(outcome.why());
    QString text = QStringLiteral("units %1").arg(outcome->holding.units);
    if (outcome->year)
        text += QStringLiteral(" year %1").arg(outcome->year->gain);
    for (const ClosedYear& closed : outcome->closed)
        text += QStringLiteral(" closed %1%2").arg(closed.year.year).arg(closed.account.broker);
    return text;
}

QString listed(const Book& book)
{
    QStringList held;
    for (const HeldFund& h : book.holdings())
        held << QStringLiteral("%1%2%3:%4").arg(h.fund, h.account.kind == Account::Nisa ? "N" : "", h.account.broker)
                    .arg(h.holding.units);
    return held.join(u' ');
}

} // namespace

class BookTest : public QObject {
    Q_OBJECT
private slots:
    void post_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("held"); // the book's holdings at the end
        QTest::newRow("a fund in two accounts and at two brokers: four holdings")
            << QStringList{"2024-01-10 b A 100 10000", "2024-01-10 b A 200 10000 N", "2024-01-10 b A 300 10000 S X",
                           "2024-01-11 r A 50 10000 S X"}
            << QStringList{"units 100 year 0", "units 200", "units 300 year 0", "units 250 year 0"}
            << "A:100 AX:250 AN:200";
        QTest::newRow("each broker's 特定口座 withholds on its own year: no refund across them")
            << QStringList{"2024-01-10 g - 10000 0 S X", "2024-01-11 g - -10000 0 S Y", "2024-01-12 g - 5000 0 S X"}
            << QStringList{"units 0 year 10000", "units 0 year -10000", "units 0 year 15000"} << "";
        QTest::newRow("a date before the last is refused and moves nothing")
            << QStringList{"2024-03-01 b A 100 10000", "2024-02-01 b A 100 10000", "2024-03-01 b A 1 10000"}
            << QStringList{"units 100 year 0", "受渡日 2024-02-01 が前の行の受渡日 2024-03-01 より前です",
                           "units 101 year 0"}
            << "A:101";
        QTest::newRow("before 2009 is refused for its rules, whatever the order")
            << QStringList{"2024-03-01 b A 100 10000", "2008-12-31 b A 100 10000"}
            << QStringList{"units 100 year 0", "2009 年より前の受渡日は計算できません（税の規則が違います）"}
            << "A:100";
        QTest::newRow("a later year closes every open year, once, a refused row none")
            << QStringList{"2024-03-01 b A 100 10000", "2024-03-01 b A 100 10000 S X", "2025-01-05 r A 999 10000",
                           "2025-01-06 b B 1 10000 N", "2025-01-07 b B 1 10000"}
            << QStringList{"units 100 year 0", "units 100 year 0",
                           "解約する口数 999 が保有口数 100 を超えています",
                           "units 1 closed 2024 closed 2024X", "units 1 year 0"}
            << "A:100 B:1 AX:100 BN:1";
        QTest::newRow("a 払出 empties the NISA holding and fills the 特定 one")
            << QStringList{"2024-01-10 b A 100 10000 N", "2024-02-10 t A 0 12000 N"}
            << QStringList{"units 100", "units 100"} << "A:100";
    }
    void post()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, shown);
        QFETCH(QString, held);
        Book book;
        QStringList got;
        for (const QString& line : events)
            got << posted(book, line);
        QCOMPARE(got, shown);
        QCOMPARE(listed(book), held);
    }

    // Each 払出 into a new 特定 holding inserts into the book while the NISA one is
    // erased: many of them, so that the book grows through several rehashes.
    void transfersThroughRehashes()
    {
        Book book;
        constexpr int kFunds = 300;
        for (int i = 0; i < kFunds; ++i)
            QCOMPARE(posted(book, QStringLiteral("2024-01-10 b F%1 %2 10000 N").arg(i).arg(i + 1)),
                     QStringLiteral("units %1").arg(i + 1));
        for (int i = 0; i < kFunds; ++i)
            QCOMPARE(posted(book, QStringLiteral("2024-02-10 t F%1 0 12000 N").arg(i)), QStringLiteral("units %1").arg(i + 1));
        const std::vector<HeldFund> held = book.holdings();
        QCOMPARE(held.size(), std::size_t{kFunds});
        for (const HeldFund& h : held) {
            QCOMPARE(h.account.kind, Account::Specified);
            QCOMPARE(h.holding.units, h.fund.mid(1).toLongLong() + 1);
        }
    }

    // The window's what-if: a copy takes an event, the original is as it was.
    void copyLeavesTheOriginal()
    {
        Book book;
        QCOMPARE(posted(book, "2024-01-10 b A 100 10000"), QString("units 100 year 0"));
        Book whatIf = book;
        QCOMPARE(posted(whatIf, "2024-06-10 r A 100 12000"), QString("units 0 year 20"));
        QCOMPARE(book.holding("A", {}).units, 100);
        QCOMPARE(book.year({}).gain, 0);
        QCOMPARE(book.lastDate(), QDate(2024, 1, 10));
        QCOMPARE(listed(whatIf), QString());
    }

    // close() settles the open years and books the refund in their report lines.
    void closeSettlesAndReports()
    {
        Book book;
        Event dividend = parse("2038-05-01 g - 0 0");
        dividend.kind = EventKind::Dividend;
        dividend.amount = 100000;
        QVERIFY(book.post(dividend));
        QVERIFY(book.post(parse("2038-06-01 g - -50000 0")));
        QVERIFY(book.post(parse("2038-06-02 b A 10 10000 N")));
        const std::vector<ClosedYear> closed = book.close();
        QCOMPARE(closed.size(), std::size_t{1});
        QVERIFY(closed.front().settlement);
        QCOMPARE(closed.front().settlement->incomeTax, -7500);
        QVERIFY(book.close().empty());
        const YearReports& reports = book.reports();
        QCOMPARE(reports.size(), std::size_t{2});
        QCOMPARE(reports.begin()->first.account.kind, Account::Specified);
        QCOMPARE(workingText(reports.begin()->second.paidIncomeTax), QString("7500"));
        QCOMPARE(workingText(reports.begin()->second.dividends), QString("100000"));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(BookTest)
#include "tst_book.moc"
