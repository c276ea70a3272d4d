#include "core/currency.h"
#include "core/figures.h"
#include "core/integer.h"
#include "core/worksheet.h"

#include <QtTest>

#include <cmath>
#include <limits>

using OptInt = std::optional<qint64>;
Q_DECLARE_METATYPE(OptInt)

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr qint64 kMaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 kMinRaw = std::numeric_limits<qint64>::min();

OptInt asOpt(std::optional<Integer> v) { return v ? OptInt(*v) : std::nullopt; }
} // namespace

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void roundToInteger_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<OptInt>("expected");
        QTest::addColumn<bool>("wide");
        QTest::newRow("0.5 ties down to even 0") << 0.5 << OptInt(0) << false;
        QTest::newRow("1.5 ties up to even 2") << 1.5 << OptInt(2) << false;
        QTest::newRow("2.5 ties down to even 2") << 2.5 << OptInt(2) << false;
        QTest::newRow("3.5 ties up to even 4") << 3.5 << OptInt(4) << false;
        QTest::newRow("-2.5 ties to -2") << -2.5 << OptInt(-2) << false;
        QTest::newRow("-0.5 ties to 0") << -0.5 << OptInt(0) << false;
        QTest::newRow("0.4 rounds to 0") << 0.4 << OptInt(0) << false;
        QTest::newRow("305.3805 rounds to 305") << 305.3805 << OptInt(305) << false;
        QTest::newRow("top of range") << 32767.4 << OptInt(32767) << false;
        QTest::newRow("32767.5 ties to 32768, out of range") << 32767.5 << OptInt() << false;
        QTest::newRow("bottom of range") << -32768.5 << OptInt(-32768) << false;
        QTest::newRow("below range") << -32768.6 << OptInt() << false;
        QTest::newRow("NaN") << kNaN << OptInt() << false;
        QTest::newRow("infinity") << kInf << OptInt() << false;
        QTest::newRow("minus infinity") << -kInf << OptInt() << false;
        // The wide range: every whole number a double holds exactly.
        QTest::newRow("wide: 32767.5 ties to 32768") << 32767.5 << OptInt(32768) << true;
        QTest::newRow("wide: 2^53 - 1") << 9007199254740991.0 << OptInt(9007199254740991) << true;
        QTest::newRow("wide: 2^53") << 9007199254740992.0 << OptInt() << true;
        QTest::newRow("wide: -(2^53 - 1)") << -9007199254740991.0 << OptInt(-9007199254740991) << true;
        QTest::newRow("wide: infinity") << kInf << OptInt() << true;
    }
    void roundToInteger()
    {
        QFETCH(double, value);
        QFETCH(OptInt, expected);
        QFETCH(bool, wide);
        QCOMPARE(asOpt(::roundToInteger(value, wide ? IntegerRange::wide() : IntegerRange::narrow())),
                 expected);
    }

    void checkedArithmetic_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<OptInt>("sum");
        QTest::addColumn<OptInt>("difference");
        QTest::addColumn<bool>("wide");
        QTest::newRow("largest statement total") << qint64(31766) << qint64(1001) << OptInt(32767) << OptInt(30765) << false;
        QTest::newRow("one past it") << qint64(31767) << qint64(1001) << OptInt() << OptInt(30766) << false;
        QTest::newRow("negative edge") << qint64(-32768) << qint64(-1) << OptInt() << OptInt(-32767) << false;
        QTest::newRow("minus the minimum") << qint64(0) << qint64(-32768) << OptInt(-32768) << OptInt() << false;
        QTest::newRow("difference out of range") << qint64(-7) << qint64(32767) << OptInt(32760) << OptInt() << false;
        constexpr qint64 top = 9007199254740991;
        QTest::newRow("wide: one past the narrow total") << qint64(31767) << qint64(1001)
            << OptInt(32768) << OptInt(30766) << true;
        QTest::newRow("wide: top edge") << top << qint64(1) << OptInt() << OptInt(top - 1) << true;
        QTest::newRow("wide: 64-bit overflow is refused, not wrapped")
            << std::numeric_limits<qint64>::max() << qint64(1) << OptInt() << OptInt() << true;
    }
    void checkedArithmetic()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(OptInt, sum);
        QFETCH(OptInt, difference);
        QFETCH(bool, wide);
        const IntegerRange range = wide ? IntegerRange::wide() : IntegerRange::narrow();
        QCOMPARE(asOpt(checkedAdd(a, b, range)), sum);
        QCOMPARE(asOpt(checkedSubtract(a, b, range)), difference);
    }

    void currencyFromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("units of a purchase") << 10000.0 / 1.0315 / 10000.0 * 10000.0 << true << qint64(96946195);
        QTest::newRow("tie at the fifth place goes to even") << 0.00005 << true << qint64(0);
        QTest::newRow("negative") << -1.23456 << true << qint64(-12346);
        QTest::newRow("too large") << 1e15 << false << qint64(0);
        QTest::newRow("too small") << -1e15 << false << qint64(0);
        QTest::newRow("NaN") << kNaN << false << qint64(0);
        QTest::newRow("infinity") << kInf << false << qint64(0);
    }
    void currencyFromDouble()
    {
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(qint64, raw);
        const auto c = Currency::fromDouble(value);
        QCOMPARE(c.has_value(), fits);
        if (fits)
            QCOMPARE(c->raw(), raw);
    }

    void currencyFloor_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<qint64>("floor");
        QTest::newRow("positive fraction drops") << qint64(96946195) << qint64(9694);
        QTest::newRow("negative fraction goes away from zero") << qint64(-96946195) << qint64(-9695);
        QTest::newRow("negative whole stays") << qint64(-10000) << qint64(-1);
        QTest::newRow("zero") << qint64(0) << qint64(0);
        QTest::newRow("tiny negative") << qint64(-1) << qint64(-1);
        QTest::newRow("largest") << kMaxRaw << qint64(922337203685477);
        QTest::newRow("smallest") << kMinRaw << qint64(-922337203685478);
    }
    void currencyFloor()
    {
        QFETCH(qint64, raw);
        QFETCH(qint64, floor);
        QCOMPARE(Currency::fromRaw(raw).floorWhole(), floor);
    }

    void currencyToDouble() { QCOMPARE(Currency::fromRaw(124968435).toDouble(), 12496.8435); }

    void integerTimesCurrency_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<qint64>("product");
        QTest::newRow("valuation") << 10123 << qint64(123450000) << true << qint64(1249684350000);
        QTest::newRow("negative units") << 10000 << qint64(-96946195) << true << qint64(-969461950000);
        QTest::newRow("overflow") << 32767 << kMaxRaw / 1000 << false << qint64(0);
        QTest::newRow("minus the minimum") << -1 << kMinRaw << false << qint64(0);
        QTest::newRow("one times the minimum") << 1 << kMinRaw << true << kMinRaw;
    }
    void integerTimesCurrency()
    {
        QFETCH(int, factor);
        QFETCH(qint64, raw);
        QFETCH(bool, fits);
        QFETCH(qint64, product);
        const auto p = multiply(Integer(factor), Currency::fromRaw(raw));
        QCOMPARE(p.has_value(), fits);
        if (fits)
            QCOMPARE(p->raw(), product);
    }

    void floorAndText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("valuation floored") << 12496.8435 << QStringLiteral("12496");
        QTest::newRow("negative floored away from zero") << -0.5 << QStringLiteral("-1");
        QTest::newRow("whole stays") << 120000.0 << QStringLiteral("120000");
        QTest::newRow("no separators") << 1234567.9 << QStringLiteral("1234567");
        QTest::newRow("zero") << 0.0 << QStringLiteral("0");
        QTest::newRow("the least 64-bit figure") << -9223372036854775808.0 << QStringLiteral("-9223372036854775808");
    }
    void floorAndText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        const auto whole = floorToWhole(value);
        QVERIFY(whole);
        QCOMPARE(figureText(*whole), text);
    }

    // The exact roundings of today's taxes and of the principal returned, with the line
    // each writes; "fault" when the value leaves the range.
    void exactRoundings_data()
    {
        QTest::addColumn<int>("operation"); // 0 share of base, 1 worth less, 2 per 10,000 units
        QTest::addColumn<qint64>("a");      // base; NAV × units raw; amount
        QTest::addColumn<qint64>("b");      // rate in 0.001 %; amount less; units raw
        QTest::addColumn<QString>("line");
        QTest::newRow("1,234 at 15.315 %") << 0 << qint64(1234) << qint64(15315)
                                           << "x = 1234 × 15.315 % = 188.9871 を切り捨て = 188";
        QTest::newRow("50,000 at 5 %") << 0 << qint64(50000) << qint64(5000) << "x = 50000 × 5 % = 2500 を切り捨て = 2500";
        QTest::newRow("negative floored away from zero") << 0 << qint64(-1) << qint64(15315)
                                                         << "x = -1 × 15.315 % = -0.15315 を切り捨て = -1";
        QTest::newRow("2^53 − 1 without overflow") << 0 << qint64(9007199254740991) << qint64(15315)
            << "x = 9007199254740991 × 15.315 % = 1379452565863582.77165 を切り捨て = 1379452565863582";
        QTest::newRow("share beyond the range") << 0 << qint64(9007199254740991) << qint64(100001) << "fault";
        QTest::newRow("−(2^53 − 1): a product past 64 bits floored away from zero") << 0 << qint64(-9007199254740991)
            << qint64(15315) << "x = -9007199254740991 × 15.315 % = -1379452565863582.77165 を切り捨て = -1379452565863583";
        QTest::newRow("worth 19,640.0001 less 0") << 1 << qint64(1964000010000) << qint64(0)
                                                  << "x = 196400001 ÷ 10000 − 0 = 19640.0001 を切り捨て = 19640";
        QTest::newRow("negative worth") << 1 << qint64(-150000000) << qint64(1)
                                        << "x = -15000 ÷ 10000 − 1 = -2.5 を切り捨て = -3";
        QTest::newRow("16.67 per 10,000 units") << 2 << qint64(50) << qint64(300000000)
                                                << "x = 50 × 10000 ÷ 30000 = 16.666666666666668 を偶数丸め = 17";
        QTest::newRow("2.5 ties to 2") << 2 << qint64(5) << qint64(200000000) << "x = 5 × 10000 ÷ 20000 = 2.5 を偶数丸め = 2";
        QTest::newRow("3.5 ties to 4") << 2 << qint64(7) << qint64(200000000) << "x = 7 × 10000 ÷ 20000 = 3.5 を偶数丸め = 4";
        QTest::newRow("-2.5 ties to -2") << 2 << qint64(-5) << qint64(200000000) << "x = -5 × 10000 ÷ 20000 = -2.5 を偶数丸め = -2";
        QTest::newRow("negative units: -3.5 ties to -4") << 2 << qint64(7) << qint64(-200000000)
                                                         << "x = 7 × 10000 ÷ -20000 = -3.5 を偶数丸め = -4";
        QTest::newRow("amount × 10^8 past 64 bits") << 2 << qint64(9007199254740991) << qint64(10000000000000000)
            << "x = 9007199254740991 × 10000 ÷ 1000000000000 = 90071992.5474099 を偶数丸め = 90071993";
        QTest::newRow("per-unit beyond the range") << 2 << qint64(9007199254740991) << qint64(1) << "fault";
    }
    void exactRoundings()
    {
        QFETCH(int, operation);
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(QString, line);
        Trace trace;
        Worksheet ws(&trace, IntegerRange::wide());
        const Term<Integer> term = operation == 0   ? roundDownShare(ws.known(Integer{a}), DecimalRate{b})
                                   : operation == 1 ? roundDownWorth(ws.known(NavTimesUnits{a}), ws.known(Integer{b}))
                                                    : roundHalfEvenPerNav(ws.known(Integer{a}), ws.known(Currency::fromRaw(b)));
        ws.let(u"x", u"x", term);
        QCOMPARE(ws.failure() ? QStringLiteral("fault") : trace.steps().value(0), line);
    }

    void floorOfFaults()
    {
        QVERIFY(!floorToWhole(kNaN));
        QVERIFY(!floorToWhole(kInf));
        QVERIFY(!floorToWhole(1e19));
    }

    // A worksheet: each step's working line from the terms that computed it, and the
    // first step that went wrong carried to the end with its figure.
    void worksheet_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QStringList>("lines");
        // "step/figure/kind", empty when all went right; the kind "range" is beyond the
        // range in force alone, which the wide range would get past.
        QTest::addColumn<QString>("failure");
        QTest::newRow("order and brackets") << 0 << QStringList{
            "r = 3 ÷ 100 × 5 ÷ 100 + (3 ÷ 100 + 1) = 0.0015 + 1.03 = 1.0315",
            "f = 10000 − 10000 ÷ 1.0315 = 305.38051381483274",
            "F = 305.38051381483274 を偶数丸め = 305"} << "";
        QTest::newRow("division by zero, then nothing") << 1 << QStringList{
            "a = 7 ÷ 0 = （計算できません）"} << "a/A/invalid";
        QTest::newRow("first of two faults") << 2 << QStringList{
            "a = 1 ÷ 0 = （計算できません）"} << "a/A/invalid";
        QTest::newRow("rounding out of the range") << 3 << QStringList{
            "n = 40000 × 1 = 40000", "N = 40000 を偶数丸め = （範囲を超えます）"} << "N/B/range";
        QTest::newRow("exact product out of Currency") << 4 << QStringList{
            "v = 32767 × 922337203685477 ÷ 10000 = （範囲を超えます）"} << "v/A/range";
        // A term that went wrong prints as such where its value would, never as 0.
        QTest::newRow("overflowed operand shown as overflowed") << 5 << QStringList{
            "d = 32767 × 922337203685477 ÷ 10000 − 2 ÷ 2 = （範囲を超えます） − 1 = （範囲を超えます）"} << "d/A/range";
        QTest::newRow("overflowed rounding source shown as overflowed") << 6 << QStringList{
            "v = 32767 × 922337203685477 ÷ 10000 = （範囲を超えます） を切り捨て = （範囲を超えます）"} << "v/A/range";
        // Wide: NAV × units past 64 bits is formed, and so is a difference of two.
        QTest::newRow("wide: product past 64 bits") << 7 << QStringList{
            "v = 10000 × 100000000000 ÷ 10000 = 100000000000",
            "g = (12000 × 100000000000 − 10000 × 100000000000) ÷ 10000 − 1 = 19999999999 を切り捨て = 19999999999"} << "";
        // Whether the wide range would get past a step the narrow one stopped, from the
        // step alone; each rounding and sum asks it of its own value.
        const auto fails = [](int sheet, const char* kind) {
            QTest::addRow("%s, sheet %d", kind, sheet) << sheet << QStringList() << QString::fromUtf8(kind);
        };
        fails(8, "s/B/overflow");  // a rounding beyond the wide range too
        fails(9, "s/B/range");     // a sum beyond the narrow range alone
        fails(10, "s/B/overflow"); // a sum beyond the wide range too
        fails(11, "s/B/range");    // a share of a whole amount
        fails(12, "s/B/range");    // an amount per 10,000 units
        fails(13, "s/B/range");    // a rounding kept within 0 and a ceiling
        // A fault of its own later in the step stops the wide range as well...
        fails(14, "s/B/overflow");
        fails(15, "s/B/overflow");
        // ...but not one met on the value that stands in for the overflowed product.
        fails(16, "s/B/range");
    }
    void worksheet()
    {
        QFETCH(int, sheet);
        QFETCH(QStringList, lines);
        QFETCH(QString, failure);
        Trace trace;
        Trace* shown = sheet < 8 ? &trace : nullptr; // from 8 on, only the failure counts
        Worksheet ws(shown, sheet == 7 ? IntegerRange::wide() : IntegerRange::narrow());
        constexpr Integer kWideMax = IntegerRange::wide().max;
        const auto past = [&] { return ws.known(Integer{32767}) * ws.known(Currency::fromRaw(9223372036854770000)); };
        switch (sheet) {
        case 0: {
            const auto [im, fp1, fp2] = ws.known(Integer{10000}, 3.0, 5.0);
            const auto rate = ws.let(u"A", u"r", fp1 / 100.0 * fp2 / 100.0 + (fp1 / 100.0 + 1.0));
            const auto fee = ws.let(u"A", u"f", im - im / rate);
            QCOMPARE(ws.let(u"A", u"F", roundHalfEven(fee)).value, Integer{305});
            break;
        }
        case 1: {
            const auto a = ws.let(u"A", u"a", ws.known(7.0) / 0.0);
            ws.let(u"B", u"b", a + 1.0);
            ws.note(u"not after a fault");
            break;
        }
        case 2: {
            ws.let(u"A", u"a", ws.known(1.0) / 0.0);
            ws.let(u"B", u"b", roundHalfEven(ws.known(40000.0)));
            break;
        }
        case 3:
            ws.let(u"B", u"N", roundHalfEven(ws.let(u"B", u"n", ws.known(Integer{40000}) * 1.0)));
            break;
        case 4:
            ws.let(u"A", u"v", past() / 10000.0);
            break;
        case 5:
            ws.let(u"A", u"d", past() / 10000.0 - ws.known(2.0) / 2.0);
            break;
        case 6:
            ws.let(u"A", u"v", roundDown(past() / 10000.0));
            break;
        case 7: {
            const auto units = ws.known(Currency::fromRaw(1000000000000000));
            ws.let(u"A", u"v", ws.known(Integer{10000}) * units / 10000.0);
            ws.let(u"A", u"g", roundDownWorth(ws.known(Integer{12000}) * units - ws.known(Integer{10000}) * units,
                                              ws.known(Integer{1})));
            break;
        }
        case 8:
            ws.let(u"B", u"s", roundHalfEven(ws.known(1e16)));
            break;
        case 9:
            ws.let(u"B", u"s", ws.known(Integer{32767}) + ws.known(Integer{1}));
            break;
        case 10:
            ws.let(u"B", u"s", ws.known(kWideMax) - ws.known(Integer{-1}));
            break;
        case 11:
            ws.let(u"B", u"s", roundDownShare(ws.known(kWideMax), DecimalRate{15315}));
            break;
        case 12:
            ws.let(u"B", u"s", roundHalfEvenPerNav(ws.known(Integer{7}), ws.known(Currency::fromRaw(1))));
            break;
        case 13:
            ws.let(u"B", u"s", roundHalfEvenWithin(ws.known(40000.0), ws.known(Integer{32767})));
            break;
        case 14:
            ws.let(u"B", u"s", past() / 10000.0 + ws.known(1e308) * 10.0);
            break;
        case 15:
            ws.let(u"B", u"s", past() / 10000.0 - ws.known(7.0) / 0.0);
            break;
        case 16:
            ws.let(u"B", u"s", ws.known(1.0) / (past() - past()));
            break;
        }
        QCOMPARE(trace.steps(), lines);
        const auto& failed = ws.failure();
        const QString seen = failed ? failed->step + u'/' + failed->figure + u'/'
                                          + (failed->fault == TermFault::Invalid       ? "invalid"
                                             : failed->fault == TermFault::BeyondRange ? "range"
                                                                                       : "overflow")
                                    : QString();
        QCOMPARE(seen, failure);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(NumbersTest)
#include "tst_numbers.moc"
