// The brokers' downloads read as they are: which layout a file is, and what each of its
// rows says to the ledger, figure by figure.
#include "csv/broker_cells.h"
#include "csv/broker_file.h"
#include "csv/broker_merge.h"
#include "csv/broker_pairing.h"
#include "csv/broker_references.h"
#include "csv/csv_encoding.h"
#include "csv/fund_name.h"

#include "calc/ledger/ledger_declaration.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

using namespace broker;

namespace {

QString eventName(ledger::EventKind kind)
{
    for (const ledger::EventDecl& e : ledger::kEvents) {
        if (e.kind == kind)
            return QString::fromUtf8(e.japanese);
    }
    return QString();
}

// A row in one line: its line, then what the ledger reads, then what the file states.
QString rowText(const BrokerRow& row)
{
    const QString line = QString::number(row.source.line) + u' ';
    if (row.kind == BrokerRow::Kind::PassedOver)
        return line + QStringLiteral("passed over: ") + row.note;
    if (row.kind == BrokerRow::Kind::Refused)
        return line + QStringLiteral("refused: ") + row.note;
    const ledger::Event& e = row.event;
    QString text = line + e.date.toString(Qt::ISODate) + u' ' + ledger::accountName(e.account).toString()
                   + (e.specifiedOrGeneral ? QStringLiteral("/一般") : QString()) + u' ' + eventName(e.kind)
                   + u' ' + e.fund;
    const auto add = [&](const char* name, const std::optional<Integer>& figure) {
        if (figure)
            text += u' ' + QLatin1String(name) + u'=' + QString::number(*figure);
    };
    add("units", e.units);
    add("nav", e.nav);
    add("redemption", e.redemptionPrice);
    add("distribution", e.distribution);
    add("amount", e.amount);
    add("fee", e.fee);
    add("settlement", e.settlement);
    text += QStringLiteral(" |");
    add("gross", row.stated.gross);
    add("tax", row.stated.tax);
    add("net", row.stated.net);
    add("paid", row.stated.settlement);
    add("points", row.stated.points);
    if (!row.stated.course.isEmpty())
        text += u' ' + row.stated.course;
    if (!row.note.isEmpty())
        text += QStringLiteral(" (") + row.note + u')';
    return text;
}

// What a file reads as: its layout (or why it is refused), then its rows.
QStringList readAll(QIODevice& input, const QString& name)
{
    BrokerFile file(input, name);
    if (const std::optional<QString> refused = file.open())
        return {QStringLiteral("refused: ") + *refused};
    const std::optional<Layout> layout = file.layout();
    QStringList lines{layout ? layoutTitle(layoutDecl(*layout)) : QStringLiteral("ledger")};
    while (file.next()) {
        if (layout && file.row().event.broker != layoutDecl(*layout).broker)
            return {QStringLiteral("broker lost on line %1").arg(file.row().source.line)};
        lines.append(rowText(file.row()));
    }
    if (file.stopped())
        lines.append(QStringLiteral("stopped: ") + *file.stopped());
    return lines;
}

// The rows of sample files, each file's as one list.
std::vector<std::vector<BrokerRow>> sampleRows(const QStringList& names)
{
    std::vector<std::vector<BrokerRow>> files;
    for (const QString& name : names) {
        QFile input(QStringLiteral(MIROVEN_BROKER_SAMPLES "/") + name);
        if (!input.open(QIODevice::ReadOnly))
            return {};
        BrokerFile file(input, name.first(3));
        if (file.open())
            return {};
        files.emplace_back();
        while (file.next())
            files.back().push_back(file.row());
    }
    return files;
}

} // namespace

class BrokerFilesTest : public QObject {
    Q_OBJECT

private slots:
    void samples_data();
    void samples();
    void made_data();
    void made();
    void figures_data();
    void figures();
    void fundNames_data();
    void fundNames();
    void merged();
    void paired_data();
    void paired();
    void references_data();
    void references();
};

