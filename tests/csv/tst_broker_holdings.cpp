// The broker's holdings download read into one holding per fund and account.
#include "csv/broker_holdings.h"

#include "calc/ledger/ledger_declaration.h"

#include "cp932_bytes.h"

#include <QBuffer>
#include <QtTest>

namespace {

// An invented download in the broker's layout (every fund and figure is made up): a
// title before the header, every cell quoted, separators, one fund in 旧NISA and in
// both NISA allowances, one fund in two courses, its name once with full-width brackets.
const QString kSample = QStringLiteral(
    "\"保有商品一覧（投資信託）\"\r\n"
    "\"2024/07/01 現在\"\r\n"
    "\r\n"
    "\"投資信託種別\",\"ファンド\",\"口座区分\",\"分配金コース\",\"保有数量[口]\",\"平均取得価額[円]\",\"基準価額[円]\","
    "\"時価評価額[円]\",\"評価損益[円]\"\r\n"
    "\"国内投資信託\",\"テスト全世界株式インデックス\",\"つみたてNISA\",\"再投資型\",\"16,251\",\"20,511.35\","
    "\"23,456\",\"38,118\",\"4,785\"\r\n"
    "\"国内投資信託\",\"テスト全世界株式インデックス\",\"NISA つみたて投資枠\",\"再投資型\",\"27,625\",\"21,719.46\","
    "\"23,456\",\"64,797\",\"4,797\"\r\n"
    "\"国内投資信託\",\"テスト全世界株式インデックス\",\"NISA成長投資枠\",\"再投資型\",\"42,633\",\"23,456.01\","
    "\"23,456\",\"100,000\",\"0\"\r\n"
    "\"国内投資信託\",\"テスト高配当バランス(毎月分配型)\",\"特定\",\"再投資型\",\"517,189\",\"9,916.90\","
    "\"9,950\",\"514,603\",\"-2,006\"\r\n"
    "\"国内投資信託\",\"テスト・リート・インカム(毎月分配型)\",\"特定\",\"受取型\",\"1,000,000\",\"10,000.00\","
    "\"9,800\",\"980,000\",\"-20,000\"\r\n"
    "\"国内投資信託\",\"テスト・リート・インカム（毎月分配型）\",\"特定\",\"再投資型\",\"10,000\",\"10,100.00\","
    "\"9,800\",\"9,800\",\"-300\"\r\n"
    "\"国内投資信託\",\"テスト・リート・インカム(毎月分配型)\",\"NISA成長投資枠\",\"受取型\",\"25,000\",\"10,000.00\","
    "\"9,800\",\"24,500\",\"-500\"\r\n");

const QString kHeader = QStringLiteral("保有区分,ファンド,口座区分,分配金コース,保有数量［口］,平均取得価額［円］\n");

// Each holding as account|fund|units|averageCost|line, or why the file was refused.
QString readBack(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer input(&copy);
    input.open(QIODevice::ReadOnly);
    const Outcome<BrokerHoldings, QString> read = readBrokerHoldings(input, QStringLiteral("assetbalance.csv"));
    if (!read)
        return read.why();
    QStringList lines;
    for (const BrokerHolding& h : read->holdings)
        lines.append(QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(ledger::accountName(h.account), h.fund)
                         .arg(h.units)
                         .arg(h.averageCost().raw())
                         .arg(h.line));
    return lines.join(u'\n');
}

} // namespace

class BrokerHoldingsTest : public QObject {
    Q_OBJECT
private slots:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the invented download in CP932: courses and both NISA allowances summed")
            << cp932(kSample)
            << QString("旧NISA|テスト全世界株式インデックス|16251|205113500|5\n"
                       "NISA|テスト全世界株式インデックス|70258|227732100|6\n"
                       "特定|テスト高配当バランス(毎月分配型)|517189|99169000|8\n"
                       "特定|テスト・リート・インカム(毎月分配型)|1010000|100009900|9\n"
                       "NISA|テスト・リート・インカム(毎月分配型)|25000|100000000|11");
        QTest::newRow("UTF-8, unquoted, 保有区分 first, full-width brackets, other accounts")
            << (kHeader + "投資信託,ファンドA,一般,受取型,100,\"12,345.6\"\n投資信託,ファンドA,特定口座,受取型,0,-\n"
                          "投資信託,ファンドB,旧NISA,再投資型,１２３,10000\n投資信託,ファンドB,ＮＩＳＡ（成長投資枠）,受取型,1,10000\n")
                   .toUtf8()
            << QString("一般|ファンドA|100|123456000|2\n特定|ファンドA|0|0|3\n旧NISA|ファンドB|123|100000000|4\n"
                       "NISA|ファンドB|1|100000000|5");
        QTest::newRow("no header within the first lines")
            << QByteArray("約定日,受渡日,ファンド名\n2024/1/5,2024/1/10,A\n")
            << QString("assetbalance.csv は楽天の保有商品（投資信託）の CSV ではありません"
                       "（投資信託種別 か 保有区分 で始まる見出しがありません）");
        QTest::newRow("a column missing")
            << QByteArray("投資信託種別,ファンド,口座区分,保有数量[口]\n")
            << QString("assetbalance.csv の 1 行目: 見出しに列 分配金コース、平均取得価額[円] がありません");
        QTest::newRow("an account word not known")
            << (kHeader + "投資信託,A,特定,受取型,1,1\n投資信託,A,ジュニアNISA,受取型,1,1\n").toUtf8()
            << QString("assetbalance.csv の 3 行目: 口座区分が違います: ジュニアNISA"
                       "（特定（特定口座）、一般（一般口座）、NISA（NISA成長投資枠、NISAつみたて投資枠）、"
                       "旧NISA（一般NISA、つみたてNISA）、特定/一般）");
        QTest::newRow("one course listed twice would count its units twice")
            << (kHeader + "投資信託,A(毎月),特定,受取型,1,1\n投資信託,A（毎月）,特定,受取型,1,1\n").toUtf8()
            << QString("assetbalance.csv の 3 行目: 2 行目と同じファンド・口座区分・分配金コースです");
        QTest::newRow("units with a fraction")
            << (kHeader + "投資信託,A,特定,受取型,1.5,1\n").toUtf8()
            << QString("assetbalance.csv の 2 行目: 保有数量[口]は整数です: 1.5");
        QTest::newRow("a cost finer than 0.01 yen")
            << (kHeader + "投資信託,A,特定,受取型,1,\"10,000.005\"\n").toUtf8()
            << QString("assetbalance.csv の 2 行目: 平均取得価額[円]は 0.01 円単位です: 10,000.005");
        QTest::newRow("units without a cost")
            << (kHeader + "投資信託,A,特定,受取型,1,--\n").toUtf8()
            << QString("assetbalance.csv の 2 行目: 平均取得価額がありません");
        QTest::newRow("a row of another width: an unquoted 10,000")
            << (kHeader + "投資信託,A,特定,受取型,10,000,1\n").toUtf8()
            << QString("assetbalance.csv の 2 行目: 列が 7 個あります（見出しは 6 個）");
    }
    void reading()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        QCOMPARE(readBack(input), expected);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(BrokerHoldingsTest)
#include "tst_broker_holdings.moc"
