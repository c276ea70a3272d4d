// The ledger's files without the command line: the stream as a whole, and the reader a
// window posts from, which must show for each row what the stream writes for it.
#include "csv/csv_encoding.h"
#include "csv/ledger_reader.h"
#include "csv/ledger_stream.h"
#include "csv/ledger_working.h"

#include <QBuffer>
#include <QtTest>

using namespace ledger;

namespace {

struct Run {
    BatchResult result;
    QByteArray out;
};

Run run(const QByteArray& input, LedgerOutput output, QIODevice::OpenMode outMode = QIODevice::WriteOnly,
        QDate asOf = {})
{
    QByteArray in = input;
    QBuffer inBuffer(&in);
    inBuffer.open(QIODevice::ReadOnly);
    Run r;
    QBuffer outBuffer(&r.out);
    outBuffer.open(outMode);
    LedgerSettings settings;
    settings.output = output;
    settings.book.asOf = asOf;
    r.result = runLedger(settings, inBuffer, outBuffer);
    return r;
}

// The working of every row and year-end settlement as a window forms it: the reader's
// events posted to a book.
QString postedOneByOne(const QByteArray& input, QDate asOf)
{
    QByteArray in = input;
    QBuffer buffer(&in);
    buffer.open(QIODevice::ReadOnly);
    LedgerReader reader(buffer);
    if (reader.readHeader())
        return QStringLiteral("unreadable");
    BookOptions options;
    options.asOf = asOf;
    Book book(options);
    QString text;
    const auto settled = [&](const std::vector<ClosedYear>& closed) {
        for (const ClosedYear& year : closed)
            text += settlementWorking(year.year, book.options().dividendNetting, year.provisional);
    };
    while (reader.next()) {
        Trace working;
        const Outcome<Event, QString>& event = reader.event();
        if (!event) {
            text += refusedRowWorking(reader.input(), {}, event.why());
            continue;
        }
        const Outcome<Posted, PostRefusal> posted = book.post(*event, &working);
        if (posted) {
            settled(posted->closed);
            text += postedRowWorking(reader.input(), working.steps(), *event, *posted);
        } else {
            text += refusedRowWorking(reader.input(), working.steps(), refusalText(posted.why()));
        }
    }
    settled(book.close());
    return text;
}

const QByteArray kHistory = "date,fund,account,event,units,amount,nav,distribution,memo\n"
                            "2024-03-01,A,,買付,1000000,,10000,,\"a\nb\"\n"
                            "2024-06-01,A,,分配,,,10500,200,\n"
                            "2024-09-02,A,,解約,,,9700,,\n"
                            "2024-09-03,A,,解約,,,9700,,nothing left\n"
                            "2024-10-01,,,配当,,30000,,,\n"
                            "2025-01-06,B,NISA,買付,100000,,10000,,\n"
                            "2025-01-07,B,外貨,買付,1,,10000,,\n"
                            "2025-02-01,B,NISA,払出,,,11000,,\n";

} // namespace

