// The exact kernel's division and printer, and the tax law by year.
#include "core/exact.h"
#include "core/tax_law.h"

#include <QtTest>

namespace {

// A decimal literal of any width: "-18446744073709551617".
Wide wide(const QString& text)
{
    Wide value = 0;
    for (const QChar c : text.mid(text.startsWith(u'-') ? 1 : 0))
        value = value * 10 + (c.unicode() - u'0');
    return text.startsWith(u'-') ? -value : value;
}

} // namespace

class ExactTest : public QObject {
    Q_OBJECT
private slots:
    void divide_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("quotients"); // 切り捨て 切り上げ 四捨五入 偶数丸め
        QTest::newRow("3.5") << "7" << "2" << "3 4 4 4";
        QTest::newRow("2.5: a half up, or to even") << "5" << "2" << "2 3 3 2";
        QTest::newRow("-2.5: down is away from 0, a half up is towards it") << "-5" << "2" << "-3 -2 -2 -2";
        QTest::newRow("-3.5 to even") << "-7" << "2" << "-4 -3 -3 -4";
        QTest::newRow("a negative divisor") << "5" << "-2" << "-3 -2 -2 -2";
        QTest::newRow("a third") << "1" << "3" << "0 1 0 0";
        QTest::newRow("two thirds") << "2" << "3" << "0 1 1 1";
        QTest::newRow("exact") << "6" << "3" << "2 2 2 2";
        QTest::newRow("2^63 + 0.5, beyond 64 bits") << "18446744073709551617" << "2"
                                                    << "9223372036854775808 9223372036854775809 9223372036854775809 9223372036854775808";
        QTest::newRow("the least 64-bit number ÷ −1") << "-9223372036854775808" << "-1"
                                                     << "9223372036854775808 9223372036854775808 9223372036854775808 9223372036854775808";
    }
    void divide()
    {
        QFETCH(QString, n);
        QFETCH(QString, d);
        QFETCH(QString, quotients);
        QStringList seen;
        for (const Rounding rounding : {Rounding::Down, Rounding::Up, Rounding::HalfUp, Rounding::HalfEven})
            seen << ::decimalText(::divide(wide(n), wide(d), rounding), 1, 0);
        QCOMPARE(seen.join(u' '), quotients);
    }

    void decimalText_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("d");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        QTest::newRow("four decimals") << "196400001" << "10000" << 4 << "19640.0001";
        QTest::newRow("trailing zeros dropped") << "15300" << "1000" << 3 << "15.3";
        QTest::newRow("a whole number") << "5000" << "1000" << 3 << "5";
        QTest::newRow("zeros after the point kept") << "12345" << "100000000" << 8 << "0.00012345";
        QTest::newRow("below 0 by less than 1") << "-5" << "10" << 8 << "-0.5";
        QTest::newRow("a negative divisor") << "10000" << "-4" << 2 << "-2500";
        QTest::newRow("zero") << "0" << "7" << 8 << "0";
        QTest::newRow("goes on: cut, not rounded") << "2" << "3" << 2 << "0.66…";
        QTest::newRow("beyond 64 bits, a piece of zeros") << "100000000000000000000" << "1" << 0 << "100000000000000000000";
        QTest::newRow("three pieces") << "-1000000000000000000000000000000000005" << "1" << 0
                                      << "-1000000000000000000000000000000000005";
        QTest::newRow("eight decimals of yen beyond 64 bits") << "1230000000000000000000000001" << "100000000" << 8
                                                             << "12300000000000000000.00000001";
    }
    void decimalText()
    {
        QFETCH(QString, n);
        QFETCH(QString, d);
        QFETCH(int, places);
        QFETCH(QString, text);
        QCOMPARE(::decimalText(wide(n), wide(d), places), text);
    }

    // The row in force by the year of the 受渡日, as help and headings print it.
    void taxLaw_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("law"); // the two taxes, and whether dividends are netted
        QTest::newRow("2008: none") << 2008 << "none";
        QTest::newRow("2009") << 2009 << "所得税 7 %, 住民税 3 %, not netted";
        QTest::newRow("2010: netted from here") << 2010 << "所得税 7 %, 住民税 3 %, netted";
        QTest::newRow("2012") << 2012 << "所得税 7 %, 住民税 3 %, netted";
        QTest::newRow("2013") << 2013 << "所得税及び復興特別所得税 7.147 %, 住民税 3 %, netted";
        QTest::newRow("2014") << 2014 << "所得税及び復興特別所得税 15.315 %, 住民税 5 %, netted";
        QTest::newRow("2037") << 2037 << "所得税及び復興特別所得税 15.315 %, 住民税 5 %, netted";
        QTest::newRow("2038") << 2038 << "所得税 15 %, 住民税 5 %, netted";
        QTest::newRow("9999") << 9999 << "所得税 15 %, 住民税 5 %, netted";
        QTest::newRow("today's, for the calculators") << kCurrentTaxYear << "所得税及び復興特別所得税 15.315 %, 住民税 5 %, netted";
    }
    void taxLaw()
    {
        QFETCH(int, year);
        QFETCH(QString, law);
        const TaxYears* row = taxLawOf(year);
        QCOMPARE(row ? QStringLiteral("%1, %2, %3")
                           .arg(incomeTaxText(*row), residentTaxText(*row),
                                row->dividendNetting ? QStringLiteral("netted") : QStringLiteral("not netted"))
                     : QStringLiteral("none"),
                 law);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(ExactTest)
#include "tst_exact.moc"
