#pragma once

// The command line as its users see it: option names, CSV columns and statement
// captions written out here, independently of the program, with the worked examples
// of the calculation tests, and a helper that runs the real executable.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <array>
#include <vector>

struct CliRun {
    int exitCode = -1; // -1: crashed or did not finish in time
    QByteArray out;
    QByteArray err;
};

// Runs miroven-calc with `input` on its standard input; never waits more than 60 s.
// With `outputFile`, standard output goes there instead.
inline CliRun runCli(const QStringList& arguments, const QByteArray& input = {},
                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                     const QString& outputFile = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(QStringLiteral(MIROVEN_CALC_PATH), arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

struct CalculatorShape {
    const char* name;
    std::array<const char*, 4> options; // in the order the examples give the inputs
    std::array<const char*, 4> columns; // the same boxes' CSV columns
    const char* captions;               // the statement's rows, comma separated
};

inline const CalculatorShape kPurchase{
    "purchase", {"funds", "nav", "fee", "tax"}, {"IM", "BL", "FP1", "FP2"},
    "購入口数,（金額）,手数料,総投資額"};
inline const CalculatorShape kRedemption{
    "redemption", {"principal-nav", "nav", "units", "retention"}, {"CBL", "NBL", "OA", "Fee"},
    "評価額,税金,信託留保額,手取り現金"};
inline const CalculatorShape kDistribution{
    "distribution", {"principal-nav", "nav", "distribution", "units"}, {"CBL", "NBL", "Div", "OA"},
    "課税分配金,非課税分配金,税金,手取分配金,（分配後元本基準価額）"};

// Under today's rules the statements gain the two taxes after 税金.
inline const CalculatorShape kRedemptionCurrent{
    "redemption", kRedemption.options, kRedemption.columns,
    "評価額,税金,所得税及び復興特別所得税,住民税,信託留保額,手取り現金"};
inline const CalculatorShape kDistributionCurrent{
    "distribution", kDistribution.options, kDistribution.columns,
    "課税分配金,非課税分配金,税金,所得税及び復興特別所得税,住民税,手取分配金,（分配後元本基準価額）"};

struct Example {
    const char* name;
    std::array<const char*, 4> inputs;
    bool feeCovered;
    const char* figures; // as shown, top to bottom, comma separated
};

// The figures of the calculation tests' worked examples.
inline const std::vector<Example> kPurchaseExamples{
    {"10000 at 10000, fee on top", {"10000", "10000", "3", "5"}, false, "10000,10000,315,10315"},
    {"10000 at 10000, fee from funds", {"10000", "10000", "3", "5"}, true, "9694,9694,305,10000"},
    {"10000 at 12345: amount a yen short", {"10000", "12345", "3", "5"}, false, "8100,9999,315,10315"},
    {"10000 at 12345, fee from funds", {"10000", "12345", "3", "5"}, true, "7853,9694,305,10000"},
    {"3.15 % and 8 %, fee on top", {"20000", "10523", "3.15", "8"}, false, "19005,20000,680,20680"},
    {"3.15 % and 8 %, fee from funds", {"20000", "10523", "3.15", "8"}, true, "18380,19341,658,20000"},
    {"largest total that fits", {"31766", "10000", "3", "5"}, false, "31766,31766,1001,32767"},
    {"31767 with the fee from funds", {"31767", "10000", "3", "5"}, true, "30796,30796,970,31767"},
    {"fee tie 2.5 to 2", {"100", "10000", "2.5", "0"}, false, "100,100,2,102"},
    {"fee tie 1.5 to 2", {"300", "10000", "0.5", "0"}, false, "300,300,2,302"},
    {"negative funds floor away from zero", {"-10000", "10000", "3", "5"}, true, "-9695,-9695,-305,-10000"},
    {"negative NAV", {"10000", "-10000", "3", "5"}, false, "-10000,10000,315,10315"},
    {"negative fee percentage", {"10000", "10000", "-3", "5"}, true, "10325,10325,-325,10000"},
    {"grouped thousands", {"20,000", "10,523", "3.15", "8"}, false, "19005,20000,680,20680"},
    {"full-width digits", {"１００００", "１００００", "３", "５"}, false, "10000,10000,315,10315"},
};
inline const std::vector<Example> kRedemptionExamples{
    {"gain of 20 percent", {"10000", "12000", "100000", "0.3"}, false, "120000,3928,360,115712"},
    {"cash floored", {"10000", "10123", "12345", "0.3"}, false, "12496,23,37,12436"},
    {"retention tie 2.5 to 2", {"10000", "10000", "500", "0.5"}, false, "500,0,2,498"},
    {"retention tie 3.5 to 4", {"10000", "10000", "700", "0.5"}, false, "700,0,4,696"},
    {"tax tie 2.5 to 2", {"10000", "10125", "1000", "0"}, false, "1012,2,0,1010"},
    {"tax tie 3.5 to 4", {"10000", "10175", "1000", "0"}, false, "1017,4,0,1013"},
    {"NAV below principal", {"12000", "10000", "100000", "0.3"}, false, "100000,0,300,99700"},
    {"retention over the rise", {"10000", "10001", "10000", "0.3"}, false, "10001,0,30,9971"},
    {"fractional units", {"10000", "12000", "1234.5", "0.3"}, false, "1481,49,4,1428"},
    {"negative units", {"10000", "10123", "-12345", "0.3"}, false, "-12497,0,-37,-12460"},
    {"negative principal NAV", {"-100", "100", "10000", "0"}, false, "100,40,0,60"},
    {"largest tax", {"10000", "20000", "163837.4", "0"}, false, "327674,32767,0,294907"},
    {"largest retention", {"10000", "10000", "32767.4", "100"}, false, "32767,0,32767,0"},
};
inline const std::vector<Example> kDistributionExamples{
    {"Div 1000 above principal", {"10000", "10500", "1000", "100000"}, false, "1000,0,200,800,10000"},
    {"Div 1234, 7 units", {"10000", "10500", "1234", "7"}, false, "1234,0,247,987,10000"},
    {"equal NAVs", {"9800", "9800", "500", "100000"}, false, "500,0,100,400,9800"},
    {"Div -7", {"10000", "10500", "-7", "100000"}, false, "-7,0,-1,-6,10000"},
    {"Div -32768", {"10000", "10500", "-32768", "1"}, false, "-32768,0,-6554,-26214,10000"},
    {"all returned", {"10000", "9800", "500", "100000"}, false, "0,500,0,500,9800"},
    {"split 500 / 500", {"10000", "9950", "1000", "100000"}, false, "500,500,100,900,9950"},
    {"negative distribution below", {"10000", "9800", "-500", "100000"}, false, "-500,0,-100,-400,9800"},
    {"negative units below", {"10000", "9800", "500", "-100000"}, false, "500,0,100,400,9800"},
    {"widest NAV gap", {"32767", "-32768", "32767", "1"}, false, "32760,7,6552,26215,-32768"},
};

// Worked by hand under --rules current: 所得税及び復興特別所得税 floor(base × 0.15315) and
// 住民税 floor(base × 0.05), the base floored to whole yen; none on a base at or below 0.
inline const std::vector<Example> kRedemptionCurrentExamples{
    // Gain 120,000 − 360 − 100,000 = 19,640: 3,007.866 → 3,007 and 982.
    {"today: gain of 20 percent", {"10000", "12000", "100000", "0.3"}, false, "120000,3989,3007,982,360,115651"},
    // Base 1,234: 188.9871 → 188 and 61.7 → 61 (a flat 0.2 gives 247).
    {"today: base 1,234", {"10000", "11234", "10000", "0"}, false, "11234,249,188,61,0,10985"},
    // Base 50,000: 7,657.5 → 7,657 and 2,500.
    {"today: base 50,000", {"10000", "15000", "100000", "0"}, false, "150000,10157,7657,2500,0,139843"},
    // 12,496.8435 − 37 − 12,345 = 114.8435 → 114: 17.4591 → 17 and 5.7 → 5.
    {"today: base floored before the rates", {"10000", "10123", "12345", "0.3"}, false, "12496,22,17,5,37,12437"},
    {"today: loss", {"12000", "10000", "100000", "0.3"}, false, "100000,0,0,0,300,99700"},
    {"today: retention over the rise", {"10000", "10001", "10000", "0.3"}, false, "10001,0,0,0,30,9971"},
};
inline const std::vector<Example> kDistributionCurrentExamples{
    {"today: base 1,234", {"10000", "10500", "1234", "100000"}, false, "1234,0,249,188,61,985,10000"},
    // Gap 500 covered by 1,000: taxable 500 → 76 + 25; 50 returned per 10,000 units.
    {"today: gap covered", {"10000", "9950", "1000", "100000"}, false, "500,500,101,76,25,899,9950"},
    // Gap 200 not covered by 50 on 10,000 units: the principal falls to 9,950, not 9,800.
    {"today: gap not covered", {"10000", "9800", "50", "10000"}, false, "0,50,0,0,0,50,9950"},
    // 50 × 10,000 ÷ 30,000 = 16.67 returned per 10,000 units → 17.
    {"today: return per 10,000 units rounded", {"10000", "9800", "50", "30000"}, false, "0,50,0,0,0,50,9983"},
    {"today: return 2.5 ties to 2", {"10000", "9800", "5", "20000"}, false, "0,5,0,0,0,5,9998"},
    {"today: return 3.5 ties to 4", {"10000", "9800", "7", "20000"}, false, "0,7,0,0,0,7,9996"},
};
// --nisa: nothing taxed; the split and the principal afterwards as without it.
inline const std::vector<Example> kRedemptionNisaExamples{
    {"NISA: gain of 20 percent", {"10000", "12000", "100000", "0.3"}, false, "120000,0,0,0,360,119640"},
};
inline const std::vector<Example> kDistributionNisaExamples{
    {"NISA: gap covered", {"10000", "9950", "1000", "100000"}, false, "500,500,0,0,0,1000,9950"},
};

inline QStringList split(const char* commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(u',');
}
