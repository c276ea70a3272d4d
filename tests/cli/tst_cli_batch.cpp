// CSV batches through the real executable: the worked examples, the CSV forms a
// spreadsheet may write, refused rows, and input that cannot be read.
#include "cli_examples.h"

#include <QtTest>

namespace {

const QByteArray kPurchaseHeader = "IM,BL,FP1,FP2,FeeCovered";
const QByteArray kPurchaseAdded = ",購入口数,（金額）,手数料,総投資額,message";
const QByteArray kHeaderOut = kPurchaseHeader + kPurchaseAdded;
// The same in CP932: 購入口数,（金額）,手数料,総投資額
const QByteArray kPurchaseAddedCp932 = ",\x8d\x77\x93\xfc\x8c\xfb\x90\x94,\x81\x69\x8b\xe0\x8a\x7a\x81\x6a,"
                                       "\x8e\xe8\x90\x94\x97\xbf,\x91\x8d\x93\x8a\x8e\x91\x8a\x7a,message";

QString csvField(const char* text)
{
    const QString field = QString::fromUtf8(text);
    return field.contains(u',') ? u'"' + field + u'"' : field;
}

// One batch holding every worked example of a calculator: the input, and the output
// with the figures.
std::pair<QByteArray, QByteArray> examplesCsv(const CalculatorShape& shape,
                                              const std::vector<Example>& examples)
{
    const bool purchase = &shape == &kPurchase;
    QStringList header;
    for (const char* column : shape.columns)
        header << QString::fromUtf8(column);
    if (purchase)
        header << QStringLiteral("FeeCovered");
    QByteArray input = header.join(u',').toUtf8() + '\n';
    QByteArray output = (header.join(u',') + u',' + shape.captions + ",message\n").toUtf8();
    for (const Example& example : examples) {
        QStringList fields;
        for (const char* text : example.inputs)
            fields << csvField(text);
        if (purchase)
            fields << (example.feeCovered ? "1" : "0");
        input += fields.join(u',').toUtf8() + '\n';
        output += (fields.join(u',') + u',' + example.figures + ",\n").toUtf8();
    }
    return {input, output};
}

void addRow(const char* name, const QByteArray& input, const QByteArray& output, int exitCode,
            const QStringList& options = {})
{
    QTest::newRow(name) << input << output << exitCode << options;
}

} // namespace

