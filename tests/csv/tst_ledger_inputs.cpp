#include "csv/csv_reader.h"
#include "csv/csv_writer.h"
#include "csv/history_rows.h"
#include "csv/ledger_inputs.h"
#include "csv/ledger_stream.h"
#include "csv/stated_figures.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace broker;

// Downloads read together: merged, written in the ledger's own format and replayed as it,
// with the brokers' own figures from their statements checked on the committed samples.
class LedgerInputsTest : public QObject {
    Q_OBJECT

private slots:
    void replayed_data();
    void replayed();
    void written_data();
    void written();
};

namespace {

QString sample(const QString& name) { return QStringLiteral(MIROVEN_BROKER_SAMPLES "/") + name; }

const QString kRakutenTrades = QStringLiteral("rakuten_tradehistory(INVST)_20240701.csv");
const QString kRakutenDistributions = QStringLiteral("rakuten_dividendlist_20240701.csv");
const QString kSbiTrades = QStringLiteral("sbi_SaveFile_000001_000006_yakujo_old.csv");
const QString kMonex = QStringLiteral("monex_20240701-20241220.csv");

// The files merged and replayed, with the sample price history unless `withNav` is false:
// the ledger's output as bytes, or why nothing was read.
QByteArray replay(const QStringList& files, LedgerInputs* inputs = nullptr, bool withNav = true)
{
    NavHistory navs;
    QFile history(sample(QStringLiteral("nav_20240701.csv")));
    if (!history.open(QIODevice::ReadOnly) || navs.read(history))
        return "no price history";
    const Outcome<LedgerInputs, QString> read = readLedgerInputs(files, FundRenames(), withNav ? &navs : nullptr);
    if (!read)
        return read.why().toUtf8();
    if (inputs)
        *inputs = *read;
    // Replayed as the file written, and as the rows where they are, which must agree, in
    // either encoding.
    QByteArray replayed;
    for (const CsvEncoding encoding : {CsvEncoding::Cp932, CsvEncoding::Utf8}) {
        QBuffer merged;
        merged.open(QIODevice::WriteOnly);
        CsvWriter writer(merged, read->allCrLf, encoding);
        writeLedgerInputs(read->history, writer);
        if (!writer.flush())
            return "not written";
        merged.close();
        merged.open(QIODevice::ReadOnly);
        LedgerSettings settings;
        settings.book.asOf = QDate(2026, 12, 31);
        settings.encoding = encoding;
        settings.remark = statedRemarks(read->history);
        QBuffer output;
        output.open(QIODevice::WriteOnly);
        (void)runLedger(settings, merged, output);
        HistoryRows rows(read->history, encoding);
        QBuffer direct;
        direct.open(QIODevice::WriteOnly);
        (void)replayLedger(settings, rows, LedgerCsv{encoding, read->allCrLf, false}, direct);
        if (direct.data() != output.data())
            return "the history replayed where it is differs from the file written:\n" + direct.data();
        replayed = output.data();
    }
    return replayed;
}

// "caption=cell ..." of the output row whose source is `source`, for each caption asked.
QString figuresOf(const QByteArray& output, const QString& source, const QStringList& captions)
{
    QBuffer input;
    input.setData(output);
    input.open(QIODevice::ReadOnly);
    CsvReader reader(input);
    if (reader.next() != CsvReader::Result::Record)
        return QString::fromUtf8(output);
    QHash<QString, qsizetype> at;
    for (qsizetype i = 0; i < reader.fieldCount(); ++i)
        at.insert(reader.fieldText(i), i);
    while (reader.next() == CsvReader::Result::Record) {
        if (reader.fieldText(at.value(QStringLiteral("source"))) != source)
            continue;
        QStringList cells;
        for (const QString& caption : captions)
            cells.append(caption + u'=' + reader.fieldText(at.value(caption, -1)));
        return cells.join(u' ');
    }
    return QStringLiteral("no row from ") + source;
}

} // namespace

