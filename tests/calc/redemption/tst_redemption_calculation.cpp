#include "calc/redemption/redemption_calculation.h"

#include "support/working.h"

#include <QtTest>

#include <limits>

namespace {

BoxTexts texts(const QStringList& typed) { return BoxTexts::inReadingOrder(kRedemptionBoxes, typed); }

// Where the refused box stands in the reading order.
int readingIndex(const CalcEnd& outcome)
{
    return int(std::find(kRedemptionBoxes.begin(), kRedemptionBoxes.end(), outcome.box()) - kRedemptionBoxes.begin());
}

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
    return record;
}

void addTextColumns()
{
    QTest::addColumn<QString>("cbl");
    QTest::addColumn<QString>("nbl");
    QTest::addColumn<QString>("oa");
    QTest::addColumn<QString>("rate");
}

} // namespace

class RedemptionCalculationTest : public QObject {
    Q_OBJECT
private slots:
    void results_data()
    {
        addTextColumns();
        QTest::addColumn<int>("fee");
        QTest::addColumn<int>("tax");
        QTest::addColumn<qint64>("cashRaw");
        QTest::addColumn<QStringList>("shown"); // 評価額, 税金, 信託留保額, 手取り現金

        QTest::newRow("gain of 20 percent") << "10000" << "12000" << "100000" << "0.3" << 360
            << 3928 << qint64(1157120000) << QStringList{"120000", "3928", "360", "115712"};
        QTest::newRow("cash keeps four places, statement floors") << "10000" << "10123" << "12345"
            << "0.3" << 37 << 23 << qint64(124368435) << QStringList{"12496", "23", "37", "12436"};
        QTest::newRow("retention tie 2.5 to 2") << "10000" << "10000" << "500" << "0.5" << 2 << 0
            << qint64(4980000) << QStringList{"500", "0", "2", "498"};
        QTest::newRow("retention tie 3.5 to 4") << "10000" << "10000" << "700" << "0.5" << 4 << 0
            << qint64(6960000) << QStringList{"700", "0", "4", "696"};
        QTest::newRow("tax tie 2.5 to 2, 1010.5 shown 1010") << "10000" << "10125" << "1000" << "0"
            << 0 << 2 << qint64(10105000) << QStringList{"1012", "2", "0", "1010"};
        QTest::newRow("tax tie 3.5 to 4") << "10000" << "10175" << "1000" << "0" << 0 << 4
            << qint64(10135000) << QStringList{"1017", "4", "0", "1013"};
        QTest::newRow("NAV equal to principal") << "10000" << "10000" << "100000" << "0.3" << 300
            << 0 << qint64(997000000) << QStringList{"100000", "0", "300", "99700"};
        QTest::newRow("NAV below principal") << "12000" << "10000" << "100000" << "0.3" << 300 << 0
            << qint64(997000000) << QStringList{"100000", "0", "300", "99700"};
        QTest::newRow("retention over the rise: no negative tax") << "10000" << "10001" << "10000"
            << "0.3" << 30 << 0 << qint64(99710000) << QStringList{"10001", "0", "30", "9971"};
        QTest::newRow("fractional units kept") << "10000" << "12000" << "1234.5" << "0.3" << 4
            << 49 << qint64(14284000) << QStringList{"1481", "49", "4", "1428"};
        QTest::newRow("negative units floor away from zero") << "10000" << "10123" << "-12345"
            << "0.3" << -37 << 0 << qint64(-124598435) << QStringList{"-12497", "0", "-37", "-12460"};
        QTest::newRow("negative principal NAV") << "-100" << "100" << "10000" << "0" << 0 << 40
            << qint64(600000) << QStringList{"100", "40", "0", "60"};
        QTest::newRow("largest tax, 32767.48") << "10000" << "20000" << "163837.4" << "0" << 0
            << 32767 << qint64(2949078000) << QStringList{"327674", "32767", "0", "294907"};
        QTest::newRow("largest retention, 32767.4") << "10000" << "10000" << "32767.4" << "100"
            << 32767 << 0 << qint64(4000) << QStringList{"32767", "0", "32767", "0"};
    }
    void results()
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
        QCOMPARE(CalcEnd(runRedemption(record, texts({cbl, nbl, oa, rate}), kFormat)).kind(), CalcEnd::Kind::Done);
        QCOMPARE(int(record.Fee), fee);
        QCOMPARE(int(record.Tax), tax);
        QCOMPARE(record.Cash.raw(), cashRaw);
        QCOMPARE(record.ErrNo, QStringLiteral("earlier"));

        const CalcOutcome<RedemptionFigures> statement = redemptionStatement(record);
        QCOMPARE(CalcEnd(statement).kind(), CalcEnd::Kind::Done);
        QCOMPARE(shownTexts(kRedemptionStatement, statement.value()), shown);