void BrokerFilesTest::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("楽天 取引履歴") << "rakuten_tradehistory(INVST)_20240701.csv"
        << QStringList{
            "楽天証券 取引履歴（投資信託）",
            "2 2023-12-14 旧NISA 買付 テスト全世界株式インデックス units=16251 nav=20512 fee=0 settlement=33333 | paid=33333 再投資型",
            "3 2024-01-15 NISA 買付 テスト全世界株式インデックス units=14055 nav=21345 fee=0 settlement=30000 | paid=30000 再投資型",
            "4 2024-02-16 NISA 買付 テスト全世界株式インデックス units=13570 nav=22108 fee=0 settlement=30000 | paid=30000 points=500 再投資型",
            "5 2024-03-14 特定 買付 テスト高配当バランス(毎月分配型) units=1013171 nav=9870 fee=0 settlement=1000000 | paid=1000000 再投資型",
            "6 2024-03-15 特定 買付 テスト・リート・インカム(毎月分配型) units=1000000 nav=10000 fee=0 settlement=1000000 | paid=1000000 受取型",
            "7 2024-03-15 NISA 買付 テスト・リート・インカム(毎月分配型) units=25000 nav=10000 fee=0 settlement=25000 | paid=25000 受取型",
            "8 2024-04-19 特定 再投資 テスト高配当バランス(毎月分配型) units=4018 nav=10050 | paid=4038 再投資型",
            "9 2024-06-13 特定 解約 テスト高配当バランス(毎月分配型) units=500000 redemption=9900 | paid=495000 再投資型",
            "10 2024-07-04 NISA 買付 テスト全世界株式インデックス units=42633 nav=23456 fee=0 settlement=100000 | paid=100000 再投資型"};
    QTest::newRow("楽天 配当・分配金") << "rakuten_dividendlist_20240701.csv"
        << QStringList{
            "楽天証券 配当・分配金",
            "2 2024-05-21 特定 分配 テスト・リート・インカム(毎月分配型) units=1000000 distribution=100 | gross=10000 tax=1015 net=8985",
            "3 2024-05-21 NISA 分配 テスト・リート・インカム(毎月分配型) units=25000 distribution=100 | gross=250 tax=0 net=250",
            "4 2024-04-19 特定 分配 テスト高配当バランス(毎月分配型) units=1013171 distribution=50 | gross=5066 tax=1028 net=4038",
            "5 2024-04-19 旧NISA 分配 テスト高配当バランス(毎月分配型) units=3333 distribution=50 | gross=17 tax=0 net=17",
            "6 2024-03-28 特定 配当 テスト商事 amount=3000 | gross=3000 tax=609 net=2391 (口座「特定・一般」を特定口座として読みました)"};
    QTest::newRow("楽天 精算履歴") << "rakuten_adjusthistory(JP)_20240701.csv"
        << QStringList{
            "refused: rakuten_adjusthistory(JP)_20240701.csv: 読める形式ではありません。読めるのは 楽天証券 取引履歴（投資信託）、楽天証券 配当・分配金、SBI証券 約定履歴、SBI証券 約定履歴（2026年5月から）、SBI証券 配当金・分配金、マネックス証券 取引履歴、記帳ファイル（1 行目に見出し）です（1 行目を記帳ファイルの見出しとして読むと: 見出しに列 fund（銘柄）、event（取引） がありません）"};
    QTest::newRow("SBI 約定履歴") << "sbi_SaveFile_000001_000006_yakujo_old.csv"
        << QStringList{
            "SBI証券 約定履歴",
            "10 2024-07-04 NISA 買付 テスト全世界株式インデックス units=11713 nav=25613 settlement=30000 | paid=30000",
            "11 2024-07-16 特定 買付 テスト高配当バランス(毎月分配型) units=444444 nav=11250 settlement=500000 | paid=500000",
            "12 2024-08-06 NISA 買付 テスト全世界株式インデックス units=12007 nav=24987 settlement=30000 | paid=30000",
            "13 2024-09-05 NISA 買付 テスト全世界株式インデックス units=12558 nav=23890 settlement=30000 | paid=30000",
            "14 2024-09-17 NISA 再投資 テスト・リート・インカム(毎月分配型) units=1667 nav=9600 | paid=1600",
            "15 2024-10-30 特定 解約 テスト高配当バランス(毎月分配型) units=100000 redemption=11400 | paid=114000"};
    QTest::newRow("SBI 約定履歴 2026") << "sbi_SaveFile_000001_000002_yakujo_new2026.csv"
        << QStringList{
            "SBI証券 約定履歴（2026年5月から）",
            "10 2026-06-04 NISA 買付 テスト全世界株式インデックス units=10050 nav=9950 fee=0 settlement=10000 | tax=0 paid=10000",
            "11 2026-06-05 NISA 買付 テスト高配当バランス(毎月分配型) units=3240 nav=15432 fee=0 settlement=5000 | tax=0 paid=5000"};
    QTest::newRow("SBI 配当金・分配金") << "sbi_DISTRIBUTION_20241101093000.csv"
        << QStringList{
            "SBI証券 配当金・分配金",
            "11 2024-11-20 特定/一般 分配 テスト高配当バランス(毎月分配型) units=344444 | net=3295",
            "12 2024-09-20 特定/一般 分配 テスト高配当バランス(毎月分配型) units=444444 | net=4251"};
    QTest::newRow("SBI 特定口座損益明細") << "sbi_SaveFile_000001_000001_tokutei_soneki.csv"
        << QStringList{
            "refused: sbi_SaveFile_000001_000001_tokutei_soneki.csv: 読める形式ではありません。読めるのは 楽天証券 取引履歴（投資信託）、楽天証券 配当・分配金、SBI証券 約定履歴、SBI証券 約定履歴（2026年5月から）、SBI証券 配当金・分配金、マネックス証券 取引履歴、記帳ファイル（1 行目に見出し）です（1 行目を記帳ファイルの見出しとして読むと: 見出しに列 date（受渡日）、fund（銘柄）、event（取引） がありません）"};
    QTest::newRow("マネックス 取引履歴") << "monex_20240701-20241220.csv"
        << QStringList{
            "マネックス証券 取引履歴",
            "3 2024-07-16 特定 買付 テスト高配当バランス units=400000 nav=12500 fee=0 settlement=500000 | gross=0 tax=0 paid=500000",
            "4 2024-09-20 特定 分配 テスト高配当バランス units=400000 distribution=120 | gross=4800 tax=975 paid=0",
            "5 2024-09-20 特定 再投資 テスト高配当バランス units=3000 nav=12750 | gross=0 tax=0 paid=3825",
            "6 2024-10-30 特定 解約 テスト高配当バランス units=100000 redemption=12900 | gross=0 tax=808 paid=128192"};
}

