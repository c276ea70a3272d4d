// The book around the rules: which holding and which 特定口座 year an event meets, the
// order of dates, the years an event closes, and a copy that leaves its original alone.
#include "calc/ledger/book.h"
#include "calc/ledger/ledger_declaration.h"

#include <QtTest>

using namespace ledger;

namespace {

// The accounts by the letters the lines give them.
constexpr char16_t kAccountLetters[] = u"SNGO";

// One event as a line: "date kind fund units nav [account [broker]]"; kind is b(uy),
// r(edeem), g(ain: the units are the amount), v (配当: the units are the amount),
// p(aid distribution: the units are the distribution per 10,000 units) or t(ransfer);
// account S, N(ISA), G (一般), O (旧NISA) or ? (特定/一般).
Event parse(const QString& line)
{
    const QStringList f = line.split(u' ');
    Event e;
    e.date = QDate::fromString(f.at(0), Qt::ISODate);
    const QChar kind = f.at(1).at(0);
    e.kind = kind == u'b' ? EventKind::Purchase
             : kind == u'r' ? EventKind::Redemption
             : kind == u'g' ? EventKind::Gain
             : kind == u'v' ? EventKind::Dividend
             : kind == u'p' ? EventKind::Distribution
                            : EventKind::Transfer;
    e.fund = f.at(2) == u"-" ? QString() : f.at(2);
    const Integer units = f.at(3).toLongLong();
    if (e.kind == EventKind::Gain || e.kind == EventKind::Dividend)
        e.amount = units;
    else if (e.kind == EventKind::Distribution)
        e.distribution = units;
    else if (units != 0)
        e.units = units;
    if (const Integer nav = f.at(4).toLongLong(); nav != 0)
        e.nav = nav;
    if (f.size() > 5 && f.at(5) == u"?")
        e.specifiedOrGeneral = true;
    else if (f.size() > 5)
        e.account = static_cast<Account>(QStringView(kAccountLetters).indexOf(f.at(5)));
    if (f.size() > 6)
        e.broker = f.at(6);
    return e;
}

QString letter(Account account) { return QString(QChar(kAccountLetters[static_cast<int>(account)])); }

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
    if (line.endsWith(u" ?"))
        text += QStringLiteral(" in ") + letter(outcome->account.kind);
    for (const ClosedYear& closed : outcome->closed)
        text += QStringLiteral(" closed %1%2").arg(closed.year.year).arg(closed.account.broker);
    return text;
}

// The years close() settled: "2024 provisional", "2024X".
QString closedAtEnd(Book& book)
{
    QStringList years;
    for (const ClosedYear& closed : book.close())
        years << QStringLiteral("%1%2%3").arg(closed.year.year).arg(closed.account.broker,
                                                                     closed.provisional ? " provisional" : "");
    return years.join(u' ');
}

// Each line of the yearly report: its year, its account and the figures that are not 0,
// by their captions on the paper.
QStringList reported(const Book& book)
{
    QStringList lines;
    for (const auto& [key, report] : book.reports()) {
        QStringList parts{QString::number(key.year), accountName(key.account.kind).toString()};
        for (const ReportDecl& column : kReportColumns) {
            if ((report.*column.sum).raw != 0)
                parts << column.caption.toString() << workingText(report.*column.sum);
        }
        lines << parts.join(u' ');
    }
    return lines;
}

