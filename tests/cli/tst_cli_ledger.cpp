// miroven-calc ledger through the real executable: the columns it writes, refused rows,
// input it cannot read, and the working.
#include "cli_examples.h"

#include "calc/ledger/ledger_declaration.h"

#include <QtTest>

namespace {

// What each row gains, from the ledger's declaration (tests/csv holds the bytes as published).
QByteArray addedColumns()
{
    QByteArray added;
    for (const ledger::FigureDecl& figure : ledger::kFigures)
        added += ',' + figure.caption.toString().toUtf8();
    return added;
}
const QByteArray kAdded = addedColumns();

} // namespace

class CliLedgerTest : public QObject {
    Q_OBJECT
private slots:
    void rows_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("exitCode");
        // Captions in any order, a column the ledger also writes (手数料), another carried
        // through; a refused row keeps the holding for the next.
        QTest::newRow("captions, a refusal, a return of principal and a refund")
            << QStringList{}
            << QByteArray("取引,受渡日,銘柄,口数,基準価額,分配金(1万口当たり),手数料,memo\n"
                          "買付,2024/1/10,A,10000,10000,,100,x\n"
                          "解約,2024-01-11,A,10001,12000,,,too many\n"
                          "分配,2024-01-12,A,,9800,300,,\n"
                          "解約,2024-01-13,A,,12000,,,\n"
                          "買付,2024-01-14,B,10000,10000,,,\n"
                          "解約,2024-01-15,B,,8000,,,\n")
            << QByteArray("取引,受渡日,銘柄,口数,基準価額,分配金(1万口当たり),手数料,memo" + kAdded + "\n"
                          "買付,2024/1/10,A,10000,10000,,100,x,10000,10000,10100,10000,100,,,,,,,,,-10100,0,\n"
                          "解約,2024-01-11,A,10001,12000,,,too many,,,,,,,,,,,,,,,,解約する口数 10001 が保有口数 10000 を超えています\n"
                          "分配,2024-01-12,A,,9800,300,,,10000,9800,9900,,,100,200,,,,,15,5,280,0,\n"
                          "解約,2024-01-13,A,,12000,,,,0,,,,,,,,12000,9900,2100,321,105,11574,2100,\n"
                          "買付,2024-01-14,B,10000,10000,,,,10000,10000,10000,10000,0,,,,,,,,,-10000,2100,\n"
                          "解約,2024-01-15,B,,8000,,,,0,,,,,,,,8000,10000,-2000,-306,-100,8406,100,\n")
            << 1;
        QTest::newRow("an unknown event, account and date")
            << QStringList{}
            << QByteArray("date,fund,account,event\n2024-01-10,A,一般,買付\n2024-01-10,A,,売却\n2024-13-01,A,,買付\n")
            << QByteArray("date,fund,account,event" + kAdded + "\n"
                          "2024-01-10,A,一般,買付,,,,,,,,,,,,,,,,口座は 特定 か NISA です: 一般\n"
                          "2024-01-10,A,,売却,,,,,,,,,,,,,,,,取引が違います: 売却（残高、買付、分配、再投資、解約、譲渡損益、配当、払出）\n"
                          "2024-13-01,A,,買付,,,,,,,,,,,,,,,,受渡日は YYYY-MM-DD か YYYY/MM/DD で書きます: 2024-13-01\n")
            << 1;
        QTest::newRow("cells as spreadsheets write them, CR-only lines")
            << QStringList{}
            << QByteArray("date,fund,event,units,nav,手数料率（％）\r2024/1/10,A,買付,１００００,9000,3.24%\r")
            << QByteArray("date,fund,event,units,nav,手数料率（％）" + kAdded + "\n"
                          "2024/1/10,A,買付,１００００,9000,3.24%,10000,9000,9291,9000,291,,,,,,,,,-9291,0,\n")
            << 0;
        QTest::newRow("NISA, CRLF kept, 0.01-yen figures with two decimals")
            << QStringList{"--cost-rounding", "cent"}
            << QByteArray("date,fund,account,event,units,principal,cost\r\n"
                          "2024-01-10,A,NISA,open,30000,10000.5,10000.25\r\n")
            << QByteArray("date,fund,account,event,units,principal,cost" + kAdded + "\r\n"
                          "2024-01-10,A,NISA,open,30000,10000.5,10000.25,30000,10000.50,10000.25,,,,,,,,,,,,,\r\n")
            << 0;
        // A 2031 refund within 2024; 2038 (15 % + 5 %) ends with a loss of 1000 against a
        // dividend of 3000 on which 450 + 150 were withheld: 2000 is left, due 300 + 100.
        const QByteArray year = "date,account,event,fund,units,amount,nav,principal\n"
                                "2024-01-05,,残高,D,10000,,,10000\n2024-02-01,,解約,D,,,20000,\n"
                                "2024-03-01,,譲渡損益,,,-10000,,\n2038-01-04,NISA,残高,E,1,,,1\n"
                                "2038-01-05,,配当,,,3000,,\n2038-01-06,,gain,,,-1000,,\n";
        QTest::newRow("a year-end settlement row") << QStringList{} << year
            << QByteArray("date,account,event,fund,units,amount,nav,principal" + kAdded + "\n"
                          "2024-01-05,,残高,D,10000,,,10000,10000,10000,10000,,,,,,,,,,,,0,\n"
                          "2024-02-01,,解約,D,,,20000,,0,,,,,,,,20000,10000,10000,1531,500,17969,10000,\n"
                          "2024-03-01,,譲渡損益,,,-10000,,,,,,,,,,,,,-10000,-1531,-500,2031,0,\n"
                          "2038-01-04,NISA,残高,E,1,,,1,1,1,1,,,,,,,,,,,,,\n"
                          "2038-01-05,,配当,,,3000,,,,,,,,3000,,,,,,450,150,2400,0,\n"
                          "2038-01-06,,gain,,,-1000,,,,,,,,,,,,,-1000,0,0,0,-1000,\n"
                          "2038-12-31,特定,年末精算,,,,,,,,,,,,,,,,,-150,-50,200,,\n")
            << 0;
        QTest::newRow("the report of those years") << QStringList{"--report"} << year
            << QByteArray("年,口座,譲渡の対価の額,取得費及び譲渡に要した費用の額等,差引金額（譲渡所得等の金額）,配当等の額,"
                          "源泉徴収税額（所得税及び復興特別所得税）,源泉徴収税額（住民税）\n"
                          "2024,特定,20000,10000,0,0,0,0\n2038,特定,0,0,-1000,3000,300,100\n2038,NISA,0,0,0,0,0,0\n")
            << 0;
        QTest::newRow("a required column missing")
            << QStringList{} << QByteArray("date,units\n2024-01-10,1\n") << QByteArray() << 2;
        QTest::newRow("--format json refused") << QStringList{"--format", "json"} << QByteArray("date,fund,event\n")
                                               << QByteArray() << 2;
    }
    void rows()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        const CliRun run = runCli(QStringList{"ledger"} + options, input);
        QCOMPARE(run.out, output);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.isEmpty(), exitCode != 2);
    }

    // The working of each row, from a file named on the command line.
    void explain()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("date,fund,event,units,nav\n2024-01-10,A,buy,30000,10000\n2024-01-11,A,buy,10000,8725\n"
                   "2024-01-12,A,redemption,40001,9000\n2024-01-12,B,buy,9007199254740991,9007199254740991\n");
        file.close();
        const CliRun run = runCli({"ledger", "--explain", file.fileName()});
        QCOMPARE(run.exitCode, 1);
        const QString text = QString::fromUtf8(run.out);
        QVERIFY2(text.contains(QStringLiteral("\n個別元本 = 38725 × 10000 ÷ 40000 = 9681.25 を切り上げ = 9682\n")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("【4 行目】\n受渡日 = 2024-01-12\n")));
        QVERIFY(text.contains(QStringLiteral("断りました: 解約する口数 40001 が保有口数 40000 を超えています\n\n")));
        // An overflowed product shows as such, never as 0, and the step is named.
        QVERIFY(text.endsWith(QStringLiteral("約定金額 = 9007199254740991 × 9007199254740991 ÷ 10000 = （範囲を超えます） を切り捨て = （範囲を超えます）\n"
                                             "計算できなかった手順: 約定金額\n断りました: 約定金額が計算できる範囲を超えています\n\n")));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(CliLedgerTest)
#include "tst_cli_ledger.moc"