void BrokerFilesTest::samples()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    QFile input(QStringLiteral(MIROVEN_BROKER_SAMPLES "/") + file);
    QVERIFY2(input.open(QIODevice::ReadOnly), qPrintable(input.errorString()));
    const QStringList lines = readAll(input, file);
    QCOMPARE(lines, expected);
}

// Files of our own: other preambles, encodings and line ends, and the rows a download
// may hold beside a fund's trades.
void BrokerFilesTest::made_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cp932");
    QTest::addColumn<QStringList>("expected");

    const QString rakuten = QStringLiteral(
        "約定日,受渡日,ファンド名,分配金,口座,取引,買付方法,数量［口］,単価,経費,為替レート,受付金額[現地通貨],"
        "受渡金額/(ポイント利用)[円],決済通貨\n");
    const QString row = QStringLiteral(
        "\"2024/1/10\",\"2024/1/15\",\"テスト　全世界（株式）\",\"再投資型\",\"NISAつみたて投資枠\",\"買付\",\"積立\","
        "\"14,055\",\"21,345\",\"0\",\"-\",\"-\",\"30,000\",\"円\"\n");
    const QString bought = QStringLiteral(
        "2024-01-15 NISA 買付 テスト全世界(株式) units=14055 nav=21345 fee=0 settlement=30000 | paid=30000 再投資型");
    QTest::newRow("楽天, UTF-8 and LF, identical rows kept, names normalised")
        << rakuten + row + row + QStringLiteral(
               " 2024/2/13 , 2024/2/16 ,ﾃｽﾄ 全世界 (株式) ,再投資型, NISAつみたて投資枠 ,買付,積立,１３，５７０,\"22,108\",0,-,-,"
               "\"5,000(493)\",円\n")
        << false
        << QStringList{QStringLiteral("楽天証券 取引履歴（投資信託）"), QStringLiteral("2 ") + bought,
                       QStringLiteral("3 ") + bought,
                       QStringLiteral("4 2024-02-16 NISA 買付 テスト全世界(株式) units=13570 nav=22108 fee=0 "
                                      "settlement=5000 | paid=5000 points=493 再投資型")};
    QTest::newRow("楽天, CP932: other currencies, widths and figures refused")
        << rakuten
               + QStringLiteral("2024/1/10,2024/1/15,F,再投資型,特定,買付,積立,100,20000,0,150.00,100,200,USD\n"
                                "2024/1/10,2024/1/15,F,再投資型,特定,買付\n"
                                "2024/1/10,2024/1/15,F,再投資型,特定,買付,積立,\"1,00\",20000,0,-,-,200,円\n"
                                "2024/1/10,2024/1/15,F,再投資型,特定口座,解約,-,100,20000.5,0,-,-,200,円\n"
                                "2024/1/10,2024/13/15,F,再投資型,特定,買付,積立,100,20000,0,-,-,200,円\n"
                                "2024/1/10,2024/1/15,F,再投資型,外国口座,買付,積立,100,20000,0,-,-,200,円\n"
                                ",,,,,,,,,,,,,\n")
        << true
        << QStringList{QStringLiteral("楽天証券 取引履歴（投資信託）"),
                       QStringLiteral("2 refused: 決済通貨「USD」: 円でない取引は読めません"),
                       QStringLiteral("3 refused: 列が 6 個あります（見出しは 14 個）"),
                       QStringLiteral("4 refused: 数量［口］「1,00」は数値ではありません"),
                       QStringLiteral("5 refused: 単価「20000.5」に円未満の端数があります"),
                       QStringLiteral("6 refused: 受渡日「2024/13/15」は日付ではありません"),
                       QStringLiteral("7 refused: 口座「外国口座」は読めません"),
                       QStringLiteral("8 passed over: 空の行")};
    QTest::newRow("SBI, CP932 and LF, no preamble: MRF, stocks and 入庫")
        << QStringLiteral("約定日,銘柄,銘柄コード,市場,取引,期限,預り,課税,約定数量,約定単価,手数料/諸経費等,税額,受渡日,"
                          "受渡金額/決済損益\n"
                          "\"2024/07/01\",\"F\",,,投信口数買付,\"--\",\" 一般 \",\"--\",1000,25613,330,--,\"2024/07/04\",2891\n"
                          "\"2024/07/01\",\"MRF\",,,MRF再投資,\"--\",\" 特定 \",\"--\",3,1,--,--,\"2024/07/01\",3\n"
                          "\"2024/07/01\",\"テスト商事\",9999,東証,株式現物買,\"--\",\" 特定 \",\"--\",100,3000,0,0,\"2024/07/03\",300000\n"
                          "\"2024/07/01\",\"F\",,,入庫,\"--\",\" 特定 \",\"--\",1000,--,--,--,\"2024/07/01\",--\n"
                          "\"2024/07/02\",\"F\",,,買取,\"--\",\" 旧つみたてNISA \",\"--\",500,26000,--,--,\"2024/07/05\",1300\n")
        << true
        << QStringList{QStringLiteral("SBI証券 約定履歴"),
                       QStringLiteral("2 2024-07-04 一般 買付 F units=1000 nav=25613 fee=330 settlement=2891 | paid=2891"),
                       QStringLiteral("3 passed over: MRF は投資信託の保有に入りません"),
                       QStringLiteral("4 passed over: 取引「株式現物買」は投資信託の取引ではありません"),
                       QStringLiteral("5 refused: 投資信託の入庫は読めません。NISA から特定口座へ移したときは、その日の払出の行を加えてください"),
                       QStringLiteral("6 2024-07-05 旧NISA 解約 F units=500 redemption=26000 | paid=1300")};
    QTest::newRow("楽天 配当・分配金 without 受取通貨: stocks outside 特定, a 合計 row")
        << QStringLiteral("銘柄一覧\n\n入金日,商品,口座,銘柄コード,銘柄,単価[円/現地通貨],数量[株/口],"
                          "配当・分配金合計（税引前）[円/現地通貨],税額合計[円/現地通貨],受取金額[円/現地通貨]\n"
                          "\"2024/05/21\",\"投資信託\",\"特定/一般\",\"\",\"F\",\"100.00\",\"1,000\",\"10\",\"2\",\"8\"\n"
                          "\"2024/03/28\",\"国内株式\",\"NISA成長投資枠\",\"9999\",\"テスト商事\",\"30\",\"100\",\"3,000\",\"0\",\"3,000\"\n"
                          "\"合計\",\"\",\"\",\"\",\"\",\"\",\"\",\"3,010\",\"2\",\"3,008\"\n")
        << false
        << QStringList{QStringLiteral("楽天証券 配当・分配金"),
                       QStringLiteral("4 2024-05-21 特定/一般 分配 F units=1000 distribution=100 | gross=10 tax=2 net=8"),
                       QStringLiteral("5 passed over: 商品「国内株式」の配当は特定口座のものだけ読みます"),
                       QStringLiteral("6 passed over: 合計の行")};
    QTest::newRow("SBI 配当金: a stock in 特定 has no amount before tax")
        << QStringLiteral("\"受渡日\",\"口座\",\"商品\",\"銘柄名\",\"数量\",\"受取額(税引後・円)\",\n"
                          "\"2024/6/20\",\"特定/一般\",\"国内株式\",\"テスト商事\",\"100\",\"2,391\",\n")
        << true
        << QStringList{QStringLiteral("SBI証券 配当金・分配金"),
                       QStringLiteral("2 refused: 商品「国内株式」の配当は税引前の金額がないため読めません。"
                                      "税引前の金額で配当の行を加えてください")};
    QTest::newRow("the ledger's own format on line 1")
        << QStringLiteral("date,fund,event,units,nav\n2024-01-05,Ｆ（毎月）,buy,100,10000\n") << false
        << QStringList{QStringLiteral("ledger"), QStringLiteral("2 2024-01-05 特定 買付 F(毎月) units=100 nav=10000 |")};
    QTest::newRow("the ledger's header after a preamble")
        << QStringLiteral("my history\ndate,fund,event,units,nav\n") << false
        << QStringList{QStringLiteral(
               "refused: made: 読める形式ではありません。読めるのは 楽天証券 取引履歴（投資信託）、楽天証券 配当・分配金、"
               "SBI証券 約定履歴、SBI証券 約定履歴（2026年5月から）、SBI証券 配当金・分配金、マネックス証券 取引履歴、"
               "記帳ファイル（1 行目に見出し）です（1 行目を記帳ファイルの見出しとして読むと: 見出しに列 date（受渡日）、"
               "fund（銘柄）、event（取引） がありません）")};
    QTest::newRow("a broken preamble")
        << QStringLiteral("title\n\"open,quote\n") << false
        << QStringList{QStringLiteral("refused: made: 2 行目: 引用符が閉じられていません")};
}