QString listed(const Book& book)
{
    QStringList held;
    for (const HeldFund& h : book.holdings())
        held << QStringLiteral("%1%2%3:%4").arg(h.fund, h.account.kind == Account::Specified ? QString() : letter(h.account.kind), h.account.broker)
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
        QTest::newRow("特定/一般: whichever of the two holds the fund")
            << QStringList{"2024-01-10 b A 100 10000 G", "2024-01-10 b B 100 10000 S", "2024-01-11 b A 5 10000 ?",
                           "2024-01-11 r B 40 10000 ?"}
            << QStringList{"units 100", "units 100 year 0", "units 105 in G", "units 60 year 0 in S"} << "B:60 AG:105";
        QTest::newRow("特定/一般: refused when neither holds it, or both")
            << QStringList{"2024-01-10 b A 100 10000 ?", "2024-01-10 b A 100 10000 G", "2024-01-10 b A 100 10000 S",
                           "2024-01-11 r A 5 10000 ?"}
            << QStringList{"特定口座にも一般口座にもこの銘柄の保有がありません（口座は特定か一般に）", "units 100",
                           "units 100 year 0", "この銘柄は特定口座と一般口座の両方にあります（口座は特定か一般に）"}
            << "A:100 AG:100";
        QTest::newRow("特定/一般: another security's 譲渡損益 goes to 特定")
            << QStringList{"2024-01-10 g - 1000 0 ?"} << QStringList{"units 0 year 1000 in S"} << "";
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

    // The day the history runs to: a later row is refused, a year it does not see to its
    // end is settled as a forecast.
    void asOf_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QDate>("asOf");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("closed"); // by close()
        const QStringList year{"2024-06-01 g - -1000 0", "2024-07-01 v - 10000 0"};
        QTest::newRow("a row after it refused, its own day taken")
            << QStringList{"2024-06-01 g - -1000 0", "2024-07-02 v - 10000 0", "2024-07-01 v - 10000 0"}
            << QDate(2024, 7, 1)
            << QStringList{"units 0 year -1000", "受渡日 2024-07-02 が基準日 2024-07-01 より後です", "units 0 year -1000"}
            << "2024 provisional";
        QTest::newRow("30 December: not over") << year << QDate(2024, 12, 30)
            << QStringList{"units 0 year -1000", "units 0 year -1000"} << "2024 provisional";
        QTest::newRow("31 December: over") << year << QDate(2024, 12, 31)
            << QStringList{"units 0 year -1000", "units 0 year -1000"} << "2024";
        QTest::newRow("a year a later row closes is over")
            << QStringList{"2024-06-01 g - -1000 0", "2025-01-05 g - 1 0"} << QDate(2025, 3, 1)
            << QStringList{"units 0 year -1000", "units 0 year 1 closed 2024"} << "2025 provisional";
    }
    void asOf()
    {
        QFETCH(QStringList, events);
        QFETCH(QDate, asOf);
        QFETCH(QStringList, shown);
        QFETCH(QString, closed);
        BookOptions options;
        options.asOf = asOf;
        Book book(options);
        QStringList got;
        for (const QString& line : events)
            got << posted(book, line);
        QCOMPARE(got, shown);
        QCOMPARE(closedAtEnd(book), closed);
    }

    // The yearly report as the papers lay it out, each account's line with what applies.
    void report_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("netting");
        QTest::addColumn<QStringList>("lines");
        const auto worked = [](const char* year, const char* account) {
            QStringList events;
            for (const char* line : {"-01-10 b A 1000000 10000", "-03-10 p A 200 10500", "-06-10 r A 0 9700"})
                events << QString::fromLatin1(year) + QString::fromLatin1(line) + u' ' + QString::fromLatin1(account);
            return events;
        };
        const QStringList paper = worked("2024", "S") << "2024-09-10 v - 30000 0";
        // 普通分配金 20000 (3063 + 1000 withheld), a loss of 30000, a 配当 of 30000 (4594 +
        // 1500): at the year's end 20000 is left taxed, 3063 + 1000, and the rest refunded.
        QTest::newRow("the worked year") << paper << true
            << QStringList{"2024 特定 譲渡の対価の額 970000 取得費及び譲渡に要した費用の額等 1000000 "
                           "差引金額（譲渡所得等の金額） -30000 配当等の額 50000 源泉徴収税額（配当等・所得税） 7657 "
                           "配当割額 2500 譲渡損失の金額 30000 差引金額（配当等） 20000 納付税額（所得税） 3063 "
                           "納付税額（住民税） 1000 還付税額（所得税） 4594 還付税額（住民税） 1500"};
        const QString unsettled = "%1 特定 譲渡の対価の額 970000 取得費及び譲渡に要した費用の額等 1000000 "
                                  "差引金額（譲渡所得等の金額） -30000 配当等の額 50000 源泉徴収税額（配当等・所得税） %2 "
                                  "配当割額 %3 差引金額（配当等） 50000 納付税額（所得税） %2 納付税額（住民税） %3";
        QTest::newRow("without dividend netting: nothing set off, all withheld kept") << paper << false
            << QStringList{unsettled.arg("2024", "7657", "2500")};
        QTest::newRow("2009: the account does not net yet")
            << (worked("2009", "S") << "2009-09-10 v - 30000 0") << true << QStringList{unsettled.arg("2009", "3500", "1500")};
        // 1531 + 500 withheld on 10000, 613 + 200 refunded at the loss of 4000.
        QTest::newRow("the 譲渡 section's taxes net of the year's refunds")
            << QStringList{"2024-02-01 g - 10000 0", "2024-03-01 g - -4000 0"} << true
            << QStringList{"2024 特定 差引金額（譲渡所得等の金額） 6000 源泉徴収税額（譲渡・所得税） 918 "
                           "源泉徴収税額（譲渡・住民税） 300"};
        QTest::newRow("一般: withheld on its distributions only, nothing netted") << worked("2024", "G") << true
            << QStringList{"2024 一般 譲渡の対価の額 970000 取得費及び譲渡に要した費用の額等 1000000 "
                           "差引金額（譲渡所得等の金額） -30000 配当等の額 20000 源泉徴収税額（配当等・所得税） 3063 "
                           "配当割額 1000"};
        QTest::newRow("NISA and 旧NISA: the amounts, no taxes")
            << (worked("2023", "O") + worked("2024", "N")) << true
            << QStringList{"2023 旧NISA 譲渡の対価の額 970000 取得費及び譲渡に要した費用の額等 1000000 "
                           "差引金額（譲渡所得等の金額） -30000 配当等の額 20000",
                           "2024 NISA 譲渡の対価の額 970000 取得費及び譲渡に要した費用の額等 1000000 "
                           "差引金額（譲渡所得等の金額） -30000 配当等の額 20000"};
    }
    void report()
    {
        QFETCH(QStringList, events);
        QFETCH(bool, netting);
        QFETCH(QStringList, lines);
        BookOptions options;
        options.dividendNetting = netting;
        Book book(options);
        for (const QString& line : events)
            QVERIFY2(book.post(parse(line)), qPrintable(line));
        (void)book.close();
        QCOMPARE(reported(book), lines);
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
