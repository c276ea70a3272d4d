#include "calc/redemption/redemption_calculation.h"

#include <QtTest>

#include <limits>

namespace {

const NumberFormat kFormat; // "." and ","

// What the record holds before each calculation, so a test can tell which fields changed.
CalcRecord earlierRecord()
{
    CalcRecord record;
    record.CBL = 1;
    record.NBL = 2;
    record.OA = Currency::fromRaw(3);
    record.RetentionPercent = 4.0;
    record.Fee = -1111;
    record.Tax = -2222;
    record.Cash = Currency::fromRaw(-3333);
    record.ErrNo = QStringLiteral("earlier");
    record.IM = 555; // another calculator's field
    return record;
}

void verifyResultsUntouched(const CalcRecord& record)
{
    const CalcRecord earlier = earlierRecord();
    QCOMPARE(record.Fee, earlier.Fee);
    QCOMPARE(record.Tax, earlier.Tax);
    QCOMPARE(record.Cash, earlier.Cash);
}

} // namespace

class RedemptionCalculationTest : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data()
    {
        QTest::addColumn<QString>("cbl");
        QTest::addColumn<QString>("nbl");
        QTest::addColumn<QString>("oa");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("fee");
        QTest::addColumn<int>("tax");
        QTest::addColumn<qint64>("cashRaw");
        QTest::addColumn<QStringList>("shown"); // 評価額, 税金, 信託留保額, 手取り現金

        QTest::newRow("gain of 20 percent on 100000 units")
            << "10000" << "12000" << "100000" << "0.3" << 360 << 3928 << qint64(1157120000)
            << QStringList{"120000", "3928", "360", "115712"};
        QTest::newRow("cash keeps four places, statement floors it")
            << "10000" << "10123" << "12345" << "0.3" << 37 << 23 << qint64(124368435)
            << QStringList{"12496", "23", "37", "12436"};
        QTest::newRow("retention tie 2.5 goes down to 2")
            << "10000" << "10000" << "500" << "0.5" << 2 << 0 << qint64(4980000)
            << QStringList{"500", "0", "2", "498"};
        QTest::newRow("retention tie 3.5 goes up to 4")
            << "10000" << "10000" << "700" << "0.5" << 4 << 0 << qint64(6960000)
            << QStringList{"700", "0", "4", "696"};
        QTest::newRow("tax tie 2.5 goes down to 2, cash 1010.5 shown 1010")
            << "10000" << "10125" << "1000" << "0" << 0 << 2 << qint64(10105000)
            << QStringList{"1012", "2", "0", "1010"};
        QTest::newRow("tax tie 3.5 goes up to 4")
            << "10000" << "10175" << "1000" << "0" << 0 << 4 << qint64(10135000)
            << QStringList{"1017", "4", "0", "1013"};
        QTest::newRow("NAV equal to principal is not taxed")
            << "10000" << "10000" << "100000" << "0.3" << 300 << 0 << qint64(997000000)
            << QStringList{"100000", "0", "300", "99700"};
        QTest::newRow("NAV below principal is not taxed")
            << "12000" << "10000" << "100000" << "0.3" << 300 << 0 << qint64(997000000)
            << QStringList{"100000", "0", "300", "99700"};
        QTest::newRow("retention larger than the rise is a loss, not a negative tax")
            << "10000" << "10001" << "10000" << "0.3" << 30 << 0 << qint64(99710000)
            << QStringList{"10001", "0", "30", "9971"};
        QTest::newRow("fractional units enter with their fraction")
            << "10000" << "12000" << "1234.5" << "0.3" << 4 << 49 << qint64(14284000)
            << QStringList{"1481", "49", "4", "1428"};
        QTest::newRow("negative units floor away from zero")
            << "10000" << "10123" << "-12345" << "0.3" << -37 << 0 << qint64(-124598435)
            << QStringList{"-12497", "0", "-37", "-12460"};
        QTest::newRow("negative principal NAV is calculated with")
            << "-100" << "100" << "10000" << "0" << 0 << 40 << qint64(600000)
            << QStringList{"100", "40", "0", "60"};
        QTest::newRow("largest tax, 32767.48 rounds to 32767")
            << "10000" << "20000" << "163837.4" << "0" << 0 << 32767 << qint64(2949078000)
            << QStringList{"327674", "32767", "0", "294907"};
        QTest::newRow("largest retention, 32767.4 rounds to 32767")
            << "10000" << "10000" << "32767.4" << "100" << 32767 << 0 << qint64(4000)
            << QStringList{"32767", "0", "32767", "0"};
        QTest::newRow("units given to the fifth place round to four")
            << "10000" << "10000" << "10000.00005" << "0" << 0 << 0 << qint64(100000000)
            << QStringList{"10000", "0", "0", "10000"};
    }
    void workedExamples()
    {
        QFETCH(QString, cbl);
        QFETCH(QString, nbl);
        QFETCH(QString, oa);
        QFETCH(QString, rate);
        QFETCH(int, fee);
        QFETCH(int, tax);
        QFETCH(qint64, cashRaw);
        QFETCH(QStringList, shown);

        CalcRecord record = earlierRecord();
        const CalcOutcome outcome = runRedemption(record, {cbl, nbl, oa, rate}, kFormat);
        QCOMPARE(outcome.kind, CalcOutcome::Kind::Done);
        QCOMPARE(int(record.Fee), fee);
        QCOMPARE(int(record.Tax), tax);
        QCOMPARE(record.Cash.raw(), cashRaw);
        QCOMPARE(record.ErrNo, QStringLiteral("earlier"));
        QCOMPARE(int(record.IM), 555);

        RedemptionFigures figures;
        QCOMPARE(formRedemptionFigures(record, figures).kind, CalcOutcome::Kind::Done);
        QCOMPARE((QStringList{figures.IM, figures.Tax, figures.Fee, figures.Gain}), shown);
    }

    void missingInput_data()
    {
        QTest::addColumn<QString>("cbl");
        QTest::addColumn<QString>("nbl");
        QTest::addColumn<QString>("oa");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("errNo");

        QTest::newRow("fresh window") << "0" << "0" << "0" << "0.3" << "9";
        QTest::newRow("principal NAV 0, the others given") << "0" << "12000" << "100" << "0.3" << "9";
        QTest::newRow("principal NAV 0.5 ties to 0") << "0.5" << "12000" << "100" << "0.3" << "9";
        QTest::newRow("principal NAV -0") << "-0" << "12000" << "100" << "0.3" << "9";
        QTest::newRow("current NAV 0") << "10000" << "0" << "100" << "0.3" << "10";
        QTest::newRow("current NAV 0.4 rounds to 0") << "10000" << "0.4" << "100" << "0.3" << "10";
        QTest::newRow("units 0") << "10000" << "12000" << "0" << "0.3" << "11";
        QTest::newRow("units 0.00004 round to 0") << "10000" << "12000" << "0.00004" << "0.3" << "11";
        QTest::newRow("units 0.00005 tie to 0") << "10000" << "12000" << "0.00005" << "0" << "11";
        QTest::newRow("units and NAVs 0: units not reached") << "10000" << "0" << "0" << "0" << "10";
    }
    void missingInput()
    {
        QFETCH(QString, cbl);
        QFETCH(QString, nbl);
        QFETCH(QString, oa);
        QFETCH(QString, rate);
        QFETCH(QString, errNo);

        CalcRecord record = earlierRecord();
        const CalcOutcome outcome = runRedemption(record, {cbl, nbl, oa, rate}, kFormat);
        QCOMPARE(outcome.kind, CalcOutcome::Kind::MissingInput);
        QCOMPARE(record.ErrNo, errNo);
        // All four inputs are stored before the test; the results keep their earlier values.
        QCOMPARE(record.CBL, parseInteger(cbl, kFormat).value.value());
        QCOMPARE(record.NBL, parseInteger(nbl, kFormat).value.value());
        QCOMPARE(record.OA, parseCurrency(oa, kFormat).value.value());
        QCOMPARE(record.RetentionPercent, parseDouble(rate, kFormat).value.value());
        verifyResultsUntouched(record);
    }

    void zeroRateIsNotMissing()
    {
        CalcRecord record = earlierRecord();
        QCOMPARE(runRedemption(record, {"10000", "10000", "100", "0"}, kFormat).kind,
                 CalcOutcome::Kind::Done);
        QCOMPARE(int(record.Fee), 0);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("cbl");
        QTest::addColumn<QString>("nbl");
        QTest::addColumn<QString>("oa");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("problem");

        const auto empty = int(InputProblem::Empty);
        const auto notNumber = int(InputProblem::NotANumber);
        const auto range = int(InputProblem::OutOfIntegerRange);
        const auto large = int(InputProblem::TooLarge);
        QTest::newRow("principal NAV empty") << "" << "12000" << "100000" << "0.3" << 0 << empty;
        QTest::newRow("principal NAV blank") << "   " << "12000" << "100000" << "0.3" << 0 << empty;
        QTest::newRow("principal NAV words") << "abc" << "12000" << "100000" << "0.3" << 0 << notNumber;
        QTest::newRow("principal NAV 32768") << "32768" << "12000" << "100000" << "0.3" << 0 << range;
        QTest::newRow("current NAV -32769") << "10000" << "-32769" << "100000" << "0.3" << 1 << range;
        QTest::newRow("current NAV with exponent") << "10000" << "1e4" << "100000" << "0.3" << 1 << notNumber;
        QTest::newRow("current NAV with yen sign") << "10000" << "¥12000" << "100000" << "0.3" << 1 << notNumber;
        QTest::newRow("units sign only") << "10000" << "12000" << "-" << "0.3" << 2 << notNumber;
        QTest::newRow("units beyond Currency") << "10000" << "12000" << "922337203685478" << "0.3" << 2 << large;
        QTest::newRow("rate empty") << "10000" << "12000" << "100000" << "" << 3 << empty;
        QTest::newRow("rate with percent sign") << "10000" << "12000" << "100000" << "0.3%" << 3 << notNumber;
        QTest::newRow("rate beyond double") << "10000" << "12000" << "100000" << "1" + QString(400, u'0') << 3 << large;
    }
    void refusals()
    {
        QFETCH(QString, cbl);
        QFETCH(QString, nbl);
        QFETCH(QString, oa);
        QFETCH(QString, rate);
        QFETCH(int, box);
        QFETCH(int, problem);

        CalcRecord record = earlierRecord();
        const CalcOutcome outcome = runRedemption(record, {cbl, nbl, oa, rate}, kFormat);
        QCOMPARE(outcome.kind, CalcOutcome::Kind::InputRefused);
        QCOMPARE(outcome.box, box);
        QCOMPARE(int(outcome.problem), problem);

        // The boxes read before the refused one keep their new values; the rest are untouched.
        const CalcRecord earlier = earlierRecord();
        QCOMPARE(record.CBL, box > 0 ? Integer(10000) : earlier.CBL);
        QCOMPARE(record.NBL, box > 1 ? Integer(12000) : earlier.NBL);
        QCOMPARE(record.OA, box > 2 ? Currency::fromRaw(1000000000) : earlier.OA);
        QCOMPARE(record.RetentionPercent, earlier.RetentionPercent);
        QCOMPARE(record.ErrNo, earlier.ErrNo);
        verifyResultsUntouched(record);
    }

    void captions()
    {
        const QStringList expected{"元本の基準価額", "現在の基準価額", "所有口数", "信託留保(%)"};
        for (int box = 0; box < kRedemptionBoxCount; ++box)
            QCOMPARE(redemptionBoxCaption(box), expected.at(box));
    }

    void overflows_data()
    {
        QTest::addColumn<QString>("cbl");
        QTest::addColumn<QString>("nbl");
        QTest::addColumn<QString>("oa");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("figure");

        QTest::newRow("tax of 39280") << "10000" << "12000" << "1000000" << "0.3" << "税金";
        QTest::newRow("tax 32767.5 ties to 32768") << "10000" << "20000" << "163837.5" << "0" << "税金";
        QTest::newRow("retention of 36000 on 12,000,000 yen")
            << "12000" << "12000" << "10000000" << "0.3" << "信託留保額";
        QTest::newRow("retention 32767.5 ties to 32768")
            << "10000" << "10000" << "32767.5" << "100" << "信託留保額";
        QTest::newRow("rate so large the product is infinite")
            << "10000" << "12000" << "100000" << "1" + QString(300, u'0') << "信託留保額";
        QTest::newRow("current NAV times units beyond Currency")
            << "10000" << "32767" << "900000000000000" << "0" << "評価額";
        QTest::newRow("principal NAV times units beyond Currency")
            << "-32768" << "1" << "300000000000000" << "0" << "税金";
    }
    void overflows()
    {
        QFETCH(QString, cbl);
        QFETCH(QString, nbl);
        QFETCH(QString, oa);
        QFETCH(QString, rate);
        QFETCH(QString, figure);

        CalcRecord record = earlierRecord();
        const CalcOutcome outcome = runRedemption(record, {cbl, nbl, oa, rate}, kFormat);
        QCOMPARE(outcome.kind, CalcOutcome::Kind::Overflow);
        QCOMPARE(outcome.figure, figure);
        QCOMPARE(record.OA, parseCurrency(oa, kFormat).value.value());
        QCOMPARE(record.RetentionPercent, parseDouble(rate, kFormat).value.value());
        verifyResultsUntouched(record);
    }

    void valuationBeyondCurrencyIsNotShown()
    {
        // A record no calculation leaves behind: the statement reports instead of showing.
        CalcRecord record;
        record.NBL = 32767;
        record.OA = Currency::fromRaw(std::numeric_limits<qint64>::max());
        RedemptionFigures figures{"kept", "kept", "kept", "kept"};
        const CalcOutcome outcome = formRedemptionFigures(record, figures);
        QCOMPARE(outcome.kind, CalcOutcome::Kind::Overflow);
        QCOMPARE(outcome.figure, QStringLiteral("評価額"));
        QCOMPARE(figures.IM, QStringLiteral("kept"));
    }
};

QTEST_GUILESS_MAIN(RedemptionCalculationTest)
#include "tst_redemption_calculation.moc"