        // The working, traced by the same run, ends with the statement as shown and then
        // today's tax for reference.
        CalcRecord traced;
        Trace working;
        QVERIFY(bool(calculateRedemption(traced, texts({cbl, nbl, oa, rate}), kFormat, &working)
                    ));
        QCOMPARE(lastSteps(working, 5).mid(0, 4), figureLines({"評価額", "税金", "信託留保額", "手取り現金"}, shown));
        QVERIFY(working.steps().last().startsWith(QStringLiteral("（参考）現行の税制では ")));
    }

    // Every way a calculation stops short: which box or figure, and what was stored first.
    void stops_data()
    {
        addTextColumns();
        QTest::addColumn<CalcEnd::Kind>("kind");
        QTest::addColumn<QString>("detail"); // ErrNo, refused box index, or figure caption
        QTest::addColumn<int>("problem");    // for a refused box
        QTest::addColumn<int>("stored");     // boxes read into the record

        using K = CalcEnd::Kind;
        const int none = -1;
        const int empty = int(InputProblem::Empty);
        const int notNumber = int(InputProblem::NotANumber);
        const int range = int(InputProblem::OutOfIntegerRange);
        const int large = int(InputProblem::TooLarge);
        QTest::newRow("fresh window") << "0" << "0" << "0" << "0.3" << K::MissingInput << "9" << none << 4;
        QTest::newRow("principal NAV 0.5 ties to 0") << "0.5" << "12000" << "100" << "0.3" << K::MissingInput << "9" << none << 4;
        QTest::newRow("current NAV 0") << "10000" << "0" << "0" << "0.3" << K::MissingInput << "10" << none << 4;
        QTest::newRow("units 0") << "10000" << "12000" << "0" << "0.3" << K::MissingInput << "11" << none << 4;
        QTest::newRow("units 0.00004 round to 0") << "10000" << "12000" << "0.00004" << "0.3" << K::MissingInput << "11" << none << 4;
        QTest::newRow("units 0.00005 tie to 0") << "10000" << "12000" << "0.00005" << "0" << K::MissingInput << "11" << none << 4;

        QTest::newRow("principal NAV blank") << "  " << "12000" << "100000" << "0.3" << K::InputRefused << "0" << empty << 0;
        QTest::newRow("principal NAV 32768") << "32768" << "12000" << "100000" << "0.3" << K::InputRefused << "0" << range << 0;
        QTest::newRow("current NAV with exponent") << "10000" << "1e4" << "100000" << "0.3" << K::InputRefused << "1" << notNumber << 1;
        QTest::newRow("units sign only") << "10000" << "12000" << "-" << "0.3" << K::InputRefused << "2" << notNumber << 2;
        QTest::newRow("units beyond Currency") << "10000" << "12000" << "922337203685478" << "0.3" << K::InputRefused << "2" << large << 2;
        QTest::newRow("rate with percent sign") << "10000" << "12000" << "100000" << "0.3%" << K::InputRefused << "3" << notNumber << 3;
        QTest::newRow("rate beyond double") << "10000" << "12000" << "100000" << "1" + QString(400, u'0') << K::InputRefused << "3" << large << 3;

        QTest::newRow("tax of 39280") << "10000" << "12000" << "1000000" << "0.3" << K::Overflow << "税金" << none << 4;
        QTest::newRow("tax 32767.5 ties to 32768") << "10000" << "20000" << "163837.5" << "0" << K::Overflow << "税金" << none << 4;
        QTest::newRow("retention of 36000") << "12000" << "12000" << "10000000" << "0.3" << K::Overflow << "信託留保額" << none << 4;
        QTest::newRow("rate product infinite") << "10000" << "12000" << "100000" << "1" + QString(300, u'0') << K::Overflow << "信託留保額" << none << 4;
        QTest::newRow("NAV times units beyond Currency") << "10000" << "32767" << "900000000000000" << "0" << K::Overflow << "評価額" << none << 4;
        QTest::newRow("principal times units beyond Currency") << "-32768" << "1" << "300000000000000" << "0" << K::Overflow << "税金" << none << 4;
    }
    void stops()
    {
        QFETCH(QString, cbl);
        QFETCH(QString, nbl);
        QFETCH(QString, oa);
        QFETCH(QString, rate);
        QFETCH(CalcEnd::Kind, kind);
        QFETCH(QString, detail);
        QFETCH(int, problem);
        QFETCH(int, stored);

        const CalcRecord earlier = earlierRecord();
        CalcRecord record = earlier;
        const CalcEnd outcome = runRedemption(record, texts({cbl, nbl, oa, rate}), kFormat);
        QCOMPARE(outcome.kind(), kind);
        if (kind == CalcEnd::Kind::MissingInput)
            QCOMPARE(record.ErrNo, detail);
        else
            QCOMPARE(record.ErrNo, earlier.ErrNo);
        if (kind == CalcEnd::Kind::InputRefused) {
            QCOMPARE(QString::number(readingIndex(outcome)), detail);
            QCOMPARE(int(outcome.problem()), problem);
        }
        if (kind == CalcEnd::Kind::Overflow)
            QCOMPARE(outcome.figure(), detail);

        // The boxes read before the stop keep their new values; no result is written.
        QCOMPARE(record.CBL, stored > 0 ? parseInteger(cbl, kFormat, IntegerRange::narrow()).value() : earlier.CBL);
        QCOMPARE(record.NBL, stored > 1 ? parseInteger(nbl, kFormat, IntegerRange::narrow()).value() : earlier.NBL);
        QCOMPARE(record.OA, stored > 2 ? parseCurrency(oa, kFormat).value() : earlier.OA);
        QCOMPARE(record.RetentionPercent,
                 stored > 3 ? parseDouble(rate, kFormat).value() : earlier.RetentionPercent);
        QCOMPARE(record.Fee, earlier.Fee);
        QCOMPARE(record.Tax, earlier.Tax);
        QCOMPARE(record.Cash, earlier.Cash);
    }

    void valuationBeyondCurrencyIsNotShown()
    {
        // A record no calculation leaves behind: the statement reports instead of showing.
        CalcRecord record;
        record.NBL = 32767;
        record.OA = Currency::fromRaw(std::numeric_limits<qint64>::max());
        const CalcEnd outcome = redemptionStatement(record);
        QCOMPARE(outcome.kind(), CalcEnd::Kind::Overflow);
        QCOMPARE(outcome.figure(), QStringLiteral("評価額"));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(RedemptionCalculationTest)
#include "tst_redemption_calculation.moc"
