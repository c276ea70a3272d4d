#include "calc/purchase/purchase_calculation.h"

#include "support/working.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(CalcEnd::Kind)
Q_DECLARE_METATYPE(InputProblem)

namespace {

BoxTexts texts(const QStringList& typed) { return BoxTexts::inReadingOrder(kPurchaseBoxes, typed); }

const NumberFormat kDotFormat{u'.', u','};

// Results of an earlier calculation, which a calculation that does not complete
// must leave as they were; plus fields of the other calculators.
CalcRecord earlierRecord()
{
    CalcRecord record;
    record.Rate = 7.5;
    record.Fee = 77;
    record.OA = Currency::fromRaw(123456789);
    record.IM = 11;
    record.FP1 = 12.0;
    record.FP2 = 13.0;
    record.BL = 14;
    record.Cash = Currency::fromRaw(-5);
    record.Tax = 99;
    record.ErrNo = QStringLiteral("12");
    return record;
}

void verifyResultsUntouched(const CalcRecord& record)
{
    const CalcRecord earlier = earlierRecord();
    QCOMPARE(record.Rate, earlier.Rate);
    QCOMPARE(record.Fee, earlier.Fee);
    QCOMPARE(record.OA.raw(), earlier.OA.raw());
}

} // namespace

class PurchaseCalculationTest : public QObject {
    Q_OBJECT

private slots:
    // Inputs through to the statement's figures, for every worked example.
    void workedExamples_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("feePercent");
        QTest::addColumn<QString>("taxPercent");
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("fee");
        QTest::addColumn<qint64>("unitsRaw");
        QTest::addColumn<qint64>("shownUnits");
        QTest::addColumn<qint64>("shownAmount");
        QTest::addColumn<qint64>("shownTotal");

