// A distribution's 元本払戻金 read back from the tax a broker's row states.
#include "csv/distribution_split.h"

#include <QtTest>

using namespace ledger;

Q_DECLARE_METATYPE(Account)
Q_DECLARE_METATYPE(Rounding)

namespace {

constexpr Integer kNone = -1;

// What the ledger withholds when `returned` of the distribution is 元本払戻金.
Integer ledgerTax(Integer units, Integer distribution, Integer returned, Rounding rounding)
{
    Event event;
    event.date = QDate(2024, 5, 21);
    event.kind = EventKind::Distribution;
    event.distribution = distribution;
    event.returned = returned;
    Holding holding;
    holding.units = units;
    Roundings roundings;
    roundings.distribution = rounding;
    const auto applied = applyEvent(holding, AccountYear{}, event, roundings);
    return applied ? applied->figures.incomeTax.value_or(0) + applied->figures.residentTax.value_or(0) : kNone;
}

} // namespace

class DistributionSplitTest : public QObject {
    Q_OBJECT
private slots:
    void split_data()
    {
        QTest::addColumn<Integer>("units");
        QTest::addColumn<Integer>("distribution");
        QTest::addColumn<Integer>("tax");
        QTest::addColumn<Account>("account");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<Rounding>("rounding");
        QTest::addColumn<Integer>("returned"); // kNone: no split read
        const auto S = Account::Specified;
        const QDate may(2024, 5, 21);
        const auto H = Rounding::HalfUp;

        // The 楽天 sample's rows: 10,000 yen gross withholding 765 + 250 on 5,000 yen.
        QTest::newRow("楽天 リート 1,015 on 10,000") << Integer{1000000} << Integer{100} << Integer{1015} << S << may
                                                     << H << Integer{50};
        // 5,065.855 yen half up is 5,066, all 普通分配金: 775 + 253.
        QTest::newRow("楽天 高配当 1,028 on 5,066") << Integer{1013171} << Integer{50} << Integer{1028} << S
                                                    << QDate(2024, 4, 19) << H << Integer{0};
        QTest::newRow("一般 withholds as 特定 does") << Integer{1000000} << Integer{100} << Integer{1015}
                                                    << Account::General << may << H << Integer{50};
        // 507 yen is 357 + 150 on 5,000 yen at 7.147 % + 3 %, but 382 + 125 on 2,500 yen at
        // 15.315 % + 5 %.
        QTest::newRow("2013's rates") << Integer{1000000} << Integer{100} << Integer{507} << S << QDate(2013, 12, 31)
                                      << H << Integer{50};
        QTest::newRow("2014's rates") << Integer{1000000} << Integer{100} << Integer{507} << S << QDate(2014, 1, 1)
                                      << H << Integer{75};
        QTest::newRow("before any tax law") << Integer{1000000} << Integer{100} << Integer{1015} << S
                                            << QDate(2008, 12, 31) << H << kNone;
        // 47,909 × 34 ÷ 10,000 = 162.89…: 163 half up less 43 of 9 yen per 10,000 gives 120
        // (18 + 6); down, 162 less 38 of 8 gives 124 (18 + 6).
        QTest::newRow("gross half up") << Integer{47909} << Integer{34} << Integer{24} << S << may << H << Integer{9};
        QTest::newRow("gross down") << Integer{47909} << Integer{34} << Integer{24} << S << may << Rounding::Down
                                    << Integer{8};
        // 150 yen down to 146 yen of 普通分配金 all withhold 22 + 7.
        QTest::newRow("two splits, one tax") << Integer{10000} << Integer{150} << Integer{29} << S << may << H
                                             << kNone;
        QTest::newRow("more tax than all 普通分配金 gives") << Integer{1000000} << Integer{100} << Integer{2032} << S
                                                          << may << H << kNone;
        QTest::newRow("no split gives this tax") << Integer{1000000} << Integer{100} << Integer{1016} << S << may
                                                 << H << kNone;
        QTest::newRow("a tax below 0") << Integer{1000000} << Integer{100} << Integer{-1} << S << may << H << kNone;
        // Untaxed: 1 yen per 10,000 less of 元本払戻金 is 10 yen of 普通分配金, taxed 1 yen.
        QTest::newRow("untaxed 特定, all 元本払戻金") << Integer{100000} << Integer{30} << Integer{0} << S << may << H
                                                      << Integer{30};
        // 1 yen of 普通分配金 would be untaxed too.
        QTest::newRow("untaxed 特定, too few units to tell") << Integer{10000} << Integer{30} << Integer{0} << S
                                                             << may << H << kNone;
        QTest::newRow("NISA, untaxed") << Integer{1000000} << Integer{100} << Integer{0} << Account::Nisa << may << H
                                       << kNone;
        QTest::newRow("旧NISA, untaxed") << Integer{3333} << Integer{50} << Integer{0} << Account::OldNisa << may
                                        << H << kNone;
        QTest::newRow("no units") << Integer{0} << Integer{100} << Integer{0} << S << may << H << kNone;
        QTest::newRow("no distribution, no tax") << Integer{1000000} << Integer{0} << Integer{0} << S << may << H
                                                 << Integer{0};
        QTest::newRow("a gross beyond the ledger's range") << kLargest << Integer{100000} << Integer{0} << S << may
                                                           << H << kNone;
    }
    void split()
    {
        QFETCH(Integer, units);
        QFETCH(Integer, distribution);
        QFETCH(Integer, tax);
        QFETCH(Account, account);
        QFETCH(QDate, date);
        QFETCH(Rounding, rounding);
        QFETCH(Integer, returned);
        const auto found = returnedFromTax(units, distribution, tax, account, date, rounding);
        QCOMPARE(found.value_or(kNone), returned);
    }

    // The search against every split tried in turn: for each tax from 0 to one above the
    // most, the split is read exactly when one alone gives that tax.
    void splitAgreesWithEveryCandidate_data()
    {
        QTest::addColumn<Integer>("units");
        QTest::addColumn<Integer>("distribution");
        QTest::addColumn<Rounding>("rounding");
        QTest::newRow("a few units, many splits alike") << Integer{12345} << Integer{60} << Rounding::HalfUp;
        QTest::newRow("a large holding") << Integer{2718281} << Integer{97} << Rounding::Down;
        QTest::newRow("one yen per 10,000") << Integer{500000} << Integer{1} << Rounding::HalfUp;
    }
    void splitAgreesWithEveryCandidate()
    {
        QFETCH(Integer, units);
        QFETCH(Integer, distribution);
        QFETCH(Rounding, rounding);
        std::vector<Integer> taxes;
        for (Integer returned = 0; returned <= distribution; ++returned)
            taxes.push_back(ledgerTax(units, distribution, returned, rounding));
        for (Integer tax = 0; tax <= taxes.front() + 1; ++tax) {
            const auto matching = std::count(taxes.begin(), taxes.end(), tax);
            const auto first = std::find(taxes.begin(), taxes.end(), tax) - taxes.begin();
            const Integer expected = matching == 1 ? Integer{first} : kNone;
            const auto found = returnedFromTax(units, distribution, tax, Account::Specified, QDate(2024, 5, 21),
                                               rounding);
            QVERIFY2(found.value_or(kNone) == expected, qPrintable(QStringLiteral("tax %1").arg(tax)));
        }
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(DistributionSplitTest)
#include "tst_distribution_split.moc"