void BrokerFilesTest::made()
{
    QFETCH(QString, text);
    QFETCH(bool, cp932);
    QFETCH(QStringList, expected);
    QByteArray bytes;
    if (cp932) {
        std::string encoded;
        Cp932Codec codec;
        QVERIFY(codec.encode(text, encoded));
        bytes = QByteArray::fromStdString(encoded);
    } else {
        bytes = text.toUtf8();
    }
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    QCOMPARE(readAll(input, QStringLiteral("made")), expected);
}

// Figures as brokers print them; "points" after a figure paid partly by points.
void BrokerFilesTest::figures_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("expected");

    QTest::newRow("separators") << "1,013,171" << "1013171";
    QTest::newRow("padded") << " 12 " << "12";
    QTest::newRow("blank") << "" << "none";
    QTest::newRow("dash") << "-" << "none";
    QTest::newRow("two dashes") << "--" << "none";
    QTest::newRow("negative") << "-1,490" << "-1490";
    QTest::newRow("plus") << "+1490" << "1490";
    QTest::newRow("zeros after the point") << "50.00" << "50";
    QTest::newRow("a fraction") << "12.50" << "fraction";
    QTest::newRow("full-width") << "１２，３４５" << "12345";
    QTest::newRow("points") << "5,000(493)" << "5000 points 493";
    QTest::newRow("points, full-width brackets") << "5,000（493）" << "5000 points 493";
    QTest::newRow("a separator misplaced") << "0,300" << "not a number";
    QTest::newRow("a group of two") << "1,00" << "not a number";
    QTest::newRow("a separator at the end") << "1," << "not a number";
    QTest::newRow("a sign alone") << "+" << "not a number";
    QTest::newRow("a currency sign") << "¥300" << "not a number";
    QTest::newRow("an open bracket") << "5,000(493" << "not a number";
    QTest::newRow("the largest") << "9007199254740991" << "9007199254740991";
    QTest::newRow("beyond") << "9,007,199,254,740,992" << "too large";
}