        QTest::newRow("10000 at 10000, fee on top")
            << "10000" << "10000" << "3" << "5" << false << 1.0 << 315 << qint64(100000000)
            << qint64(10000) << qint64(10000) << qint64(10315);
        QTest::newRow("10000 at 10000, fee from funds")
            << "10000" << "10000" << "3" << "5" << true << 1.0315 << 305 << qint64(96946195)
            << qint64(9694) << qint64(9694) << qint64(10000);
        QTest::newRow("10000 at 12345, fee on top: amount a yen short")
            << "10000" << "12345" << "3" << "5" << false << 1.0 << 315 << qint64(81004455)
            << qint64(8100) << qint64(9999) << qint64(10315);
        QTest::newRow("10000 at 12345, fee from funds")
            << "10000" << "12345" << "3" << "5" << true << 1.0315 << 305 << qint64(78530737)
            << qint64(7853) << qint64(9694) << qint64(10000);
        QTest::newRow("20000 at 10523, 3.15 % and 8 %, fee on top")
            << "20000" << "10523" << "3.15" << "8" << false << 1.0 << 680 << qint64(190059869)
            << qint64(19005) << qint64(20000) << qint64(20680);
        QTest::newRow("20000 at 10523, 3.15 % and 8 %, fee from funds")
            << "20000" << "10523" << "3.15" << "8" << true << 1.03402 << 658 << qint64(183806763)
            << qint64(18380) << qint64(19341) << qint64(20000);
        QTest::newRow("31766 at the defaults: largest total that fits")
            << "31766" << "10000" << "3" << "5" << false << 1.0 << 1001 << qint64(317660000)
            << qint64(31766) << qint64(31766) << qint64(32767);
        QTest::newRow("31767 with the fee from funds: total is the funds")
            << "31767" << "10000" << "3" << "5" << true << 1.0315 << 970 << qint64(307968977)
            << qint64(30796) << qint64(30796) << qint64(31767);
        QTest::newRow("fee tie 2.5 goes to even 2")
            << "100" << "10000" << "2.5" << "0" << false << 1.0 << 2 << qint64(1000000)
            << qint64(100) << qint64(100) << qint64(102);
        QTest::newRow("fee tie 1.5 goes to even 2")
            << "300" << "10000" << "0.5" << "0" << false << 1.0 << 2 << qint64(3000000)
            << qint64(300) << qint64(300) << qint64(302);
        QTest::newRow("fee tie 2.5 at 500 goes to even 2")
            << "500" << "10000" << "0.5" << "0" << false << 1.0 << 2 << qint64(5000000)
            << qint64(500) << qint64(500) << qint64(502);
        QTest::newRow("negative funds, fee from funds: units floor away from zero")
            << "-10000" << "10000" << "3" << "5" << true << 1.0315 << -305 << qint64(-96946195)
            << qint64(-9695) << qint64(-9695) << qint64(-10000);
        QTest::newRow("negative funds, fee on top")
            << "-10000" << "10000" << "3" << "5" << false << 1.0 << -315 << qint64(-100000000)
            << qint64(-10000) << qint64(-10000) << qint64(-10315);
        QTest::newRow("negative NAV gives negative units")
            << "10000" << "-10000" << "3" << "5" << false << 1.0 << 315 << qint64(-100000000)
            << qint64(-10000) << qint64(10000) << qint64(10315);
        QTest::newRow("negative fee percentage is computed")
            << "10000" << "10000" << "-3" << "5" << true << 0.9685 << -325 << qint64(103252452)
            << qint64(10325) << qint64(10325) << qint64(10000);
    }
    void workedExamples()
    {
        QFETCH(QString, funds);
        QFETCH(QString, nav);
        QFETCH(QString, feePercent);
        QFETCH(QString, taxPercent);
        QFETCH(bool, fromFunds);

        CalcRecord record = earlierRecord();
        // The option's state decides, not its memory: give the memory the opposite.
        record.FeeCovered = fromFunds ? 0 : -1;
        const CalcEnd outcome =
            runPurchase(record, texts({funds, feePercent, taxPercent, nav}), fromFunds, kDotFormat);
        QCOMPARE(outcome.kind(), CalcEnd::Kind::Done);

        QFETCH(double, rate);
        QFETCH(int, fee);
        QFETCH(qint64, unitsRaw);
        QFETCH(qint64, shownUnits);
        QFETCH(qint64, shownAmount);
        QFETCH(qint64, shownTotal);
        QCOMPARE(record.Rate, rate);
        QCOMPARE(int(record.Fee), fee);
        QCOMPARE(qint64(record.OA.raw()), unitsRaw);
        // The option's memory and the other calculators' fields are not the calculation's.
        QCOMPARE(record.FeeCovered, Integer(fromFunds ? 0 : -1));
        QCOMPARE(record.Cash.raw(), Currency::fromRaw(-5).raw());
        QCOMPARE(record.Tax, Integer(99));

        const CalcOutcome<PurchaseFigures> statement = purchaseStatement(record, fromFunds);
        QCOMPARE(CalcEnd(statement).kind(), CalcEnd::Kind::Done);
        QCOMPARE(qint64(statement->units), shownUnits);
        QCOMPARE(qint64(statement->amount), shownAmount);
        QCOMPARE(qint64(statement->fee), qint64(fee));
        QCOMPARE(qint64(statement->total), shownTotal);

        // The working, traced by the same run, ends with the statement as shown.
        CalcRecord traced;
        Trace working;
        const auto formed = calculatePurchase(traced, texts({funds, feePercent, taxPercent, nav}),
                                              fromFunds, kDotFormat, &working);
        QVERIFY(bool(formed));
        QCOMPARE(lastSteps(working, 4),
                 figureLines({"購入口数", "（金額）", "手数料", "総投資額"},
                             {QString::number(shownUnits), QString::number(shownAmount),
                              QString::number(fee), QString::number(shownTotal)}));
    }

    void readsWithTheUsersSeparators()
    {
        CalcRecord record;
        const NumberFormat commaDecimal{u',', u'.'};
        const CalcEnd outcome =
            runPurchase(record, texts({"20.000", "3,15", "8", "10.523"}), true, commaDecimal);
        QCOMPARE(outcome.kind(), CalcEnd::Kind::Done);
        QCOMPARE(record.IM, Integer(20000));
        QCOMPARE(record.FP1, 3.15);
        QCOMPARE(record.BL, Integer(10523));
        QCOMPARE(record.Fee, Integer(658));
    }

    // Only zero is missing; the first zero in the order funds, fee, NAV is named.
    void missingInput_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("feePercent");
        QTest::addColumn<QString>("taxPercent");
        QTest::addColumn<QString>("code");

        QTest::newRow("fresh window: funds first") << "0" << "0" << "3" << "5" << "1";
        QTest::newRow("funds in, NAV left at 0") << "10000" << "0" << "3" << "5" << "2";
        QTest::newRow("fee 0 % is named before the NAV") << "10000" << "0" << "0" << "5" << "3";
        QTest::newRow("fee 0 %") << "10000" << "10000" << "0" << "5" << "3";
        QTest::newRow("fee -0 %") << "10000" << "10000" << "-0" << "5" << "3";
        QTest::newRow("funds 0.4 round to 0") << "0.4" << "10000" << "3" << "5" << "1";
        QTest::newRow("funds 0.5 tie to 0") << "0.5" << "10000" << "3" << "5" << "1";
        QTest::newRow("NAV -0.5 tie to 0") << "10000" << "-0.5" << "3" << "5" << "2";
    }
    void missingInput()
    {
        QFETCH(QString, funds);
        QFETCH(QString, nav);
        QFETCH(QString, feePercent);
        QFETCH(QString, taxPercent);
        QFETCH(QString, code);

        CalcRecord record = earlierRecord();
        const CalcEnd outcome =
            runPurchase(record, texts({funds, feePercent, taxPercent, nav}), false, kDotFormat);
        QCOMPARE(outcome.kind(), CalcEnd::Kind::MissingInput);
        QCOMPARE(record.ErrNo, code);
        // The boxes are read before the test; the results stay as they were.
        QCOMPARE(record.FP2, parseDouble(taxPercent, kDotFormat).value());
        QCOMPARE(record.BL, parseInteger(nav, kDotFormat, IntegerRange::narrow()).value());
        verifyResultsUntouched(record);
    }

    // Reading stops at the first box refused; the boxes before it are stored.
    void refusedInput_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("feePercent");
        QTest::addColumn<QString>("taxPercent");
        QTest::addColumn<QString>("box");
        QTest::addColumn<InputProblem>("problem");

        const QString tooLarge = QStringLiteral("1") + QString(400, u'0');
        QTest::newRow("funds empty")
            << "" << "10000" << "3" << "5" << "txtIM" << InputProblem::Empty;
        QTest::newRow("funds not a number")
            << "1万" << "10000" << "3" << "5" << "txtIM" << InputProblem::NotANumber;
        QTest::newRow("funds 32768")
            << "32768" << "10000" << "3" << "5" << "txtIM" << InputProblem::OutOfIntegerRange;
        QTest::newRow("funds refused before a bad NAV")
            << "x" << "y" << "3" << "5" << "txtIM" << InputProblem::NotANumber;
        QTest::newRow("fee beyond a double")
            << "10000" << "10000" << tooLarge << "5" << "txtFP1" << InputProblem::TooLarge;
        QTest::newRow("tax empty")
            << "10000" << "10000" << "3" << "" << "txtFP2" << InputProblem::Empty;
        QTest::newRow("NAV below range")
            << "10000" << "-32769" << "3" << "5" << "txtBL" << InputProblem::OutOfIntegerRange;
        QTest::newRow("NAV refused even with funds 0")
            << "0" << "abc" << "3" << "5" << "txtBL" << InputProblem::NotANumber;
    }
    void refusedInput()
    {
        QFETCH(QString, funds);
        QFETCH(QString, nav);
        QFETCH(QString, feePercent);
        QFETCH(QString, taxPercent);
        QFETCH(QString, box);
        QFETCH(InputProblem, problem);

        CalcRecord record = earlierRecord();
        const CalcEnd outcome =
            runPurchase(record, texts({funds, feePercent, taxPercent, nav}), false, kDotFormat);
        QCOMPARE(outcome.kind(), CalcEnd::Kind::InputRefused);
        QCOMPARE(outcome.box()->name, box);
        QCOMPARE(outcome.problem(), problem);

        // Boxes read before the refused one hold their new values.
        const auto read = [&](const BoxDecl& decl) {
            const auto refused = std::find(kPurchaseBoxes.begin(), kPurchaseBoxes.end(), outcome.box());
            return std::find(kPurchaseBoxes.begin(), refused, &decl) != refused;
        };
        const CalcRecord earlier = earlierRecord();
        QCOMPARE(record.IM,
                 read(kPurchaseIM) ? parseInteger(funds, kDotFormat, IntegerRange::narrow()).value() : earlier.IM);
        QCOMPARE(record.FP1, read(kPurchaseFP1) ? parseDouble(feePercent, kDotFormat).value()
                                           : earlier.FP1);
        QCOMPARE(record.FP2, read(kPurchaseFP2) ? parseDouble(taxPercent, kDotFormat).value()
                                           : earlier.FP2);
        QCOMPARE(record.BL, earlier.BL);
        QCOMPARE(record.ErrNo, earlier.ErrNo);
        verifyResultsUntouched(record);
    }

    // Faults in the formulas are named, and nothing is written.
    void calculationFault_data()
    {
        QTest::addColumn<QString>("funds");
        QTest::addColumn<QString>("feePercent");
        QTest::addColumn<QString>("taxPercent");
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<CalcEnd::Kind>("kind");
        QTest::addColumn<QString>("figure");

        const QString hugeFee = QStringLiteral("1") + QString(308, u'0');
        QTest::newRow("cost factor 0: fee -100 %, tax 0, from funds")
            << "10000" << "-100" << "0" << true << CalcEnd::Kind::Invalid << "";
        QTest::newRow("cost factor 0 with -0 tax")
            << "10000" << "-100" << "-0" << true << CalcEnd::Kind::Invalid << "";
        QTest::newRow("cost factor near 0: fee beyond an Integer")
            << "10000" << "-100" << "0.0001" << true << CalcEnd::Kind::Overflow << "手数料";
        QTest::newRow("cost factor that overflows")
            << "10000" << hugeFee << "10000000000" << true
            << CalcEnd::Kind::Overflow << "手数料";
        QTest::newRow("fee value that overflows")
            << "10000" << hugeFee << "10000000000" << false
            << CalcEnd::Kind::Overflow << "手数料";
        QTest::newRow("fee on top above 32767")
            << "32767" << "200" << "5" << false << CalcEnd::Kind::Overflow << "手数料";
        QTest::newRow("fee on top below -32768")
            << "-32768" << "100" << "5" << false << CalcEnd::Kind::Overflow << "手数料";
        QTest::newRow("fee 32767.5 ties up out of range")
            << "32767" << "100" << "0.0015259254737998596" << false << CalcEnd::Kind::Overflow
            << "手数料";
    }
    void calculationFault()
    {
        QFETCH(QString, funds);
        QFETCH(QString, feePercent);
        QFETCH(QString, taxPercent);
        QFETCH(bool, fromFunds);
        QFETCH(CalcEnd::Kind, kind);
        QFETCH(QString, figure);

        CalcRecord record = earlierRecord();
        const CalcEnd outcome =
            runPurchase(record, texts({funds, feePercent, taxPercent, "10000"}), fromFunds, kDotFormat);
        QCOMPARE(outcome.kind(), kind);
        QCOMPARE(outcome.figure(), figure);
        verifyResultsUntouched(record);
    }

    // Figures that cannot be formed keep the statement closed; the one named is the
    // first the statement would show.
    void statementFault_data()
    {
        QTest::addColumn<int>("funds");
        QTest::addColumn<int>("fee");
        QTest::addColumn<int>("nav");
        QTest::addColumn<qint64>("unitsRaw");
        QTest::addColumn<bool>("fromFunds");
        QTest::addColumn<QString>("figure");

        const qint64 maxRaw = std::numeric_limits<qint64>::max();
        QTest::newRow("31767 at the defaults: total 32768")
            << 31767 << 1001 << 10000 << qint64(317670000) << false << "総投資額";
        QTest::newRow("total below -32768")
            << -32768 << -1032 << 10000 << qint64(-327680000) << false << "総投資額";
        QTest::newRow("worth of the units beyond the Currency range")
            << 10000 << 315 << 3 << maxRaw / 2 << false << "金額";
        QTest::newRow("worth checked before the total")
            << 32767 << 32767 << 3 << maxRaw / 2 << false << "金額";
    }
    void statementFault()
    {
        QFETCH(int, funds);
        QFETCH(int, fee);
        QFETCH(int, nav);
        QFETCH(qint64, unitsRaw);
        QFETCH(bool, fromFunds);
        QFETCH(QString, figure);

        CalcRecord record;
        record.IM = Integer(funds);
        record.Fee = Integer(fee);
        record.BL = Integer(nav);
        record.OA = Currency::fromRaw(unitsRaw);
        const CalcOutcome<PurchaseFigures> statement = purchaseStatement(record, fromFunds);
        QCOMPARE(CalcEnd(statement).kind(), CalcEnd::Kind::Overflow);
        QCOMPARE(CalcEnd(statement).figure(), figure);
    }

    // A mouse release on the fee-coverage option: the memory decides, not the option.
    void feeCoverageToggle_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("memory");
        QTest::addColumn<bool>("selectedAfter");
        QTest::addColumn<int>("memoryAfter");
        QTest::newRow("memory 0 selects") << false << 0 << true << -1;
        QTest::newRow("memory 0 keeps a selected option") << true << 0 << true << -1;
        QTest::newRow("memory -1 clears") << true << -1 << false << 0;
        QTest::newRow("memory -1 clears what the click selected") << false << -1 << false << 0;
        QTest::newRow("memory 5 leaves both") << true << 5 << true << 5;
        QTest::newRow("memory 1 leaves both") << false << 1 << false << 1;
    }
    void feeCoverageToggle()
    {
        QFETCH(bool, selected);
        QFETCH(int, memory);
        QFETCH(bool, selectedAfter);
        QFETCH(int, memoryAfter);
        QCOMPARE(toggleFeeCoverage({selected, Integer(memory)}),
                 (FeeCoverage{selectedAfter, Integer(memoryAfter)}));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(PurchaseCalculationTest)
#include "tst_purchase_calculation.moc"
