// CSV batches through the real executable: the worked examples, the CSV forms a
// spreadsheet may write, refused rows, and input that cannot be read.
#include "cli_examples.h"

#include <QtTest>

namespace {

const QByteArray kPurchaseHeader = "IM,BL,FP1,FP2,FeeCovered";
const QByteArray kPurchaseAdded = ",購入口数,（金額）,手数料,総投資額,message";
const QByteArray kHeaderOut = kPurchaseHeader + kPurchaseAdded;

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

void addRow(const char* name, const QByteArray& input, const QByteArray& output, int exitCode)
{
    QTest::newRow(name) << input << output << exitCode;
}

} // namespace

class CliBatchTest : public QObject {
    Q_OBJECT
private slots:
    void workedExamples_data()
    {
        QTest::addColumn<QString>("calculator");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        for (const auto& [shape, examples] :
             {std::pair{&kPurchase, &kPurchaseExamples}, std::pair{&kRedemption, &kRedemptionExamples},
              std::pair{&kDistribution, &kDistributionExamples}}) {
            const auto [input, output] = examplesCsv(*shape, *examples);
            QTest::newRow(shape->name) << QString::fromUtf8(shape->name) << input << output;
        }
    }
    void workedExamples()
    {
        QFETCH(QString, calculator);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        const CliRun run = runCli({calculator, "--csv"}, input);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, output);
        QCOMPARE(run.exitCode, 0);
    }

    void csvForms_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("exitCode");
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
        addRow("bytes that are not UTF-8 carried through unchanged",
               "memo," + kPurchaseHeader + "\n\xFF\xFE," + row + "\n",
               "memo," + kHeaderOut + "\n\xFF\xFE," + row + figures + "\n", 0);
        addRow("FeeCovered 1, 0, empty and spaced",
               kPurchaseHeader + "\n10000,10000,3,5,1\n10000,10000,3,5,\n10000,10000,3,5, 1 \n",
               kHeaderOut + "\n10000,10000,3,5,1,9694,9694,305,10000,\n10000,10000,3,5," + figures
                   + "\n10000,10000,3,5, 1 ,9694,9694,305,10000,\n",
               0);
        addRow("refused rows do not stop the batch",
               kPurchaseHeader + "\n10000,abc,3,5,0\n" + row + "\n,10000,3,5,0\n31767,10000,3,5,0\n",
               kHeaderOut + "\n10000,abc,3,5,0,,,,,基準価額には数値を入力してください\n" + row + figures
                   + "\n,10000,3,5,0,,,,,購入資金が入力されていません"
                   + "\n31767,10000,3,5,0,,,,,総投資額が計算できる範囲を超えています\n",
               1);
        addRow("FeeCovered other than 1 or 0",
               kPurchaseHeader + "\n10000,10000,3,5,yes\n",
               kHeaderOut + "\n10000,10000,3,5,yes,,,,,FeeCovered は 1 か 0（空欄は 0）にしてください\n", 1);
        addRow("redemption missing input",
               "CBL,NBL,OA,Fee\n10000,0,100,0.3\n",
               "CBL,NBL,OA,Fee,評価額,税金,信託留保額,手取り現金,message\n"
               "10000,0,100,0.3,,,,,現在の基準価額が入力されていません\n",
               1);
        addRow("distribution overflow",
               "Div,OA,CBL,NBL\n500,1000000000000,10000,9800\n",
               "Div,OA,CBL,NBL,課税分配金,非課税分配金,税金,手取分配金,（分配後元本基準価額）,message\n"
               "500,1000000000000,10000,9800,,,,,,非課税分配金が計算できる範囲を超えています\n",
               1);
    }
    void csvForms()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        const QString calculator = input.contains("CBL") ? (input.contains("Div") ? "distribution" : "redemption")
                                                         : "purchase";
        const CliRun run = runCli({calculator, "--csv"}, input);
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
        QTest::addColumn<QString>("names");
        const QByteArray good = "10000,10000,3,5,0";
        const QByteArray goodOut = kHeaderOut + "\n" + good + ",10000,10000,315,10315,\n";

        QTest::newRow("empty file") << QByteArray() << QByteArray() << "空";
        QTest::newRow("blank lines only") << QByteArray("\n\r\n") << QByteArray() << "空";
        QTest::newRow("column missing") << QByteArray("IM,BL,FP1,FP2\n1,1,1,1\n") << QByteArray()
                                        << "FeeCovered";
        QTest::newRow("column twice") << QByteArray("IM,BL,FP1,FP2,FeeCovered,IM\n") << QByteArray() << "IM";
        QTest::newRow("column named in another case") << QByteArray("im,BL,FP1,FP2,FeeCovered\n")
                                                      << QByteArray() << "IM";
        QTest::newRow("unquoted thousands separator")
            << kPurchaseHeader + "\n" + good + "\n10,000,10000,3,5,0\n" + good + "\n" << goodOut << "3 行目";
        QTest::newRow("row short of a field") << kPurchaseHeader + "\n" + good + "\n10000,3,5,0\n" << goodOut
                                              << "3 行目";
        QTest::newRow("quote never closed")
            << kPurchaseHeader + "\n" + good + "\n\"10000,10000,3,5,0\n" + good + "\n" << goodOut << "3 行目";
        QTest::newRow("text after a closing quote")
            << kPurchaseHeader + "\n" + good + "\n\"10\"000,10000,3,5,0\n" << goodOut << "3 行目";
        QTest::newRow("line number counts line breaks inside quotes")
            << "memo," + kPurchaseHeader + "\n\"a\nb\nc\"," + good + "\nx,1\n"
            << "memo," + kHeaderOut + "\n\"a\nb\nc\"," + good + ",10000,10000,315,10315,\n" << "5 行目";
        QTest::newRow("row over a megabyte")
            << kPurchaseHeader + ",memo\n" + good + "," + QByteArray(1100000, 'x') + "\n"
            << kPurchaseHeader + ",memo" + kPurchaseAdded + "\n" << "長すぎ";
    }
    void unreadable()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(QString, names);
        const CliRun run = runCli({"purchase", "--csv"}, input);
        QCOMPARE(run.exitCode, 2);
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith("miroven-calc: ") && err.count(u'\n') == 1, run.err.constData());
        QVERIFY2(err.contains(names), run.err.constData());
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