void BrokerFilesTest::figures()
{
    QFETCH(QString, cell);
    QFETCH(QString, expected);
    const QByteArray bytes = cell.toUtf8();
    const auto paid = paidAmountCell(bytes, [&] { return cell; });
    QString text;
    if (!paid) {
        const FigureProblem why = paid.why();
        text = why == FigureProblem::Fraction ? QStringLiteral("fraction")
               : why == FigureProblem::TooLarge ? QStringLiteral("too large")
                                                 : QStringLiteral("not a number");
    } else {
        text = paid->amount ? QString::number(*paid->amount) : QStringLiteral("none");
        if (paid->points)
            text += QStringLiteral(" points ") + QString::number(*paid->points);
    }
    QCOMPARE(text, expected);
}

// Names that are one fund at one broker, and names that are not.
void BrokerFilesTest::fundNames_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("brackets") << "テスト（毎月分配型）" << "テスト(毎月分配型)" << true;
    QTest::newRow("a space before a bracket") << "テスト (毎月分配型)" << "テスト(毎月分配型)" << true;
    QTest::newRow("half-width katakana") << "ﾃｽﾄ･ﾘｰﾄ" << "テスト・リート" << true;
    QTest::newRow("ideographic space") << "テスト　全世界" << "テスト 全世界" << true;
    QTest::newRow("full-width letters") << "ｅＭＡＸＩＳ　Ｓｌｉｍ" << "eMAXIS Slim" << true;
    QTest::newRow("spaces count for nothing") << "eMAXIS Slim" << "eMAXISSlim" << true;
    QTest::newRow("another course") << "テスト(毎月分配型)" << "テスト(年1回決算型)" << false;
}