void LedgerInputsTest::replayed_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("withNav");

    const QStringList rakuten{kRakutenTrades, kRakutenDistributions};
    QTest::newRow("楽天's sale withholds as its 精算履歴")
        << rakuten << kRakutenTrades + QStringLiteral(":9") << "所得税及び復興特別所得税=222 住民税=72 受渡金額=494706 message=" << true;
    // Replayed rounding down where 楽天 rounds half up: the message says what differs.
    QTest::newRow("楽天's reinvested distribution is taxed 1,028")
        << rakuten << kRakutenTrades + QStringLiteral(":8")
        << "所得税及び復興特別所得税=775 住民税=253 再投資口数=4018 message=ファイルでは分配金（税引前） 5066 円、記帳では 5065 "
           "円。ファイルでは受取金額 4038 円、記帳では 4037 円"
        << true;
    QTest::newRow("楽天's distribution is taxed 1,015")
        << rakuten << kRakutenDistributions + QStringLiteral(":2") << "所得税及び復興特別所得税=765 住民税=250 元本払戻金=5000 message=" << true;
    QTest::newRow("the 旧NISA distribution without a holding is refused")
        << rakuten << kRakutenDistributions + QStringLiteral(":5") << "保有口数= message=保有口数が 0 のため分配金を受け取れません" << true;
    QTest::newRow("SBI's sale as its 特定口座損益明細")
        << QStringList{kSbiTrades} << kSbiTrades + QStringLiteral(":15")
        << "取得費=112510 譲渡損益=1490 所得税及び復興特別所得税=228 住民税=74 message=" << true;
    QTest::newRow("マネックス's sale withholds 808")
        << QStringList{kMonex} << kMonex + QStringLiteral(":6") << "所得税及び復興特別所得税=609 住民税=199 受渡金額=128192 message=" << true;
    // The same fund at both brokers: SBI's purchase starts a holding of its own, and its
    // sale's cost is SBI's alone.
    QTest::newRow("楽天's and SBI's holdings of one fund stay apart")
        << QStringList{kRakutenTrades, kSbiTrades} << kSbiTrades + QStringLiteral(":11") << "保有口数=444444 broker=SBI証券" << true;
    QTest::newRow("SBI's sale beside 楽天's rows")
        << QStringList{kRakutenTrades, kRakutenDistributions, kSbiTrades} << kSbiTrades + QStringLiteral(":15")
        << "取得費=112510 譲渡損益=1490" << true;
    // Without the price history the split is the one the tax allows.
    QTest::newRow("楽天's distribution split by its tax alone")
        << rakuten << kRakutenDistributions + QStringLiteral(":2") << "所得税及び復興特別所得税=765 住民税=250 元本払戻金=5000"
        << false;
    QTest::newRow("楽天's reinvested distribution split by its tax alone")
        << rakuten << kRakutenTrades + QStringLiteral(":8") << "所得税及び復興特別所得税=775 住民税=253 再投資口数=4018"
        << false;
}

void LedgerInputsTest::replayed()
{
    QFETCH(QStringList, files);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QFETCH(bool, withNav);
    QStringList paths;
    for (const QString& file : files)
        paths.append(sample(file));
    QStringList captions;
    static const QRegularExpression nextFigure(QStringLiteral(" (?=[^ =]+=)"));
    for (const QString& pair : expected.split(nextFigure))
        captions.append(pair.section(u'=', 0, 0));
    QCOMPARE(figuresOf(replay(paths, nullptr, withNav), source, captions), expected);
}

// What the merged input is made of: line ends, rows passed over, files refused.
void LedgerInputsTest::written_data()
{
    QTest::addColumn<QByteArray>("ownFile"); // written beside the samples; none when empty
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");

    const QByteArray own = "date,fund,event,units,nav\n2024-01-05,F,購入,100,10000\n";
    QTest::newRow("CR LF when every file has it") << QByteArray() << QStringList{kMonex} << "crlf passed over 0";
    QTest::newRow("LF when one file has it") << own << QStringList{kMonex} << "lf passed over 0";
    QTest::newRow("a stock's dividend outside 特定 passed over, with its line")
        << QStringLiteral("入金日,商品,口座,銘柄コード,銘柄,受取通貨,単価[円/現地通貨],数量[株/口],"
                          "配当・分配金合計（税引前）[円/現地通貨],税額合計[円/現地通貨],受取金額[円/現地通貨]\n"
                          "2024/03/28,国内株式,NISA成長投資枠,9999,S,円,30,100,3000,0,3000\n")
               .toUtf8()
        << QStringList{kMonex} << "lf passed over 1: 2";
    QTest::newRow("a fund never bought named like a held one")
        << QByteArray("date,fund,event,units,nav,distribution\n2024-01-05,テスト全世界株式インデックス(旧),購入,100,10000,\n"
                      "2024-02-05,テスト全世界株式インデックス,分配,,9990,10\n")
        << QStringList() << "refused row 3: テスト全世界株式インデックス の保有がありません。名前の始まりが同じ "
                            "テスト全世界株式インデックス(旧) なら --fund-names で名前をつなげてください";
    QTest::newRow("a file that matches nothing names the layouts")
        << QByteArray("a,b\n1,2\n") << QStringList() << "refused: 楽天証券 取引履歴（投資信託）";
}

void LedgerInputsTest::written()
{
    QFETCH(QByteArray, ownFile);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QStringList paths;
    for (const QString& file : files)
        paths.append(sample(file));
    if (!ownFile.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("own.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ownFile) == ownFile.size());
        paths.append(file.fileName());
    }
    const Outcome<LedgerInputs, QString> read = readLedgerInputs(paths, FundRenames());
    if (!read) {
        QVERIFY2(expected.startsWith(QStringLiteral("refused: ")), qPrintable(read.why()));
        QVERIFY2(read.why().contains(expected.mid(9)), qPrintable(read.why()));
        return;
    }
    for (const BrokerRow& row : read->history) {
        if (row.kind == BrokerRow::Kind::Refused) {
            QCOMPARE(QStringLiteral("refused row %1: %2").arg(row.source.line).arg(row.note), expected);
            return;
        }
    }
    QString found = (read->allCrLf ? QStringLiteral("crlf") : QStringLiteral("lf")) + QStringLiteral(" passed over ")
                    + QString::number(read->passedOver.size());
    for (qsizetype i = 0; i < qsizetype(read->passedOver.size()); ++i)
        found += (i == 0 ? QStringLiteral(": ") : QStringLiteral(", ")) + QString::number(read->passedOver[std::size_t(i)].source.line);
    QCOMPARE(found, expected);
}

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(LedgerInputsTest)
#include "tst_ledger_inputs.moc"