class LedgerStreamTest : public QObject {
    Q_OBJECT
private slots:
    // A history replayed without the command line, byte for byte what it writes.
    void rows()
    {
        const Run r = run(kHistory, LedgerOutput::Rows);
        QCOMPARE(r.result.kind, BatchResult::Kind::SomeRefused);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 12); // header, 8 rows (one over two lines), 年末精算, end
        QCOMPARE(lines.at(0), "date,fund,account,event,units,amount,nav,distribution,memo,保有口数,個別元本,取得単価,"
                              "約定金額,手数料,普通分配金,元本払戻金,再投資口数,解約代金,取得費,譲渡損益,"
                              "所得税及び復興特別所得税,住民税,受渡金額,年内譲渡損益,message");
        QCOMPARE(lines.at(4), "2024-09-02,A,,解約,,,9700,,,0,,,,,,,,970000,1000000,-30000,0,0,970000,-30000,");
        QCOMPARE(lines.at(5), "2024-09-03,A,,解約,,,9700,,nothing left,,,,,,,,,,,,,,,,"
                              "保有口数が 0 のため解約できません");
        QCOMPARE(lines.at(7), "2024-12-31,,特定,年末精算,,,,,,,,,,,,,,,,,-4594,-1500,6094,,");
        QCOMPARE(lines.at(10), "2025-02-01,B,NISA,払出,,,11000,,,100000,10000,11000,,,,,,,,,,,,,");
    }

    // The window's 計算過程 for each row is the command line's --explain for it.
    void workingPerRow_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QDate>("asOf");
        QTest::newRow("a history with refusals, a settlement and a 払出") << kHistory << QDate();
        QTest::newRow("two years closed at the end, a row of no event")
            << QByteArray("受渡日,銘柄,取引,金額\n2037-05-01,,配当,100000\n2037-06-01,,譲渡損益,-50000\n"
                          "2037-06-02,,交換,1\n")
            << QDate(2038, 12, 31);
        QTest::newRow("a year not over") << kHistory << QDate(2024, 12, 1);
    }
    void workingPerRow()
    {
        QFETCH(QByteArray, input);
        QFETCH(QDate, asOf);
        const Run r = run(input, LedgerOutput::Working, QIODevice::WriteOnly, asOf);
        QVERIFY(r.out.contains("年の年末精算"));
        QCOMPARE(postedOneByOne(input, asOf), QString::fromUtf8(r.out));
    }

    // How a run ends: its kind, and the message the command line prints.
    void ends_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<BatchResult::Kind>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("every row posted") << QByteArray("date,fund,event,units,nav\n2024-01-10,A,buy,1,10000\n")
                                          << true << BatchResult::Kind::AllCalculated << QString();
        QTest::newRow("empty") << QByteArray() << true << BatchResult::Kind::Unreadable
                               << QString("入力が空です（見出しの行が必要です）");
        QTest::newRow("required columns missing") << QByteArray("date,units\n") << true << BatchResult::Kind::Unreadable
                                                  << QString("見出しに列 fund（銘柄）、event（取引） がありません");
        QTest::newRow("a column named twice") << QByteArray("date,fund,event,nav,基準価額\n") << true
                                              << BatchResult::Kind::Unreadable
                                              << QString("見出しの 4 列目「nav」と 5 列目「基準価額」はどちらも列 nav（基準価額）です");
        QTest::newRow("a row of another width, after the rows before it")
            << QByteArray("date,fund,event,units,nav\n2024-01-10,A,buy,1,10000\n2024-01-11,A,buy,1,10,000\n") << true
            << BatchResult::Kind::Unreadable
            << QString("入力の 3 行目: 列が 6 個あります（見出しは 5 個。「,」を含む値は \"\" で囲みます）");
        QTest::newRow("output refused") << QByteArray("date,fund,event\n2024-01-10,A,buy\n") << false
                                        << BatchResult::Kind::WriteFailed << QString();
    }
    void ends()
    {
        QFETCH(QByteArray, input);
        QFETCH(bool, writable);
        QFETCH(BatchResult::Kind, kind);
        QFETCH(QString, problem);
        const Run r = run(input, LedgerOutput::Rows, writable ? QIODevice::WriteOnly : QIODevice::ReadOnly);
        QCOMPARE(r.result.kind, kind);
        if (kind != BatchResult::Kind::WriteFailed)
            QCOMPARE(r.result.problem, problem);
    }

    // The papers' words for accounts and events, in UTF-8 and in CP932.
    void words_data()
    {
        QTest::addColumn<QByteArray>("account");
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<bool>("cp932");
        QTest::addColumn<int>("kind");    // Account, or -1 when refused
        QTest::addColumn<bool>("either"); // 特定/一般
        QTest::addColumn<int>("eventKind");
        const int specified = int(Account::Specified);
        const int nisa = int(Account::Nisa);
        const int general = int(Account::General);
        const int oldNisa = int(Account::OldNisa);
        const int buy = int(EventKind::Purchase);
        const int sell = int(EventKind::Redemption);
        struct Case {
            const char* name;
            const char* account;
            const char* event;
            int kind;
            bool either;
            int eventKind;
        };
        const Case cases[] = {
            {"blank, buy", "", "buy", specified, false, buy},
            {"a plain NISA stays NISA", "NISA", "買付", nisa, false, buy},
            {"特定口座, 購入", "特定口座", "購入", specified, false, buy},
            {"一般口座, 積立買付", "一般口座", "積立買付", general, false, buy},
            {"一般, 売却", "一般", "売却", general, false, sell},
            {"旧NISA, 解約請求", "旧NISA", "解約請求", oldNisa, false, sell},
            {"つみたてNISA, 買取", "つみたてNISA", "買取", oldNisa, false, sell},
            {"旧つみたてNISA, 分配金再投資", "旧つみたてNISA", "分配金再投資", oldNisa, false,
             int(EventKind::Reinvestment)},
            {"NISA成長投資枠, 再投資買付", "NISA成長投資枠", "再投資買付", nisa, false, int(EventKind::Reinvestment)},
            {"NISAつみたて投資枠, 分配金", "NISAつみたて投資枠", "分配金", nisa, false, int(EventKind::Distribution)},
            {"full-width brackets", "NISA（成長投資枠）", "buy", nisa, false, buy},
            {"one letter in brackets", "NISA(成)", "buy", nisa, false, buy},
            {"full-width letters and bracket", "ＮＩＳＡ（つ）", "buy", nisa, false, buy},
            {"a space before the bracket", "NISA (成長)", "buy", nisa, false, buy},
            {"an ideographic space", "NISA　(つみたて)", "buy", nisa, false, buy},
            {"特定/一般", "特定/一般", "buy", specified, true, buy},
            {"a full-width slash", "特定／一般", "buy", specified, true, buy},
            {"CP932: 特定口座, 積立買付", "特定口座", "積立買付", specified, false, buy},
            {"CP932: NISA（成長投資枠）, 売却", "NISA（成長投資枠）", "売却", nisa, false, sell},
            {"another word for an account", "外貨建", "buy", -1, false, buy},
            {"成長投資枠 without NISA", "成長投資枠", "buy", -1, false, buy},
            {"NISA with a bracket left open", "NISA(成長", "buy", -1, false, buy},
            {"an event the ledger does not know", "", "交換", specified, false, -1},
        };
        for (const Case& c : cases)
            QTest::newRow(c.name) << QByteArray(c.account) << QByteArray(c.event)
                                  << QByteArray(c.name).startsWith("CP932") << c.kind << c.either << c.eventKind;
    }
    void words()
    {
        QFETCH(QByteArray, account);
        QFETCH(QByteArray, event);
        QFETCH(bool, cp932);
        QFETCH(int, kind);
        QFETCH(bool, either);
        QFETCH(int, eventKind);
        QByteArray input = "date,fund,account,event,broker\n2024-01-10,A," + account + ',' + event + ",X証券\n";
        if (cp932) {
            Cp932Codec codec;
            std::string encoded;
            QVERIFY(codec.encode(QString::fromUtf8(input), encoded));
            input = QByteArray::fromStdString(encoded);
        }
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        LedgerReader reader(buffer, cp932 ? std::optional(CsvEncoding::Cp932) : std::nullopt);
        QVERIFY(!reader.readHeader());
        QVERIFY(reader.next());
        const Outcome<Event, QString>& read = reader.event();
        if (kind < 0 || eventKind < 0) {
            QVERIFY(!read);
            QVERIFY2(read.why().startsWith(kind < 0 ? "口座が違います: " : "取引が違います: "), qPrintable(read.why()));
            return;
        }
        QVERIFY2(read, read ? "" : qPrintable(read.why()));
        QCOMPARE(int(read->account), kind);
        QCOMPARE(read->specifiedOrGeneral, either);
        QCOMPARE(int(read->kind), eventKind);
        QCOMPARE(read->broker, QString("X証券"));
    }

    // A file the ledger wrote, read again, gives the same file: its figures and its
    // 年末精算 rows are worked out again, and the columns before them are its input.
    void readBack_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QDate>("asOf");
        QTest::newRow("refusals, a settlement, a 払出, a line break in a cell") << kHistory << QDate(2025, 12, 31);
        QTest::newRow("a year not over") << kHistory << QDate(2025, 3, 1);
        // 手数料 and 受渡金額 of the input stand before the figures with the same captions.
        QTest::newRow("input columns of the figures' captions")
            << QByteArray("受渡日,銘柄,取引,口数,基準価額,手数料,受渡金額,個別元本\n"
                          "2024-01-10,A,買付,10000,10000,100,,\n2024-01-11,A,残高,5000,,,,9000\n"
                          "2024-01-12,A,買付,10000,10000,,10100,\n")
            << QDate(2024, 12, 31);
    }
    void readBack()
    {
        QFETCH(QByteArray, input);
        QFETCH(QDate, asOf);
        const Run once = run(input, LedgerOutput::Rows, QIODevice::WriteOnly, asOf);
        const Run twice = run(once.out, LedgerOutput::Rows, QIODevice::WriteOnly, asOf);
        QCOMPARE(twice.result.kind, once.result.kind);
        QCOMPARE(twice.out, once.out);
        // Its report is the same as well.
        QCOMPARE(run(once.out, LedgerOutput::Report, QIODevice::WriteOnly, asOf).out,
                 run(input, LedgerOutput::Report, QIODevice::WriteOnly, asOf).out);
    }

    // The reader a window lists rows from: lines, cells as text, and every fund's name
    // right even after the names kept from row to row have been let go.
    void reader()
    {
        QByteArray input = "銘柄,date,event, units \n";
        const int rows = int(FundNames::kMaxEntries) + 10;
        for (int i = 0; i < rows; ++i)
            input += QStringLiteral("ファンド%1 ,2024-01-10,buy,1\n").arg(i % (rows - 5)).toUtf8();
        input += "\"B\n\",2024-01-10,buy,x\n";
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        LedgerReader reader(buffer);
        QVERIFY(!reader.readHeader());
        QCOMPARE(reader.header(), QStringList({"銘柄", "date", "event", " units "}));
        for (int i = 0; i < rows; ++i) {
            QVERIFY(reader.next());
            QCOMPARE(reader.line(), i + 2);
            QCOMPARE(reader.event()->fund, QStringLiteral("ファンド%1").arg(i % (rows - 5)));
        }
        QVERIFY(reader.next());
        QCOMPARE(reader.line(), rows + 2);
        QCOMPARE(reader.cells(), QStringList({"B\n", "2024-01-10", "buy", "x"}));
        QCOMPARE(reader.event().why(), QString("口数には数値を入力してください"));
        QVERIFY(!reader.next());
        QVERIFY(!reader.stopped());
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(LedgerStreamTest)
#include "tst_ledger_stream.moc"