void BrokerFilesTest::fundNames()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(fundNameKey(a) == fundNameKey(b), same);
}

// 楽天's trades and distributions and SBI's trades as one history.
void BrokerFilesTest::merged()
{
    std::vector<std::vector<BrokerRow>> files = sampleRows(
        {"rakuten_tradehistory(INVST)_20240701.csv", "rakuten_dividendlist_20240701.csv",
         "sbi_SaveFile_000001_000006_yakujo_old.csv"});
    QCOMPARE(files.size(), std::size_t{3});
    files.back().back().kind = BrokerRow::Kind::Refused; // the last sale, as if refused
    files.back().back().event.date = QDate();
    files.back().front().kind = BrokerRow::Kind::PassedOver;
    QStringList order;
    for (const BrokerRow& row : mergedHistory(std::move(files))) {
        order.append(QStringLiteral("%1:%2 %3 %4")
                         .arg(row.source.file)
                         .arg(row.source.line)
                         .arg(row.event.date.toString(Qt::ISODate), eventName(row.event.kind)));
    }
    QCOMPARE(order, (QStringList{
                        "rak:2 2023-12-14 買付", "rak:3 2024-01-15 買付", "rak:4 2024-02-16 買付",
                        "rak:5 2024-03-14 買付", "rak:6 2024-03-15 買付", "rak:7 2024-03-15 買付",
                        "rak:6 2024-03-28 配当", "rak:4 2024-04-19 分配", "rak:5 2024-04-19 分配",
                        "rak:8 2024-04-19 再投資", "rak:2 2024-05-21 分配", "rak:3 2024-05-21 分配",
                        "rak:9 2024-06-13 解約", "rak:10 2024-07-04 買付", "sbi:11 2024-07-16 買付",
                        "sbi:12 2024-08-06 買付", "sbi:13 2024-09-05 買付", "sbi:14 2024-09-17 再投資",
                        "sbi:15  解約"}));
}

