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

// The cell of the output's last row under `caption`, for output without quoted cells.
QByteArray lastCell(const QByteArray& csv, const QByteArray& caption)
{
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    const qsizetype column = lines.front().split(',').indexOf(caption);
    const QList<QByteArray> cells = lines.back().split(',');
    return column < 0 || column >= cells.size() ? QByteArray("(no such column)") : cells.at(column);
}

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
        QTest::addColumn<QByteArray>("errors"); // standard error, unless the exit code is 2
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
            << 1 << QByteArray();
        QTest::newRow("an unknown event, account and date")
            << QStringList{}
            << QByteArray("date,fund,account,event\n2024-01-10,A,外貨,買付\n2024-01-10,A,,交換\n2024-1-1x,A,,買付\n"
                          "2024-02-30,A,,買付\n")
            << QByteArray("date,fund,account,event" + kAdded + "\n"
                          "2024-01-10,A,外貨,買付,,,,,,,,,,,,,,,,口座が違います: 外貨（特定（特定口座）、一般（一般口座）、"
                          "NISA（NISA成長投資枠、NISAつみたて投資枠）、旧NISA（一般NISA、つみたてNISA）、特定/一般）\n"
                          "2024-01-10,A,,交換,,,,,,,,,,,,,,,,取引が違います: 交換（残高、買付、分配、再投資、解約、譲渡損益、配当、払出）\n"
                          "2024-1-1x,A,,買付,,,,,,,,,,,,,,,,受渡日は YYYY-MM-DD か YYYY/MM/DD で書きます: 2024-1-1x\n"
                          "2024-02-30,A,,買付,,,,,,,,,,,,,,,,受渡日 2024-02-30 という日はありません\n")
            << 1 << QByteArray();
        QTest::newRow("cells as spreadsheets write them, CR-only lines")
            << QStringList{}
            << QByteArray("date,fund,event,units,nav,手数料率（％）\r2024/1/10,A,買付,１００００,9000,3.24%\r")
            << QByteArray("date,fund,event,units,nav,手数料率（％）" + kAdded + "\n"
                          "2024/1/10,A,買付,１００００,9000,3.24%,10000,9000,9291,9000,291,,,,,,,,,-9291,0,\n")
            << 0 << QByteArray();
        QTest::newRow("NISA, CRLF kept, 0.01-yen figures with two decimals")
            << QStringList{"--cost-rounding", "cent"}
            << QByteArray("date,fund,account,event,units,principal,cost\r\n"
                          "2024-01-10,A,NISA,open,30000,10000.5,10000.25\r\n")
            << QByteArray("date,fund,account,event,units,principal,cost" + kAdded + "\r\n"
                          "2024-01-10,A,NISA,open,30000,10000.5,10000.25,30000,10000.50,10000.25,,,,,,,,,,,,,\r\n")
            << 0 << QByteArray();
        // A 2031 refund within 2024; 2038 (15 % + 5 %) ends with a loss of 1000 against a
        // dividend of 3000 on which 450 + 150 were withheld: 2000 is left, due 300 + 100.
        const QByteArray year = "date,account,event,fund,units,amount,nav,principal\n"
                                "2024-01-05,,残高,D,10000,,,10000\n2024-02-01,,解約,D,,,20000,\n"
                                "2024-03-01,,譲渡損益,,,-10000,,\n2038-01-04,NISA,残高,E,1,,,1\n"
                                "2038-01-05,,配当,,,3000,,\n2038-01-06,,gain,,,-1000,,\n";
        const QByteArray yearRows =
            "date,account,event,fund,units,amount,nav,principal" + kAdded + "\n"
            "2024-01-05,,残高,D,10000,,,10000,10000,10000,10000,,,,,,,,,,,,0,\n"
            "2024-02-01,,解約,D,,,20000,,0,,,,,,,,20000,10000,10000,1531,500,17969,10000,\n"
            "2024-03-01,,譲渡損益,,,-10000,,,,,,,,,,,,,-10000,-1531,-500,2031,0,\n"
            "2038-01-04,NISA,残高,E,1,,,1,1,1,1,,,,,,,,,,,,,\n"
            "2038-01-05,,配当,,,3000,,,,,,,,3000,,,,,,450,150,2400,0,\n"
            "2038-01-06,,gain,,,-1000,,,,,,,,,,,,,-1000,0,0,0,-1000,\n";
        QTest::newRow("a year-end settlement row") << QStringList{} << year
            << QByteArray(yearRows + "2038-12-31,特定,年末精算,,,,,,,,,,,,,,,,,-150,-50,200,,\n")
            << 0 << QByteArray();
        // The 2038 loss of 1000 is set against the 3000 of 配当: 2000 is left, 300 + 100 paid.
        const QByteArray reportHeader =
            "年,口座,譲渡の対価の額,取得費及び譲渡に要した費用の額等,差引金額（譲渡所得等の金額）,源泉徴収税額（譲渡・所得税）,"
            "源泉徴収税額（譲渡・住民税）,配当等の額,元本払戻金（特別分配金）の額,源泉徴収税額（配当等・所得税）,配当割額,"
            "譲渡損失の金額,差引金額（配当等）,納付税額（所得税）,納付税額（住民税）,還付税額（所得税）,還付税額（住民税）\n";
        QTest::newRow("the report of those years") << QStringList{"--report"} << year
            << QByteArray(reportHeader + "2024,特定,20000,10000,0,0,0,0,0,0,0,0,0,0,0,0,0\n"
                          "2038,特定,0,0,-1000,0,0,3000,0,450,150,1000,2000,300,100,150,50\n"
                          "2038,NISA,0,0,0,,,0,0,,,,,,,,\n")
            << 0 << QByteArray();
        QTest::newRow("a year not over by --as-of") << QStringList{"--as-of", "2038-01-31"} << year
            << QByteArray(yearRows + "2038-12-31,特定,年末精算（見込み）,,,,,,,,,,,,,,,,,-150,-50,200,,\n")
            << 0 << QByteArray();
        // The worked year a 特定口座年間取引報告書 shows (the README's): one paper, two sections.
        QTest::newRow("the worked year, in the paper's sections") << QStringList{"--report", "--format", "text"}
            << QByteArray("date,fund,account,event,units,amount,nav,distribution\n"
                          "2024-03-01,A,特定口座,購入,1000000,,10000,\n2024-06-01,A,,分配金,,,10500,200\n"
                          "2024-09-02,A,,売却,,,9700,\n2024-10-01,,,配当,,30000,,\n"
                          "2025-01-06,B,NISA（つみたて投資枠）,積立買付,100000,,10000,\n")
            << QString("2024 年 特定口座\n"
                       "  【譲渡】\n"
                       "    譲渡の対価の額                          970000\n"
                       "    取得費及び譲渡に要した費用の額等       1000000\n"
                       "    差引金額（譲渡所得等の金額）            -30000\n"
                       "    源泉徴収税額（譲渡・所得税）                 0\n"
                       "    源泉徴収税額（譲渡・住民税）                 0\n"
                       "  【配当等】\n"
                       "    配当等の額                               50000\n"
                       "    元本払戻金（特別分配金）の額                 0\n"
                       "    源泉徴収税額（配当等・所得税）            7657\n"
                       "    配当割額                                  2500\n"
                       "    譲渡損失の金額                           30000\n"
                       "    差引金額（配当等）                       20000\n"
                       "    納付税額（所得税）                        3063\n"
                       "    納付税額（住民税）                        1000\n"
                       "    還付税額（所得税）                        4594\n"
                       "    還付税額（住民税）                        1500\n"
                       "\n"
                       "2025 年 NISA口座\n"
                       "  【譲渡】\n"
                       "    譲渡の対価の額                               0\n"
                       "    取得費及び譲渡に要した費用の額等             0\n"
                       "    差引金額（譲渡所得等の金額）                 0\n"
                       "  【配当等】\n"
                       "    配当等の額                                   0\n"
                       "    元本払戻金（特別分配金）の額                 0\n").toUtf8()
            << 0 << QByteArray();
        // The README's file in the papers' words: 受渡金額, 元本払戻金 and 解約価額 as printed.
        const QByteArray papers = "受渡日,銘柄,口座,取引,口数,基準価額,受渡金額,分配金(1万口当たり),元本払戻金(1万口当たり),解約価額";
        QTest::newRow("the papers' words and figures") << QStringList{"--as-of", "2024-12-31"}
            << QByteArray(papers + "\n"
                          "2024-01-15,世界株式,NISA（つみたて投資枠）,積立買付,,20512,33333,,,\n"
                          "2024-02-01,国内債券,特定口座,購入,10000,10000,10110,,,\n"
                          "2024-03-15,国内債券,特定預り,分配金,,,,100,40,\n"
                          "2024-06-03,国内債券,特定口座,売却,,,,,,10200\n")
            << QByteArray(papers + kAdded + "\n"
                          "2024-01-15,世界株式,NISA（つみたて投資枠）,積立買付,,20512,33333,,,,"
                          "16251,20512,20512,33333,0,,,,,,,,,-33333,,\n"
                          "2024-02-01,国内債券,特定口座,購入,10000,10000,10110,,,,"
                          "10000,10000,10110,10000,110,,,,,,,,,-10110,0,\n"
                          "2024-03-15,国内債券,特定預り,分配金,,,,100,40,,"
                          "10000,9960,10070,,,60,40,,,,,9,3,88,0,\n"
                          "2024-06-03,国内債券,特定口座,売却,,,,,,10200,"
                          "0,,,,,,,,10200,10070,130,19,6,10175,130,\n")
            << 0 << QByteArray();
        // Each broker's 特定口座 has a year and a line of its own.
        QTest::newRow("two brokers' lines") << QStringList{"--report"}
            << QByteArray("date,fund,event,units,nav,証券会社\n2024-01-10,A,buy,10000,10000,X証券\n"
                          "2024-01-10,A,buy,10000,10000,Y証券\n2024-02-10,A,解約,,11000,Y証券\n")
            << QByteArray(reportHeader + "2024,特定（X証券）,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"
                          "2024,特定（Y証券）,11000,10000,1000,153,50,0,0,0,0,0,0,0,0,0,0\n")
            << 0 << QByteArray();
        QTest::newRow("a settlement row names its broker") << QStringList{}
            << QByteArray("date,fund,event,amount,broker\n2024-03-01,,配当,10000,X証券\n"
                          "2024-04-01,,譲渡損益,-10000,X証券\n")
            << QByteArray("date,fund,event,amount,broker" + kAdded + "\n"
                          "2024-03-01,,配当,10000,X証券,,,,,,10000,,,,,,1531,500,7969,0,\n"
                          "2024-04-01,,譲渡損益,-10000,X証券,,,,,,,,,,,-10000,0,0,0,-10000,\n"
                          "2024-12-31,,年末精算,,X証券,,,,,,,,,,,,-1531,-500,2031,,\n")
            << 0 << QByteArray();
        // A refused row is not in the report: it is told on standard error instead.
        QTest::newRow("a refused row in the report") << QStringList{"--report"}
            << QByteArray("date,fund,account,event,units,nav\n2024-01-10,A,一般口座,買付,10000,10000\n"
                          "2024-01-11,A,一般,解約,20000,10000\n2024-01-12,A,一般預り,解約,,10000\n")
            << QByteArray(reportHeader + "2024,一般,10000,10000,0,,,0,0,0,0,,,,,,\n") << 1
            << QByteArray("miroven-calc: 入力の 3 行目: 解約する口数 20000 が保有口数 10000 を超えています\n");
        QTest::newRow("a required column missing")
            << QStringList{} << QByteArray("date,units\n2024-01-10,1\n") << QByteArray() << 2 << QByteArray();
        QTest::newRow("--format json refused") << QStringList{"--format", "json"} << QByteArray("date,fund,event\n")
                                               << QByteArray() << 2 << QByteArray();
    }
    void rows()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, errors);
        // No output depends on the clock.
        if (!options.contains("--as-of"))
            options << "--as-of" << "2040-12-31";
        const CliRun run = runCli(QStringList{"ledger"} + options, input);
        QCOMPARE(run.out, output);
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode == 2)
            QVERIFY(!run.err.isEmpty());
        else
            QCOMPARE(run.err, errors);
    }

    // Each broker's convention, named by its option, on the example that tells it apart.
    void conventions_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QByteArray>("caption");
        QTest::addColumn<QByteArray>("figure");
        // 7,930 less 0.3 %: 23.79 of retention per 10,000 units.
        const QByteArray redeemed = "2024-01-04,A,残高,1000000,,,,,10000\n2024-02-01,A,解約,,,,7930,0.3,\n";
        QTest::newRow("retention floored by default") << QStringList{} << redeemed << QByteArray("解約代金")
                                                      << QByteArray("790700");
        QTest::newRow("retention rounded half up") << QStringList{"--retention-rounding", "nearest"} << redeemed
                                                   << QByteArray("解約代金") << QByteArray("790600");
        QTest::newRow("retention exact") << QStringList{"--retention-rounding=exact"} << redeemed
                                         << QByteArray("解約代金") << QByteArray("790621");
        // 7,234 × 5 ÷ 10,000 = 3.617; 1,013,171 × 50 ÷ 10,000 = 5,065.855.
        const QByteArray few = "2024-01-04,A,残高,7234,,,,,10000\n2024-02-01,A,分配,,5,,10000,,\n";
        const QByteArray many = "2024-01-04,A,残高,1013171,,,,,10000\n2024-02-01,A,分配,,50,,10000,,\n";
        QTest::newRow("a distribution floored by default") << QStringList{} << few << QByteArray("普通分配金")
                                                           << QByteArray("3");
        QTest::newRow("a distribution of a few units, half up")
            << QStringList{"--distribution-rounding", "nearest"} << few << QByteArray("普通分配金") << QByteArray("4");
        QTest::newRow("a distribution of many units, half up")
            << QStringList{"--distribution-rounding", "nearest"} << many << QByteArray("普通分配金")
            << QByteArray("5066");
        // 15,000 × 10,003 ÷ 10,000 = 15,004.5.
        const QByteArray byUnits = "2024-01-04,A,買付,15000,,,10003,,\n";
        QTest::newRow("a contract floored by default") << QStringList{} << byUnits << QByteArray("約定金額")
                                                       << QByteArray("15004");
        QTest::newRow("a contract half up") << QStringList{"--contract-rounding", "nearest"} << byUnits
                                            << QByteArray("約定金額") << QByteArray("15005");
        // 10,000 yen at 10,003: 9,997 units cost 9,999.9991, 10,000 yen half up.
        const QByteArray byAmount = "2024-01-04,A,買付,,,10000,10003,,\n";
        QTest::newRow("units by amount rounded up") << QStringList{} << byAmount << QByteArray("保有口数")
                                                    << QByteArray("9998");
        QTest::newRow("units by amount as brokers order") << QStringList{"--units-rounding", "broker"} << byAmount
                                                          << QByteArray("保有口数") << QByteArray("9997");
        // The exact average is 10,000; from the 10,001 printed after the second buy it is 10,000.5.
        const QByteArray averaged = "2024-01-04,A,買付,20000,,,10000,,\n2024-01-05,A,買付,10000,,,10001,,\n"
                                    "2024-01-06,A,買付,10000,,,9999,,\n";
        QTest::newRow("個別元本 from the exact sums") << QStringList{} << averaged << QByteArray("個別元本")
                                                   << QByteArray("10000");
        QTest::newRow("個別元本 from the printed one") << QStringList{"--principal-average", "printed"} << averaged
                                                    << QByteArray("個別元本") << QByteArray("10001");
    }
    void conventions()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, rows);
        QFETCH(QByteArray, caption);
        QFETCH(QByteArray, figure);
        const CliRun run = runCli(QStringList{"ledger", "--as-of", "2024-12-31"} + options,
                                  "date,fund,event,units,distribution,amount,nav,retention,principal\n" + rows);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(lastCell(run.out, caption), figure);
    }

    // Brokers' downloads and the tables beside them, named on the command line: "@name" is
    // the committed sample, "@held" a holdings download of the 楽天 samples' funds.
    void files_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // a part of standard output
        QTest::addColumn<QString>("err");    // a part of standard error
        const QString trades = QStringLiteral("@rakuten_tradehistory(INVST)_20240701.csv");
        const QString distributions = QStringLiteral("@rakuten_dividendlist_20240701.csv");
        const QString sbi = QStringLiteral("@sbi_SaveFile_000001_000006_yakujo_old.csv");
        const QString nav = QStringLiteral("@nav_20240701.csv");
        // In a NISA nothing is withheld, so the tax cannot tell the split either.
        QTest::newRow("a NISA distribution without its NAV names --nav")
            << QStringList{trades, distributions} << 1 << QByteArray(",source,")
            << "rakuten_dividendlist_20240701.csv:3: テスト・リート・インカム(毎月分配型) の 2024-05-21 の分配は"
               "分配落ち後の基準価額がわかりません: --nav";
        QTest::newRow("a stock's dividend read as 特定 says so")
            << QStringList{trades, distributions} << 1
            << QByteArray("dividendlist_20240701.csv:6,,,,,,3000,,,,,,459,150,2391,0,口座「特定・一般」を特定口座として読みました\r\n")
            << QString();
        QTest::newRow("each broker's own 特定口座 in the report")
            << QStringList{"--report", "--nav", nav, trades, distributions, sbi} << 1
            << QByteArray("2024,特定（SBI証券）,114000,112510,1490,228,74,") << QString("保有口数が 0");
        QTest::newRow("the broker's holdings beside the ledger's, one marked")
            << QStringList{"--nav", nav, "--holdings", "@held", trades, distributions} << 1 << QByteArray()
            << "※ 旧NISA テスト全世界株式インデックス: 保有なし / 16251 口";
        // 1,013,171 units × 50 ÷ 10,000 = 5,065.855: 楽天 rounds it half up.
        QTest::newRow("楽天's rounding of a distribution")
            << QStringList{"--nav", nav, trades, distributions} << 1
            << QByteArray("rakuten_tradehistory(INVST)_20240701.csv:8,1017189,9871,9871,,,5066,") << QString();
        QTest::newRow("an option over the broker's rounding")
            << QStringList{"--explain", "--distribution-rounding", "down", "--nav", nav, trades, distributions} << 1
            << QByteArray("\n分配金 = 1013171 × 50 ÷ 10000 = 5065.855 を切り捨て = 5065\n")
            << QString("分配金の端数はオプションのとおり");
        QTest::newRow("in CP932 when asked")
            << QStringList{"--encoding", "cp932", "@monex_20240701-20241220.csv"} << 0
            << QByteArray("\x93\xc1\x92\xe8" /* 特定 */) << QString();
        QTest::newRow("a file that matches nothing names the layouts read")
            << QStringList{trades, "@held"} << 2 << QByteArray() << QString("楽天証券 取引履歴（投資信託）");
        QTest::newRow("alone, too") << QStringList{"@held"} << 2 << QByteArray() << QString("SBI証券 約定履歴");
        // Written as "?" it would no longer name the fund.
        QTest::newRow("a name CP932 lacks, refused in CP932")
            << QStringList{"--encoding", "cp932", "@monex_20240701-20241220.csv", "@odd"} << 2 << QByteArray()
            << QString("「テスト𠮷インデックス」には CP932 にない文字がある");
    }
    void files()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QTemporaryFile held;
        QVERIFY(held.open());
        held.write(QStringLiteral("保有区分,ファンド,口座区分,分配金コース,保有数量［口］,平均取得価額［円］\n"
                                  "投資信託,テスト全世界株式インデックス,NISA,再投資型,70258,22774.00\n")
                       .toUtf8());
        held.close();
        QTemporaryFile odd;
        QVERIFY(odd.open());
        odd.write("date,fund,event,units,nav\n2024-07-01,テスト𠮷インデックス,買付,10000,10000\n");
        odd.close();
        for (QString& argument : arguments) {
            if (argument == u"@held")
                argument = held.fileName();
            else if (argument == u"@odd")
                argument = odd.fileName();
            else if (argument.startsWith(u'@'))
                argument = QStringLiteral(MIROVEN_BROKER_SAMPLES "/") + argument.mid(1);
        }
        const CliRun run = runCli(QStringList{"ledger", "--as-of", "2025-12-31"} + arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.out.contains(out), run.out.left(400).constData());
        QVERIFY2(QString::fromUtf8(run.err).contains(err), run.err.constData());
    }

    // The working of each row, from a file named on the command line.
    void explain()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("date,fund,event,units,nav\n2024-01-10,A,buy,30000,10000\n2024-01-11,A,buy,10000,8725\n"
                   "2024-01-12,A,redemption,40001,9000\n2024-01-12,B,buy,9007199254740991,9007199254740991\n");
        file.close();
        const CliRun run = runCli({"ledger", "--explain", "--as-of", "2024-12-31", file.fileName()});
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