class CliBatchTest : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data()
    {
        QTest::addColumn<QString>("calculator");
        QTest::addColumn<QStringList>("rules");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        const QStringList current{"--rules", "current"};
        for (const auto& [shape, examples, rules] :
             {std::tuple{&kPurchase, &kPurchaseExamples, QStringList{}},
              std::tuple{&kRedemption, &kRedemptionExamples, QStringList{}},
              std::tuple{&kDistribution, &kDistributionExamples, QStringList{}},
              std::tuple{&kRedemptionCurrent, &kRedemptionCurrentExamples, current},
              std::tuple{&kDistributionCurrent, &kDistributionCurrentExamples, current},
              std::tuple{&kRedemptionCurrent, &kRedemptionNisaExamples, current + QStringList{"--nisa"}},
              std::tuple{&kDistributionCurrent, &kDistributionNisaExamples, current + QStringList{"--nisa"}}}) {
            const auto [input, output] = examplesCsv(*shape, *examples);
            QTest::addRow("%s %s", shape->name, qPrintable(rules.join(u' ')))
                << QString::fromUtf8(shape->name) << rules << input << output;
        }
    }
    void workedExamples()
    {
        QFETCH(QString, calculator);
        QFETCH(QStringList, rules);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const CliRun run = runCli(QStringList{calculator, "--csv"} + rules, input);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, output);
        QCOMPARE(run.exitCode, 0);
    }

    void csvForms_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("options");
        const QByteArray row = "10000,10000,3,5,0";
        const QByteArray figures = ",10000,10000,315,10315,";

        addRow("LF", kPurchaseHeader + "\n" + row + "\n", kHeaderOut + "\n" + row + figures + "\n", 0);
        addRow("CRLF kept", kPurchaseHeader + "\r\n" + row + "\r\n",
               kHeaderOut + "\r\n" + row + figures + "\r\n", 0);
        addRow("byte order mark kept", "\xEF\xBB\xBF" + kPurchaseHeader + "\n" + row + "\n",
               "\xEF\xBB\xBF" + kHeaderOut + "\n" + row + figures + "\n", 0);
        addRow("no line break after the last row", kPurchaseHeader + "\n" + row,
               kHeaderOut + "\n" + row + figures + "\n", 0);
        addRow("empty lines skipped", kPurchaseHeader + "\n\n" + row + "\n\r\n\n",
               kHeaderOut + "\n" + row + figures + "\n", 0);
        addRow("header alone", kPurchaseHeader + "\n", kHeaderOut + "\n", 0);
        addRow("header alone, BOM and CRLF", "\xEF\xBB\xBF" + kPurchaseHeader + "\r\n",
               "\xEF\xBB\xBF" + kHeaderOut + "\r\n", 0);
        addRow("any column order, other columns carried through",
               "memo,FeeCovered,FP2,FP1,BL,IM,note\nx,1,5,3,10000,10000,y\n",
               "memo,FeeCovered,FP2,FP1,BL,IM,note" + kPurchaseAdded + "\nx,1,5,3,10000,10000,y,9694,9694,305,10000,\n",
               0);
        addRow("quoted comma and doubled quotes carried through",
               "memo," + kPurchaseHeader + "\n\"a,\"\"b\"\"\"," + row + "\n",
               "memo," + kHeaderOut + "\n\"a,\"\"b\"\"\"," + row + figures + "\n", 0);
        addRow("line breaks inside quotes carried through",
               "memo," + kPurchaseHeader + "\n\"line 1\nline 2\r\nline 3\"," + row + "\n",
               "memo," + kHeaderOut + "\n\"line 1\nline 2\r\nline 3\"," + row + figures + "\n", 0);
        addRow("lone CR in an unquoted field is data",
               "memo," + kPurchaseHeader + "\na\rb," + row + "\n",
               "memo," + kHeaderOut + "\n\"a\rb\"," + row + figures + "\n", 0);
        addRow("quoted thousands in a box",
               kPurchaseHeader + "\n\"10,000\",\"10,000\",3,5,0\n",
               kHeaderOut + "\n\"10,000\",\"10,000\",3,5,0" + figures + "\n", 0);
        addRow("quotes where none are needed are dropped",
               kPurchaseHeader + "\n\"10000\",\"10000\",\"3\",\"5\",\"0\"\n",
               kHeaderOut + "\n" + row + figures + "\n", 0);
        // メモ / 表示・ソフト (both end in 0x5C) / １００００ / 纊 in the NEC row, which a
        // trip through Unicode would turn into its IBM twin FA5C.
        addRow("CP932 read and written back byte for byte",
               kPurchaseHeader + ",\x83\x81\x83\x82\r\n"
                   "\x82\x50\x82\x4f\x82\x4f\x82\x4f\x82\x4f,10000,3,5,0,\x95\x5c\x8e\xa6\x81\x45\x83\x5c\x83\x74\x83\x67\r\n"
                   "10000,0,3,5,0,\xed\x40\r\n",
               kPurchaseHeader + ",\x83\x81\x83\x82" + kPurchaseAddedCp932 + "\r\n"
                   "\x82\x50\x82\x4f\x82\x4f\x82\x4f\x82\x4f,10000,3,5,0,\x95\x5c\x8e\xa6\x81\x45\x83\x5c\x83\x74\x83\x67"
                   + figures + "\r\n"
                   // 基準価額が入力されていません
                   "10000,0,3,5,0,\xed\x40,,,,,\x8a\xee\x8f\x80\x89\xbf\x8a\x7a\x82\xaa\x93\xfc\x97\xcd\x82\xb3"
                   "\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\r\n",
               1);
        addRow("--encoding cp932 for bytes that are also UTF-8",
               "memo," + kPurchaseHeader + "\n\xc3\xa9," + row + "\n",
               "memo," + kPurchaseHeader + kPurchaseAddedCp932 + "\n\xc3\xa9," + row + figures + "\n", 0,
               {"--encoding", "cp932"});
        addRow("--bom on input without one", kPurchaseHeader + "\n" + row + "\n",
               "\xEF\xBB\xBF" + kHeaderOut + "\n" + row + figures + "\n", 0, {"--bom"});
        addRow("columns named by the window's captions",
               "購入資金,基準価額,販売手数料(%),消費税(%),手数料込み\n10000,10000,3,5,1\n",
               "購入資金,基準価額,販売手数料(%),消費税(%),手数料込み" + kPurchaseAdded
                   + "\n10000,10000,3,5,1,9694,9694,305,10000,\n",
               0);
        addRow("header fields trimmed, written as read",
               " IM ,BL\t,FP1,　FP2,FeeCovered \n" + row + "\n",
               " IM ,BL\t,FP1,　FP2,FeeCovered " + kPurchaseAdded + "\n" + row + figures + "\n", 0);
        addRow("FeeCovered 1, 0, empty and spaced",
               kPurchaseHeader + "\n10000,10000,3,5,1\n10000,10000,3,5,\n10000,10000,3,5, 1 \n",
               kHeaderOut + "\n10000,10000,3,5,1,9694,9694,305,10000,\n10000,10000,3,5," + figures
                   + "\n10000,10000,3,5, 1 ,9694,9694,305,10000,\n",
               0);
        addRow("refused rows do not stop the batch",
               kPurchaseHeader + "\n10000,abc,3,5,0\n" + row + "\n,10000,3,5,0\n31767,10000,3,5,0\n",
               kHeaderOut + "\n10000,abc,3,5,0,,,,,基準価額には数値を入力してください\n" + row + figures
                   + "\n,10000,3,5,0,,,,,購入資金が入力されていません"
                   + "\n31767,10000,3,5,0,,,,,総投資額が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）\n",
               1);
        // Each kind of refusal keeps its own message, however the kinds follow one another:
        // each pair differs in one thing (the input missing, the box, what is wrong with
        // it, whether the wide range would get past the step).
        addRow("kinds of refusal in turn",
               kPurchaseHeader + "\n10000,0,3,5,0\n0,10000,3,5,0\n10000,40000,3,5,0\n10000,abc,3,5,0\n"
                   "40000,10000,3,5,0\n32767,1,-99.99999,0,1\n32767,1,-99.9999999999,0,1\n10000,0,3,5,0\n"
                   "32767,1,-99.99999,0,1\n",
               kHeaderOut + "\n10000,0,3,5,0,,,,,基準価額が入力されていません"
                   "\n0,10000,3,5,0,,,,,購入資金が入力されていません"
                   "\n10000,40000,3,5,0,,,,,基準価額には -32768 から 32767 までの数値を入力してください（--range wide で広い範囲）"
                   "\n10000,abc,3,5,0,,,,,基準価額には数値を入力してください"
                   "\n40000,10000,3,5,0,,,,,購入資金には -32768 から 32767 までの数値を入力してください（--range wide で広い範囲）"
                   "\n32767,1,-99.99999,0,1,,,,,手数料が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）"
                   "\n32767,1,-99.9999999999,0,1,,,,,手数料が計算できる範囲を超えています"
                   "\n10000,0,3,5,0,,,,,基準価額が入力されていません"
                   "\n32767,1,-99.99999,0,1,,,,,手数料が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）\n",
               1);
        addRow("FeeCovered other than 1 or 0",
               kPurchaseHeader + "\n10000,10000,3,5,yes\n",
               kHeaderOut + "\n10000,10000,3,5,yes,,,,,FeeCovered は 1 か 0（空欄は 0）にしてください\n", 1);
        // Cells as spreadsheets write them, through one normalisation; the row as read.
        addRow("percent cells",
               kPurchaseHeader + "\n10000,10000,3%,5.00%,0\n10000,10000, 3 % ,5,0\n",
               kHeaderOut + "\n10000,10000,3%,5.00%,0" + figures + "\n10000,10000, 3 % ,5,0" + figures + "\n", 0);
        addRow("check boxes TRUE, FALSE, はい, いいえ, full-width 1 and 0",
               kPurchaseHeader + "\n10000,10000,3,5,TRUE\n10000,10000,3,5,false\n10000,10000,3,5,はい\n"
                   "10000,10000,3,5,いいえ\n10000,10000,3,5,１\n10000,10000,3,5,０\n",
               kHeaderOut + "\n10000,10000,3,5,TRUE,9694,9694,305,10000,\n10000,10000,3,5,false" + figures
                   + "\n10000,10000,3,5,はい,9694,9694,305,10000,\n10000,10000,3,5,いいえ" + figures
                   + "\n10000,10000,3,5,１,9694,9694,305,10000,\n10000,10000,3,5,０" + figures + "\n",
               0);
        addRow("full-width brackets and percent in the header",
               "購入資金,基準価額,販売手数料（％）,消費税（%）\n10000,10000,3,5\n",
               "購入資金,基準価額,販売手数料（％）,消費税（%）,購入口数,（金額）,手数料,総投資額,message\n10000,10000,3,5"
                   + figures + "\n",
               0);
        addRow("U+2212 minus, a % in a carried column kept",
               "IM,BL,memo\n−10000,10000,−5%\n",
               "IM,BL,memo" + kPurchaseAdded + "\n−10000,10000,−5%,-10000,-10000,-315,-10315,\n", 0);
        // Absent columns take what the options left out take.
        addRow("only the required columns", "BL,IM\n10000,10000\n",
               "BL,IM" + kPurchaseAdded + "\n10000,10000" + figures + "\n", 0);
        addRow("tax 10 when absent under today's rules", "IM,BL\n10000,10000\n",
               "IM,BL" + kPurchaseAdded + "\n10000,10000,10000,10000,330,10330,\n", 0, {"--rules", "current"});
        addRow("retention 0.3 when absent", "CBL,NBL,OA\n10000,12000,100000\n",
               "CBL,NBL,OA,評価額,税金,信託留保額,手取り現金,message\n10000,12000,100000,120000,3928,360,115712,\n", 0);
        addRow("check box named as the header wrote it",
               "IM,BL,手数料込み\n10000,10000,yes\n",
               "IM,BL,手数料込み" + kPurchaseAdded + "\n10000,10000,yes,,,,,手数料込み は 1 か 0（空欄は 0）にしてください\n", 1);
        addRow("old Mac line ends", kPurchaseHeader + "\r" + row + "\r\r" + row + "\r",
               kHeaderOut + "\n" + row + figures + "\n" + row + figures + "\n", 0);
        addRow("file argument", kPurchaseHeader + "\n" + row + "\n", kHeaderOut + "\n" + row + figures + "\n", 0,
               {"/dev/stdin"});
        addRow("- for standard input", kPurchaseHeader + "\n" + row + "\n", kHeaderOut + "\n" + row + figures + "\n",
               0, {"-"});
        addRow("redemption missing input",
               "CBL,NBL,OA,Fee\n10000,0,100,0.3\n",
               "CBL,NBL,OA,Fee,評価額,税金,信託留保額,手取り現金,message\n"
               "10000,0,100,0.3,,,,,現在の基準価額が入力されていません\n",
               1);
        addRow("distribution overflow",
               "Div,OA,CBL,NBL\n500,1000000000000,10000,9800\n",
               "Div,OA,CBL,NBL,課税分配金,非課税分配金,税金,手取分配金,（分配後元本基準価額）,message\n"
               "500,1000000000000,10000,9800,,,,,,非課税分配金が計算できる範囲（-32768 から 32767 まで）を超えています（--range wide で広い範囲）\n",
               1);
    }
    void csvForms()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        QFETCH(QStringList, options);
        const QString calculator = input.contains("CBL") ? (input.contains("Div") ? "distribution" : "redemption")
                                                         : "purchase";
        const CliRun run = runCli(QStringList{calculator, "--csv"} + options, input);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, output);
        QCOMPARE(run.exitCode, exitCode);
    }

    // Input the batch cannot read: one line on standard error naming the problem and,
    // for a row, its line; status 2; the rows before it are already written.
    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("names"); // what the line must name, "|" between
        QTest::addColumn<QStringList>("options");
        const QByteArray good = "10000,10000,3,5,0";
        const QByteArray goodOut = kHeaderOut + "\n" + good + ",10000,10000,315,10315,\n";

        QTest::newRow("empty file") << QByteArray() << QByteArray() << "空" << QStringList();
        QTest::newRow("blank lines only") << QByteArray("\n\r\n") << QByteArray() << "空" << QStringList();
        QTest::newRow("required columns missing, named at once") << QByteArray("FP1,FP2,FeeCovered\n1,1,1\n")
                                                                 << QByteArray() << "IM（購入資金）、BL（基準価額）がありません"
                                                                 << QStringList();
        QTest::newRow("column twice") << QByteArray("IM,BL,FP1,FP2,FeeCovered,IM\n") << QByteArray() << "IM" << QStringList();
        QTest::newRow("column named in another case") << QByteArray("im,BL,FP1,FP2,FeeCovered\n")
                                                      << QByteArray() << "IM" << QStringList();
        QTest::newRow("unquoted thousands separator")
            << kPurchaseHeader + "\n" + good + "\n10,000,10000,3,5,0\n" + good + "\n" << goodOut << "3 行目" << QStringList();
        QTest::newRow("row short of a field") << kPurchaseHeader + "\n" + good + "\n10000,3,5,0\n" << goodOut
                                              << "3 行目" << QStringList();
        QTest::newRow("quote never closed")
            << kPurchaseHeader + "\n" + good + "\n\"10000,10000,3,5,0\n" + good + "\n" << goodOut << "3 行目" << QStringList();
        QTest::newRow("text after a closing quote")
            << kPurchaseHeader + "\n" + good + "\n\"10\"000,10000,3,5,0\n" << goodOut << "3 行目" << QStringList();
        QTest::newRow("line number counts line breaks inside quotes")
            << "memo," + kPurchaseHeader + "\n\"a\nb\nc\"," + good + "\nx,1\n"
            << "memo," + kHeaderOut + "\n\"a\nb\nc\"," + good + ",10000,10000,315,10315,\n" << "5 行目" << QStringList();
        QTest::newRow("row over a megabyte")
            << kPurchaseHeader + ",memo\n" + good + "," + QByteArray(1100000, 'x') + "\n"
            << kPurchaseHeader + ",memo" + kPurchaseAdded + "\n" << "長すぎ" << QStringList();
        QTest::newRow("neither UTF-8 nor CP932")
            << "memo," + kPurchaseHeader + "\n\xFF\xFE," + good + "\n" << "memo," + kHeaderOut + "\n"
            << "2 行目|UTF-8 と CP932" << QStringList();
        // メ reads as CP932 and not as UTF-8, so the file is CP932 up to its line 3.
        QTest::newRow("CP932 up to a line that is not")
            << "memo," + kPurchaseHeader + "\n\x83\x81," + good + "\n\x85\x40," + good + "\n"
            << "memo," + kPurchaseHeader + kPurchaseAddedCp932 + "\n\x83\x81," + good
                   + ",10000,10000,315,10315,\n"
            << "3 行目|CP932 として" << QStringList();
        // Each field alone must be UTF-8, not just the record with its commas taken out.
        QTest::newRow("a UTF-8 character split across two fields")
            << "memo,note," + kPurchaseHeader + "\n\xE3\x81,\x82," + good + "\n" << "memo,note," + kHeaderOut + "\n"
            << "2 行目|UTF-8" << QStringList();
        QTest::newRow("--encoding utf-8 for a CP932 file")
            << "memo," + kPurchaseHeader + "\n\x83\x81," + good + "\n" << "memo," + kHeaderOut + "\n"
            << "2 行目|UTF-8 として" << QStringList{"--encoding", "utf-8"};
        // Past the first MiB the encoding is settled: a CP932 line there is refused, not garbled.
        QByteArray asciiMiB = kPurchaseHeader + ",memo\n";
        QByteArray asciiMiBOut = kPurchaseHeader + ",memo" + kPurchaseAdded + "\n";
        for (int row = 0; asciiMiB.size() <= 1 << 20; ++row) {
            asciiMiB += good + ",row " + QByteArray::number(row) + "\n";
            asciiMiBOut += good + ",row " + QByteArray::number(row) + ",10000,10000,315,10315,\n";
        }
        QTest::newRow("CP932 after a first MiB of ASCII")
            << asciiMiB + good + ",\x83\x81\n" << asciiMiBOut
            << QStringLiteral("%1 行目|--encoding").arg(asciiMiB.count('\n') + 1) << QStringList();
        QTest::newRow("a box named by its code and its caption")
            << QByteArray("IM,BL,FP1,FP2,FeeCovered,購入資金\n") << QByteArray() << "「IM」|「購入資金」"
            << QStringList();
        QTest::newRow("--bom with CP932 input")
            << "memo," + kPurchaseHeader + "\n\x83\x81," + good + "\n" << QByteArray() << "CP932|--bom"
            << QStringList{"--bom"};
    }
    void unreadable()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(QString, names);
        QFETCH(QStringList, options);
        const CliRun run = runCli(QStringList{"purchase", "--csv"} + options, input);
        QCOMPARE(run.exitCode, 2);
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith("miroven-calc: ") && err.count(u'\n') == 1, run.err.constData());
        for (const QString& name : names.split(u'|'))
            QVERIFY2(err.contains(name), run.err.constData());
        QCOMPARE(run.out, output);
    }

    // Output that cannot be written is a failure, never a success.
    void outputRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("one calculation") << QStringList{"purchase", "--funds", "1", "--nav", "1"} << QByteArray();
        QTest::newRow("help") << QStringList{"--help"} << QByteArray();
        QByteArray rows = kPurchaseHeader + "\n";
        for (int i = 0; i < 20000; ++i)
            rows += "10000,10000,3,5,0\n";
        QTest::newRow("batch past the writer's buffer") << QStringList{"purchase", "--csv"} << rows;
        QTest::newRow("batch of one row") << QStringList{"purchase", "--csv"} << kPurchaseHeader + "\n1,1,1,1,0\n";
    }
    void outputRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("needs /dev/full");
        const CliRun run = runCli(arguments, input, QProcessEnvironment::systemEnvironment(),
                                  QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("miroven-calc: ") && run.err.count('\n') == 1, run.err.constData());
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(CliBatchTest)
#include "tst_cli_batch.moc"