// A distribution and its 再投資 as one event; rows that are not a pair stay apart.
void BrokerFilesTest::paired_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("change"); // made to the first distribution before pairing
    QTest::addColumn<QStringList>("expected");

    const QStringList rakuten{"rakuten_tradehistory(INVST)_20240701.csv", "rakuten_dividendlist_20240701.csv"};
    const QStringList monex{"monex_20240701-20241220.csv"};
    const QString monexPaired = QStringLiteral(
        "5 2024-09-20 特定 再投資 テスト高配当バランス units=3000 nav=12750 distribution=120 | gross=4800 tax=975 paid=3825");
    const QString monexAlone = QStringLiteral(
        "5 2024-09-20 特定 再投資 テスト高配当バランス units=3000 nav=12750 | gross=0 tax=0 paid=3825");
    QTest::newRow("楽天: 受取型 and 旧NISA stay distributions")
        << rakuten << QString()
        << QStringList{
               "5 2024-04-19 旧NISA 分配 テスト高配当バランス(毎月分配型) units=3333 distribution=50 | gross=17 tax=0 net=17",
               "8 2024-04-19 特定 再投資 テスト高配当バランス(毎月分配型) units=4018 nav=10050 distribution=50 | "
               "gross=5066 tax=1028 net=4038 paid=4038 再投資型",
               "2 2024-05-21 特定 分配 テスト・リート・インカム(毎月分配型) units=1000000 distribution=100 | "
               "gross=10000 tax=1015 net=8985",
               "3 2024-05-21 NISA 分配 テスト・リート・インカム(毎月分配型) units=25000 distribution=100 | gross=250 "
               "tax=0 net=250"};
    QTest::newRow("マネックス: after tax from gross and tax") << monex << QString() << QStringList{monexPaired};
    QTest::newRow("10 days apart") << monex << "-10 days" << QStringList{monexPaired};
    QTest::newRow("11 days apart") << monex << "-11 days"
                                   << QStringList{"4 2024-09-09 特定 分配 テスト高配当バランス units=400000 "
                                                  "distribution=120 | gross=4800 tax=975 paid=0",
                                                  monexAlone};
    QTest::newRow("a yen apart") << monex << "tax 974"
                                 << QStringList{"4 2024-09-20 特定 分配 テスト高配当バランス units=400000 "
                                                "distribution=120 | gross=4800 tax=974 paid=0",
                                                monexAlone};
    QTest::newRow("another account") << monex << "NISA"
                                     << QStringList{"4 2024-09-20 NISA 分配 テスト高配当バランス units=400000 "
                                                    "distribution=120 | gross=4800 tax=975 paid=0",
                                                    monexAlone};
    QTest::newRow("特定/一般 meets 特定") << monex << "特定/一般" << QStringList{monexPaired};
}

void BrokerFilesTest::paired()
{
    QFETCH(QStringList, files);
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    std::vector<std::vector<BrokerRow>> rows = sampleRows(files);
    QCOMPARE(rows.size(), std::size_t(files.size()));
    for (std::vector<BrokerRow>& file : rows) {
        for (BrokerRow& row : file) {
            if (row.event.kind != ledger::EventKind::Distribution || change.isEmpty())
                continue;
            if (change.endsWith(u"days"))
                row.event.date = row.event.date.addDays(change.section(u' ', 0, 0).toInt());
            else if (change.startsWith(u"tax"))
                row.stated.tax = change.section(u' ', 1).toLongLong();
            else if (change == u"NISA")
                row.event.account = ledger::Account::Nisa;
            else
                row.event.specifiedOrGeneral = true;
            change.clear();
        }
    }
    QStringList shown;
    for (const BrokerRow& row : pairedReinvestments(mergedHistory(std::move(rows)))) {
        if (row.event.kind == ledger::EventKind::Distribution || row.event.kind == ledger::EventKind::Reinvestment)
            shown.append(rowText(row).replace(QStringLiteral("特定/一般"), QStringLiteral("特定")));
    }
    QCOMPARE(shown, expected);
}

// The renamed funds and the price histories: what each query finds, or why the table
// is refused.
void BrokerFilesTest::references_data()
{
    QTest::addColumn<bool>("nav"); // a price history, else a table of renamed funds
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("queries"); // a name, or "name@date" in a price history
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("renamed twice") << false << QStringLiteral("Ａ（旧）,B\nB,C\n") << QStringList{"A(旧)", "B", "X"}
                                   << QStringList{"C", "C", "X"};
    QTest::newRow("renamed back") << false << QStringLiteral("A,B\nB,A\n") << QStringList{}
                                  << QStringList{"refused: 「A」の名前の変更が元に戻っています"};
    QTest::newRow("two new names") << false << QStringLiteral("A,B\nA,C\n") << QStringList{}
                                   << QStringList{"refused: 2 行目: 「A」の新しい名前が二つあります"};
    QTest::newRow("one column") << false << QStringLiteral("A\n") << QStringList{}
                                << QStringList{"refused: 1 行目: 旧い銘柄名と新しい銘柄名の 2 列にしてください"};
    const QString history = QStringLiteral("基準日,銘柄,基準価額,分配金\n"
                                           "2024/05/15,F（毎月）,\"10,050\",50\n"
                                           "2024年4月15日,F（毎月）,10100,60\n"
                                           "2024-05-16,F（毎月）,10080,0\n"
                                           "2024/05/15,G,9000,\n");
    QTest::newRow("price history")
        << true << history
        << QStringList{"F(毎月)@2024-05-15", "F(毎月)@2024-05-14", "F(毎月)@2024-06-30", "F(毎月)@2024-04-14",
                       "G@2024-05-15", "H@2024-05-15"}
        << QStringList{"2024-05-15 10050 50", "2024-04-15 10100 60", "2024-05-15 10050 50", "none", "none", "none"};
    QTest::newRow("price history without distributions")
        << true << QStringLiteral("基準日,銘柄,基準価額\n2024/05/15,G,9000\n") << QStringList{"G@2024-05-15"}
        << QStringList{"none"};
    QTest::newRow("another header") << true << QStringLiteral("日付,銘柄,基準価額\n") << QStringList{}
                                    << QStringList{"refused: 1 行目の見出しは 基準日,銘柄,基準価額 か "
                                                   "基準日,銘柄,基準価額,分配金 です"};
    QTest::newRow("a NAV of 0") << true << QStringLiteral("基準日,銘柄,基準価額\n2024/05/15,G,0\n") << QStringList{}
                                << QStringList{"refused: 2 行目: 基準価額「0」は正の整数ではありません"};
    QTest::newRow("a day that does not exist")
        << true << QStringLiteral("基準日,銘柄,基準価額\n2024/02/30,G,9000\n") << QStringList{}
        << QStringList{"refused: 2 行目: 基準日「2024/02/30」は日付ではありません"};
}

void BrokerFilesTest::references()
{
    QFETCH(bool, nav);
    QFETCH(QString, text);
    QFETCH(QStringList, queries);
    QFETCH(QStringList, expected);
    QByteArray bytes = text.toUtf8();
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    FundRenames renames;
    NavHistory history;
    const std::optional<QString> refused = nav ? history.read(input) : renames.read(input);
    QStringList found;
    if (refused)
        found.append(QStringLiteral("refused: ") + *refused);
    for (const QString& query : queries) {
        if (!nav) {
            found.append(renames.current(fundNameKey(query)));
            continue;
        }
        const std::optional<NavDay> day = history.lastDistribution(
            fundNameKey(query.section(u'@', 0, 0)), QDate::fromString(query.section(u'@', 1), Qt::ISODate));
        found.append(day ? QStringLiteral("%1 %2 %3")
                               .arg(day->date.toString(Qt::ISODate))
                               .arg(day->nav)
                               .arg(*day->distribution)
                         : QStringLiteral("none"));
    }
    QCOMPARE(found, expected);
}

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(BrokerFilesTest)
#include "tst_broker_files.moc"
