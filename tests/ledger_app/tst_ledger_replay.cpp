// The ledger window's replay and its models, without the window: the figures shown are
// the command line's, row for row and column for column.
#include "ledger_files.h"
#include "test_main.h"

#include "cli/cli_examples.h"
#include "ledger_app/figure_text.h"
#include "ledger_app/holdings_model.h"
#include "ledger_app/ledger_preferences.h"
#include "ledger_app/replay.h"
#include "ledger_app/rows_filter.h"
#include "ledger_app/rows_model.h"
#include "ledger_app/save_ledger.h"

#include "csv/cell_text.h"
#include "csv/csv_encoding.h"

#include <QAbstractItemModelTester>
#include <QSettings>
#include <QtTest>

namespace {

// The files opened as the window opens them, with the options the investor chose.
InputRequest requestOf(const QStringList& files, const QStringList& given = {})
{
    InputRequest request;
    request.given = given;
    if (const QString why = sortOpened(files, request); !why.isEmpty())
        qWarning("files refused: %s", qPrintable(why));
    return request;
}

std::shared_ptr<const Replay> replayPaths(const QStringList& files, const ledger::BookOptions& options = {},
                                          const QStringList& given = {})
{
    const ReplayOutcome outcome = replayFiles(requestOf(files, given), options);
    if (outcome.replay)
        return outcome.replay;
    qWarning("replay refused: %s", qPrintable(outcome.problem));
    return std::make_shared<const Replay>(); // nothing shown: the checks on it fail

}

// The replay of `contents`, each written to a file of its own.
std::shared_ptr<const Replay> replayOf(const QTemporaryDir& dir, const QList<QByteArray>& contents,
                                       const ledger::BookOptions& options = {})
{
    QStringList files;
    for (qsizetype i = 0; i < contents.size(); ++i)
        files << writeFile(dir, QStringLiteral("in%1.csv").arg(i), contents[i]);
    return replayPaths(files, options);
}

int columnNamed(const RowsModel& model, const QString& caption)
{
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == caption)
            return column;
    }
    return -1;
}

// The blocks of a working, each ending with its blank line, by their first line.
QMap<QString, QString> workingBlocks(const QByteArray& working)
{
    QMap<QString, QString> blocks;
    const QStringList parts = QString::fromUtf8(working).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        blocks.insert(part.section(u'\n', 0, 0), part + QStringLiteral("\n\n"));
    return blocks;
}

const QByteArray kRefusedCsv = "date,fund,event,units,nav,distribution,fee\n"
                               "2024-01-10,A,買付,10000,10000,,100\n"
                               "2024-01-11,A,買付,abc,10000,,\n"
                               ",A,買付,10,10000,,\n"
                               "2024-01-12,A,解約,20000,12000,,\n"
                               "2024-01-13,A,送金,1,1,,\n"
                               "2024-01-14,A,解約,5000,12000,,\n";
// A file's own rows going back in time: the book refuses the earlier row, as the
// command line does, rather than the window putting it in order.
const QByteArray kBackwardsCsv = "date,fund,event,units,nav\n"
                                 "2024-01-10,A,買付,100,10000\n"
                                 "2024-01-05,A,買付,100,10000\n"
                                 "2024-01-12,A,解約,50,11000\n";
const QByteArray kBalanceCsv = "date,fund,account,event,units,nav,principal,cost,distribution\n"
                               "2024-01-04,C,,残高,30000,,9876.54,10012.3,\n"
                               "2024-02-01,C,,買付,3333,10100,,,\n"
                               "2024-03-01,C,,分配,,9500,,,150\n"
                               "2024-04-01,D,NISA,買付,10000,10000,,,\n"
                               "2024-05-01,D,NISA,払出,,11000,,,\n"
                               "2025-02-01,C,,解約,10000,9000,,,\n";

QString sample(const QString& name) { return QStringLiteral(MIROVEN_BROKER_SAMPLES "/") + name; }
const QString kTrades = QStringLiteral("rakuten_tradehistory(INVST)_20240701.csv");
const QString kDistributions = QStringLiteral("rakuten_dividendlist_20240701.csv");
const QString kSbiTrades = QStringLiteral("sbi_SaveFile_000001_000006_yakujo_old.csv");
const QString kSbiNewTrades = QStringLiteral("sbi_SaveFile_000001_000002_yakujo_new2026.csv");
const QString kSbiDistributions = QStringLiteral("sbi_DISTRIBUTION_20241101093000.csv");
const QString kMonex = QStringLiteral("monex_20240701-20241220.csv");
const QString kNav = QStringLiteral("nav_20240701.csv");

QStringList samples(const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names)
        paths << sample(name);
    return paths;
}

// The table's row that came from `source` ("file:line"); -1 when none did.
int rowFrom(const RowsModel& model, const QString& source)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.text(row, RowsModel::kSource) == source)
            return row;
    }
    return -1;
}

// The command line's arguments for the files the window opened: the price history among
// them goes to --nav, as the window tells it by its header.
QStringList commandLine(const QStringList& opened)
{
    const InputRequest request = requestOf(opened);
    QStringList arguments;
    if (!request.nav.isEmpty())
        arguments << QStringLiteral("--nav") << request.nav;
    return arguments + request.files;
}

} // namespace

class LedgerReplayTest : public QObject {
    Q_OBJECT

private slots:
    void publishedFigures_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        // The README's figures, as the table shows them.
        QTest::newRow("fee in the cost") << kEventsCsv << 0 << "取得単価" << "10,100";
        QTest::newRow("fee not in the principal") << kEventsCsv << 0 << "個別元本" << "10,000";
        QTest::newRow("purchase pays") << kEventsCsv << 0 << "受渡金額" << "-10,100";
        QTest::newRow("return of principal") << kEventsCsv << 1 << "元本払戻金" << "200";
        QTest::newRow("principal after it") << kEventsCsv << 1 << "個別元本" << "9,800";
        QTest::newRow("gain") << kEventsCsv << 2 << "譲渡損益" << "2,100";
        QTest::newRow("cash of the gain") << kEventsCsv << 2 << "受渡金額" << "11,574";
        QTest::newRow("refund on the loss") << kEventsCsv << 4 << "所得税及び復興特別所得税" << "-306";
        QTest::newRow("year's net gain") << kEventsCsv << 4 << "年内譲渡損益" << "100";
        QTest::newRow("sold out: no principal") << kEventsCsv << 2 << "個別元本" << "";
        QTest::newRow("input units shown") << kEventsCsv << 0 << "口数" << "10,000";
        QTest::newRow("settlement's own row") << kYearCsv << 4 << "取引" << "年末精算";
        QTest::newRow("settlement on 31 December") << kYearCsv << 4 << "受渡日" << "2024-12-31";
        QTest::newRow("settlement's cash") << kYearCsv << 4 << "受渡金額" << "6,094";
        QTest::newRow("NISA after the settlement") << kYearCsv << 5 << "口座" << "NISA";
        QTest::newRow("price to the cent") << kBalanceCsv << 0 << "個別元本" << "9,876.54";
    }
    void publishedFigures()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, row);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        RowsModel model;
        model.setReplay(replayOf(dir, {file}));
        const int column = columnNamed(model, caption);
        QVERIFY2(column >= 0, qPrintable(caption));
        QCOMPARE(model.data(model.index(row, column)).toString(), shown);
        // Figures stand right-aligned, names left.
        const auto alignment = model.data(model.index(row, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        const bool figure = column >= RowsModel::kFirstFigure && column < RowsModel::kMessage;
        QCOMPARE(bool(alignment & Qt::AlignRight), figure);
    }

    // Every row and every figure of the table is what the command line writes, under
    // each option.
    void tableEqualsStream_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("options");
        for (const auto& [name, file] : {std::pair{"events", kEventsCsv}, std::pair{"year", kYearCsv},
                                         std::pair{"refused", kRefusedCsv}, std::pair{"balance", kBalanceCsv},
                                         std::pair{"a row back in time", kBackwardsCsv}}) {
            QTest::addRow("%s", name) << file << 0;
            QTest::addRow("%s, cost to the cent, units down", name) << file << 1;
            QTest::addRow("%s, principal down, no netting", name) << file << 2;
        }
    }
    void tableEqualsStream()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, options);
        ledger::BookOptions book;
        if (options == 1) {
            book.roundings.cost = ledger::PriceStep::Cent;
            book.roundings.units = ledger::Rounding::Down;
        } else if (options == 2) {
            book.roundings.principal = ledger::Rounding::Down;
            book.dividendNetting = false;
        }
        QTemporaryDir dir;
        RowsModel model;
        model.setReplay(replayOf(dir, {file}, book));
        const QList<QStringList> records = csvRecords(streamed(file, LedgerOutput::Rows, book));
        QCOMPARE(model.rowCount(), records.size() - 1);
        const QStringList& header = records.front();
        for (int row = 0; row < model.rowCount(); ++row) {
            const QStringList& record = records[row + 1];
            for (int column = RowsModel::kFirstFigure + kInputFigureCount; column <= RowsModel::kMessage; ++column) {
                const QString caption = column == RowsModel::kMessage ? QStringLiteral("message")
                                                                      : model.headerData(column, Qt::Horizontal).toString();
                // The output's columns come after the input's, whose names may repeat.
                const qsizetype at = header.lastIndexOf(caption);
                QVERIFY2(at >= 0, qPrintable(caption));
                QCOMPARE(model.text(row, column, false), record.value(at));
            }
            QCOMPARE(model.text(row, RowsModel::kEvent), record.value(header.indexOf(QStringLiteral("event"))));
        }
    }

    void refusedRowsMarked_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << 1 << "口数には数値を入力してください";
        QTest::newRow("no date") << 2 << "受渡日が入力されていません";
        QTest::newRow("more units than held") << 3 << "";
        QTest::newRow("unknown event") << 4 << "取引が違います";
    }
    void refusedRowsMarked()
    {
        QFETCH(int, row);
        QFETCH(QString, message);
        QTemporaryDir dir;
        RowsModel model;
        model.setReplay(replayOf(dir, {kRefusedCsv}));
        QCOMPARE(model.replay().refusedCount(), 4);
        QCOMPARE(model.replay().row(row).state, RowState::Refused);
        const QString shown = model.data(model.index(row, RowsModel::kMessage)).toString();
        QVERIFY2(!shown.isEmpty() && shown.startsWith(message), qPrintable(shown));
        QVERIFY(!model.data(model.index(row, RowsModel::kDate), Qt::DecorationRole).isNull());
        QCOMPARE(model.data(model.index(row, RowsModel::kFund), Qt::ToolTipRole).toString(), shown);
        QVERIFY(model.summary(row).contains(QStringLiteral("記帳できません")));
        // The rows around it are marked with nothing.
        QVERIFY(model.data(model.index(0, RowsModel::kDate), Qt::DecorationRole).isNull());
        QVERIFY(model.data(model.index(5, RowsModel::kMessage)).toString().isEmpty());
        // Where it came from: the file's name and the row's line.
        QCOMPARE(model.text(row, RowsModel::kSource), QStringLiteral("in0.csv:%1").arg(row + 2));
    }

    void unreadableFilesRefused_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no ledger columns") << QByteArray("x,y\n1,2\n") << "見出しに列";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("not text") << QByteArray("date,fund,event\n") + QByteArray("\xff\xfe\x80,A,x\n")
                                  << "UTF-8 として読めない";
        QTest::newRow("missing") << QByteArray("<missing>") << "開けません";
    }
    void unreadableFilesRefused()
    {
        QFETCH(QByteArray, second);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString good = writeFile(dir, QStringLiteral("good.csv"), kEventsCsv);
        const QString bad = second == "<missing>" ? dir.filePath(QStringLiteral("bad.csv"))
                                                  : writeFile(dir, QStringLiteral("bad.csv"), second);
        const ReplayOutcome outcome = replayFiles(requestOf({good, bad}), {});
        QVERIFY(!outcome.replay);
        QVERIFY2(outcome.problem.contains(QStringLiteral("bad.csv")), qPrintable(outcome.problem));
        QVERIFY2(outcome.problem.contains(reason), qPrintable(outcome.problem));
        // Nothing asks a window user for an option of the command line.
        QVERIFY2(!outcome.problem.contains(QStringLiteral("--")), qPrintable(outcome.problem));
    }

    // Two files' rows are posted together in date order: the same as one file of their
    // rows in that order.
    void filesMergeByDate()
    {
        const QByteArray first = "date,fund,event,units,nav,distribution,fee\n"
                                 "2024-01-10,A,買付,10000,10000,,100\n"
                                 "2024-01-13,A,解約,,12000,,\n";
        const QByteArray second = "fund,date,event,nav,distribution\n"
                                  "A,2024-01-12,分配,9800,300\n";
        QTemporaryDir dir;
        RowsModel model;
        model.setReplay(replayOf(dir, {first, second}));
        const QList<QStringList> merged = csvRecords(streamed(kEventsCsv, LedgerOutput::Rows));
        QCOMPARE(model.rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(model.text(row, RowsModel::kDate), merged[row + 1][0]);
            const int settlement = columnNamed(model, QStringLiteral("受渡金額"));
            QCOMPARE(model.text(row, settlement, false), merged[row + 1][20]);
        }
        QCOMPARE(model.text(1, RowsModel::kSource), QStringLiteral("in1.csv:2"));
    }

    // Brokers' downloads show the figures the brokers published for them, and what the
    // file states beside what the ledger works out.
    void brokerFigures_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shown");
        const QStringList rakuten{kTrades, kDistributions, kNav};
        const QString sale = kTrades + QStringLiteral(":9");
        QTest::newRow("楽天's sale withholds 222") << rakuten << QStringList() << sale << "所得税及び復興特別所得税" << "222";
        QTest::newRow("... and 72") << rakuten << QStringList() << sale << "住民税" << "72";
        QTest::newRow("SBI's 取得費") << QStringList{kSbiTrades} << QStringList() << kSbiTrades + ":15" << "取得費" << "112,510";
        QTest::newRow("SBI's 譲渡損益") << QStringList{kSbiTrades} << QStringList() << kSbiTrades + ":15" << "譲渡損益" << "1,490";
        QTest::newRow("マネックス withholds 609") << QStringList{kMonex} << QStringList() << kMonex + ":6" << "所得税及び復興特別所得税" << "609";
        QTest::newRow("... and 199") << QStringList{kMonex} << QStringList() << kMonex + ":6" << "住民税" << "199";
        QTest::newRow("マネックス pays 128,192") << QStringList{kMonex} << QStringList() << kMonex + ":6" << "受渡金額" << "128,192";
        // 1,013,171 units × 50 ÷ 10,000 = 5,065.855: 楽天 rounds it half up, unless told
        // (its convention is checked against the command line's below).
        const QString reinvested = kTrades + QStringLiteral(":8");
        QTest::newRow("a rounding chosen over 楽天's")
            << rakuten << QStringList{"distribution-rounding"} << reinvested << "message"
            << "ファイルでは分配金（税引前） 5066 円、記帳では 5065 円。ファイルでは受取金額 4038 円、記帳では 4037 円";
        // A NISA distribution's split is known only from the price history.
        const QString nisa = kDistributions + QStringLiteral(":3");
        QTest::newRow("refused on reading without it, saying what to open")
            << QStringList{kTrades, kDistributions} << QStringList() << nisa << "message"
            << "テスト・リート・インカム(毎月分配型) の 2024-05-21 の分配は分配落ち後の基準価額がわかりません: "
               "この銘柄の基準価額と分配金の履歴（見出し 基準日,銘柄,基準価額,分配金 の CSV）を一緒に開いてください";
    }
    void brokerFigures()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, given);
        QFETCH(QString, source);
        QFETCH(QString, caption);
        QFETCH(QString, shown);
        RowsModel model;
        model.setReplay(replayPaths(samples(files), {}, given));
        const int row = rowFrom(model, source);
        QVERIFY2(row >= 0, qPrintable(source));
        const int column = caption == u"message" ? int(RowsModel::kMessage) : columnNamed(model, caption);
        QVERIFY2(column >= 0, qPrintable(caption));
        QCOMPARE(model.text(row, column), shown);
    }

    // The broker's holdings download among the files: its lines are the command line's
    // --holdings check, the fund held only by the ledger marked.
    void holdingsChecked()
    {
        QTemporaryDir dir;
        const QString held = writeFile(dir, QStringLiteral("assetbalance(INVST)_20240701.csv"),
                                        QStringLiteral("保有区分,ファンド,口座区分,分配金コース,保有数量［口］,平均取得価額［円］\n"
                                                       "投資信託,テスト全世界株式インデックス,NISA,再投資型,70258,22774.00\n")
                                            .toUtf8());
        const QStringList paths = samples({kTrades, kDistributions, kNav}) << held;
        const std::shared_ptr<const Replay> replay = replayPaths(paths);
        QVERIFY(replay);
        QCOMPARE(replay->request().holdings, held);
        QVERIFY(replay->holdingsDiffer());
        const CliRun run = runCli(QStringList{QStringLiteral("ledger"), QStringLiteral("--holdings"), held}
                                  + commandLine(paths));
        const QStringList printed = QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(replay->holdingsCheck(), printed.mid(printed.size() - replay->holdingsCheck().size()));
        QVERIFY(replay->holdingsCheck().join(u'\n').contains(QStringLiteral("※ 旧NISA テスト全世界株式インデックス")));
    }

    // A renamed fund: the row on its new name says how to join them in the window, and the
    // table of renames joins them.
    void renamedFundJoined()
    {
        QTemporaryDir dir;
        const QStringList events{writeFile(dir, QStringLiteral("bought.csv"),
                                           "date,fund,event,units,nav\n2024-01-05,テスト全世界株式インデックス(旧),購入,100,10000\n"),
                                 writeFile(dir, QStringLiteral("paid.csv"),
                                           "date,fund,event,nav,distribution\n2024-02-05,テスト全世界株式インデックス,分配,9990,10\n")};
        RowsModel model;
        model.setReplay(replayPaths(events));
        QVERIFY2(model.text(1, RowsModel::kMessage).endsWith(QStringLiteral("「ファイル」の「銘柄名の変更を開く」で名前をつなげてください")),
                 qPrintable(model.text(1, RowsModel::kMessage)));
        InputRequest request = requestOf(events);
        request.fundNames = writeFile(dir, QStringLiteral("names.csv"),
                                      "テスト全世界株式インデックス(旧),テスト全世界株式インデックス\n");
        model.setReplay(replayFiles(request, {}).replay);
        QCOMPARE(model.replay().refusedCount(), 0);
        QCOMPARE(model.text(1, RowsModel::kFund), QStringLiteral("テスト全世界株式インデックス(旧)"));
    }

    // Every row the command line writes for the same files, figure for figure and message
    // for message, in its order; the rows it refuses on reading (on its standard error)
    // are refused rows of the table, where their dates put them.
    void brokerTableEqualsCommandLine_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QByteArray>("own"); // a file of the ledger's own format beside them
        QTest::newRow("楽天 with the price history") << QStringList{kTrades, kDistributions, kNav} << QByteArray();
        QTest::newRow("楽天 refused on reading") << QStringList{kTrades, kDistributions} << QByteArray();
        QTest::newRow("SBI, both layouts, distributions")
            << QStringList{kSbiTrades, kSbiNewTrades, kSbiDistributions, kNav} << QByteArray();
        QTest::newRow("マネックス and a file of our own") << QStringList{kMonex} << kYearCsv;
        QTest::newRow("two files of our own") << QStringList() << kEventsCsv;
    }
    void brokerTableEqualsCommandLine()
    {
        QFETCH(QStringList, files);
        QFETCH(QByteArray, own);
        QTemporaryDir dir;
        QStringList paths = samples(files);
        if (!own.isEmpty())
            paths << writeFile(dir, QStringLiteral("own.csv"), own);
        if (files.isEmpty())
            paths << writeFile(dir, QStringLiteral("more.csv"), kBalanceCsv);
        RowsModel model;
        model.setReplay(replayPaths(paths));
        const CliRun run = runCli(QStringList{QStringLiteral("ledger")} + commandLine(paths));
        QVERIFY2(run.exitCode == 0 || run.exitCode == 1, run.err.constData());
        const QList<QStringList> records = csvRecords(run.out);
        const QStringList& header = records.front();
        QStringList worded;
        for (const QString& notice : QString::fromUtf8(run.err).split(u'\n', Qt::SkipEmptyParts))
            worded << windowWording(notice);
        qsizetype record = 1;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString source = model.text(row, RowsModel::kSource);
            const QStringList& out = records.value(record);
            if (!source.isEmpty() && out.value(header.indexOf(QStringLiteral("source"))) != source) {
                // Refused on reading: the command line's notice, in the window's words.
                const QString notice = QStringLiteral("miroven-calc: %1: %2").arg(source, model.text(row, RowsModel::kMessage));
                QVERIFY2(worded.contains(notice), qPrintable(notice));
                QCOMPARE(model.replay().row(row).state, RowState::Refused);
                continue;
            }
            ++record;
            QCOMPARE(model.text(row, RowsModel::kDate), out.value(0));
            for (int column = RowsModel::kFirstFigure + kInputFigureCount; column <= RowsModel::kMessage; ++column) {
                const QString caption = column == RowsModel::kMessage ? QStringLiteral("message")
                                                                      : model.headerData(column, Qt::Horizontal).toString();
                QCOMPARE(model.text(row, column, false), out.value(header.lastIndexOf(caption)));
            }
        }
        QCOMPARE(record, records.size());
    }

    // The working of each row is --explain's for the same files.
    void brokerWorkingEqualsExplain()
    {
        const QStringList paths = samples({kTrades, kDistributions, kSbiTrades, kNav});
        const std::shared_ptr<const Replay> replay = replayPaths(paths);
        const CliRun run = runCli(QStringList{QStringLiteral("ledger"), QStringLiteral("--explain")} + commandLine(paths));
        const QMap<QString, QString> blocks = workingBlocks(run.out);
        QVERIFY2(!blocks.isEmpty(), run.err.constData());
        QSet<QString> seen;
        for (qsizetype row = 0; row < replay->rowCount(); ++row) {
            const RowWorking working = rowWorking(*replay, row);
            QVERIFY2(working.problem.isEmpty(), qPrintable(working.problem));
            const QString heading = working.text.section(u'\n', 0, 0);
            if (replay->row(row).state == RowState::Refused && !blocks.contains(heading)) {
                // Refused on reading: where it came from and why, as nothing was worked out.
                QVERIFY2(working.text.endsWith(QStringLiteral("断りました: %1\n\n").arg(replay->name(replay->row(row).message))),
                         qPrintable(working.text));
                continue;
            }
            QCOMPARE(working.text, blocks.value(heading));
            seen.insert(heading);
        }
        QCOMPARE(seen.size(), blocks.size());
    }

    void cancelledReplayGivesNothing()
    {
        QByteArray many = "date,fund,event,units,nav\n";
        for (int i = 0; i < 20000; ++i)
            many += "2024-01-10,A,買付,1,10000\n";
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("many.csv"), many);
        int asked = 0;
        ReplayControl control;
        control.cancelled = [&asked] { return ++asked > 1; };
        const ReplayOutcome outcome = replayFiles(requestOf({path}), {}, control);
        QVERIFY(!outcome.replay);
        QVERIFY(outcome.problem.isEmpty());
        QCOMPARE(asked, 2);
    }

    void filtersAndSorting_data()
    {
        QTest::addColumn<QString>("fund");
        QTest::addColumn<QString>("account");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("shown");
        QTest::newRow("all") << "" << "" << 0 << 7;
        QTest::newRow("fund C") << "C" << "" << 0 << 4;
        QTest::newRow("NISA") << "" << "NISA" << 0 << 2;
        QTest::newRow("特定 in 2025") << "" << "特定" << 2025 << 1;
        QTest::newRow("fund E in 特定") << "E" << "特定" << 0 << 1;
        QTest::newRow("fund D in 特定: its 払出 is NISA's row") << "D" << "特定" << 0 << 0;
        QTest::newRow("a year with none") << "C" << "" << 2023 << 0;
    }
    void filtersAndSorting()
    {
        QFETCH(QString, fund);
        QFETCH(QString, account);
        QFETCH(int, year);
        QFETCH(int, shown);
        QTemporaryDir dir;
        RowsModel model;
        model.setReplay(replayOf(dir, {kBalanceCsv + "2024-01-02,E,,買付,1,10000,,,\n"}));
        RowsFilter filter(&model);
        QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto nameIndex = [&](const QString& text) -> std::optional<std::uint32_t> {
            if (text.isEmpty())
                return std::nullopt;
            for (const std::uint32_t at : model.replay().funds())
                if (model.replay().name(at) == text)
                    return at;
            for (const std::uint32_t at : model.replay().accounts())
                if (model.replay().name(at) == text)
                    return at;
            return 0xffffffffu;
        };
        filter.setFilter(nameIndex(fund), nameIndex(account), year ? std::optional<int>(year) : std::nullopt);
        QCOMPARE(filter.rowCount(), shown);

        // By date, then by a figure from the largest; equal keys keep the replay's order.
        filter.sort(RowsModel::kDate, Qt::AscendingOrder);
        QDate last;
        for (int row = 0; row < filter.rowCount(); ++row) {
            const QDate date = QDate::fromString(filter.index(row, RowsModel::kDate).data().toString(), Qt::ISODate);
            QVERIFY(!last.isValid() || last <= date);
            last = date;
        }
        const int held = RowsModel::kFirstFigure + int(RowFigure::Held);
        filter.sort(held, Qt::DescendingOrder);
        for (int row = 1; row < filter.rowCount(); ++row) {
            const QVariant above = filter.index(row - 1, held).data(RowsModel::kSortRole);
            const QVariant below = filter.index(row, held).data(RowsModel::kSortRole);
            QVERIFY(!below.isValid() || (above.isValid() && above.toLongLong() >= below.toLongLong()));
        }
    }

    // The working of each row, settlements included, is the block --explain writes for it.
    void workingEqualsExplain_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("events") << kEventsCsv;
        QTest::newRow("year") << kYearCsv;
        QTest::newRow("refused") << kRefusedCsv;
        QTest::newRow("balance") << kBalanceCsv;
    }
    void workingEqualsExplain()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const std::shared_ptr<const Replay> replay = replayOf(dir, {file});
        const QMap<QString, QString> blocks = workingBlocks(streamed(file, LedgerOutput::Working));
        for (qsizetype row = 0; row < replay->rowCount(); ++row) {
            const ReplayRow& shown = replay->row(row);
            const QString heading = shown.state == RowState::Settlement
                                        ? QStringLiteral("【%1 年の年末精算】").arg(shown.date.year())
                                        : QStringLiteral("【%1 行目】").arg(shown.line);
            const RowWorking working = rowWorking(*replay, row);
            QVERIFY2(working.problem.isEmpty(), qPrintable(working.problem));
            QVERIFY2(blocks.contains(heading), qPrintable(heading));
            QCOMPARE(working.text, blocks.value(heading));
        }
    }

    // A file changed since it was opened gives no working that might not be its own.
    void workingOfChangedFileRefused()
    {
        QTemporaryDir dir;
        const std::shared_ptr<const Replay> replay = replayOf(dir, {kEventsCsv});
        QVERIFY(writeFile(dir, QStringLiteral("in0.csv"), "date,fund,event,units,nav\n2024-01-10,A,買付,1,1\n")
                    .size());
        const RowWorking working = rowWorking(*replay, 3);
        QVERIFY(working.text.isEmpty());
        QVERIFY(working.problem.contains(QStringLiteral("変わった")));
    }

    void holdingsNow()
    {
        QTemporaryDir dir;
        HoldingsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setReplay(replayOf(dir, {kEventsCsv})); // everything sold
        QCOMPARE(model.rowCount(), 0);
        model.setReplay(replayOf(dir, {kYearCsv}));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.text(0, HoldingsModel::kFund), QStringLiteral("B"));
        QCOMPARE(model.text(0, HoldingsModel::kAccount), QStringLiteral("NISA"));
        QCOMPARE(model.text(0, HoldingsModel::kUnits), QStringLiteral("100,000"));
        QCOMPARE(model.text(0, HoldingsModel::kPrincipal), QStringLiteral("10,000"));
        QCOMPARE(model.text(0, HoldingsModel::kCost), QStringLiteral("10,000"));
        QVERIFY(model.flags(model.index(0, HoldingsModel::kNav)) & Qt::ItemIsEditable);
        QVERIFY(!(model.flags(model.index(0, HoldingsModel::kUnits)) & Qt::ItemIsEditable));
    }

    // A what-if redemption shows what the same 解約 row, added to the file, shows; the
    // book behind the window is not changed by it.
    void whatIfEqualsRedemptionRow_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("retention");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("NISA at a gain") << kYearCsv << "12000" << "" << QByteArray("2025-01-07,B,NISA,解約,,,12000,");
        const QByteArray held = "date,fund,account,event,units,nav,retention\n"
                                "2024-01-10,A,,買付,10000,10000,\n";
        QTest::newRow("特定 at a loss, retention")
            << held << "9,500" << "0.3" << QByteArray("2024-02-11,A,,解約,,9500,0.3");
        QTest::newRow("full-width NAV") << held << "１２０００" << "" << QByteArray("2024-02-11,A,,解約,,12000,");
    }
    void whatIfEqualsRedemptionRow()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, nav);
        QFETCH(QString, retention);
        QFETCH(QByteArray, row);
        QTemporaryDir dir;
        const std::shared_ptr<const Replay> replay = replayOf(dir, {file});
        HoldingsModel model;
        model.setToday(QDate::fromString(QString::fromLatin1(row.left(10)), Qt::ISODate));
        model.setReplay(replay);
        QCOMPARE(model.rowCount(), 1);
        QVERIFY(model.setData(model.index(0, HoldingsModel::kNav), nav));
        QVERIFY(model.setData(model.index(0, HoldingsModel::kRetention), retention));
        QCOMPARE(model.text(0, HoldingsModel::kMessage), QString());

        const QList<QStringList> records = csvRecords(streamed(file + row + '\n', LedgerOutput::Rows));
        const QStringList& out = records.back();
        const QStringList& captions = records.front();
        QCOMPARE(out.value(0), QString::fromLatin1(row.left(10)));
        QCOMPARE(out.value(captions.lastIndexOf(QStringLiteral("message"))), QString());
        const auto plain = [&](int column) { return model.text(0, column).remove(u','); };
        const auto cell = [&](const char* caption) { return out.value(captions.lastIndexOf(QString::fromUtf8(caption))); };
        QCOMPARE(plain(HoldingsModel::kProceeds), cell("解約代金"));
        QCOMPARE(plain(HoldingsModel::kGain), cell("譲渡損益"));
        QCOMPARE(plain(HoldingsModel::kIncomeTax), cell("所得税及び復興特別所得税"));
        QCOMPARE(plain(HoldingsModel::kResidentTax), cell("住民税"));
        QCOMPARE(plain(HoldingsModel::kSettlement), cell("受渡金額"));
        // The valuation is units × NAV; its gain is over the 取得費.
        const qint64 units = QString(model.text(0, HoldingsModel::kUnits)).remove(u',').toLongLong();
        const qint64 navYen = figureCell(nav, false).remove(u',').toLongLong();
        QCOMPARE(model.text(0, HoldingsModel::kValuation), groupedWhole(units * navYen / 10000));
        QCOMPARE(model.text(0, HoldingsModel::kUnrealised),
                 groupedWhole(units * navYen / 10000 - out.value(captions.lastIndexOf(QStringLiteral("取得費"))).toLongLong()));
        // The book shown still holds the units.
        QCOMPARE(replay->book().holdings().size(), std::size_t(1));
    }

    void whatIfRefusesTypedText_data()
    {
        QTest::addColumn<QString>("nav");
        QTest::addColumn<QString>("retention");
        QTest::addColumn<QString>("message");
        QTest::newRow("NAV not a number") << "abc" << "" << "基準価額には数値を入力してください";
        QTest::newRow("NAV with a fraction") << "12000.5" << "" << "基準価額は整数で入力してください";
        QTest::newRow("negative NAV") << "-1" << "" << "基準価額には 0 以上の数値を入力してください";
        QTest::newRow("retention too fine") << "12000" << "0.0001" << "信託財産留保額(%)は小数第3位までで入力してください";
        QTest::newRow("nothing typed") << "" << "" << "";
    }
    void whatIfRefusesTypedText()
    {
        QFETCH(QString, nav);
        QFETCH(QString, retention);
        QFETCH(QString, message);
        QTemporaryDir dir;
        HoldingsModel model;
        model.setReplay(replayOf(dir, {kYearCsv}));
        QVERIFY(model.setData(model.index(0, HoldingsModel::kNav), nav));
        QVERIFY(model.setData(model.index(0, HoldingsModel::kRetention), retention));
        QCOMPARE(model.text(0, HoldingsModel::kMessage), message);
        QCOMPARE(model.text(0, HoldingsModel::kSettlement), QString());
        // What was typed stays, for the user to correct, and survives a replay.
        model.setReplay(replayOf(dir, {kYearCsv}));
        QCOMPARE(model.text(0, HoldingsModel::kNav), nav);
    }

    void reportLines()
    {
        QTemporaryDir dir;
        const std::shared_ptr<const Replay> replay = replayOf(dir, {kYearCsv});
        const QList<QStringList> records = csvRecords(streamed(kYearCsv, LedgerOutput::Report));
        QCOMPARE(reportCaptions(), records.front());
        QCOMPARE(qsizetype(replay->report().size()), records.size() - 1);
        for (std::size_t line = 0; line < replay->report().size(); ++line) {
            const ReportRow& row = replay->report()[line];
            QStringList cells{QString::number(row.year), row.account};
            for (const std::optional<std::int64_t>& sum : row.sums)
                cells << (sum ? QString::number(*sum) : QString());
            QCOMPARE(cells, records[qsizetype(line) + 1]);
        }
    }

    void groupedFigures_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<bool>("price");
        QTest::addColumn<QString>("shown");
        QTest::newRow("small") << qint64(999) << false << "999";
        QTest::newRow("thousands") << qint64(1000) << false << "1,000";
        QTest::newRow("negative millions") << qint64(-1234567) << false << "-1,234,567";
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << false << "-9,223,372,036,854,775,808";
        QTest::newRow("whole price") << qint64(98000000) << true << "9,800";
        QTest::newRow("price to the cent") << qint64(98765400) << true << "9,876.54";
        QTest::newRow("finer price") << qint64(98765432) << true << "9,876.5432";
        QTest::newRow("negative below a yen") << qint64(-50) << true << "-0.0050";
        QTest::newRow("cents with a zero") << qint64(10000500) << true << "1,000.05";
    }
    void groupedFigures()
    {
        QFETCH(qint64, value);
        QFETCH(bool, price);
        QFETCH(QString, shown);
        QCOMPARE(price ? groupedPrice(value) : groupedWhole(value), shown);
    }

    void preferencesRemembered_data()
    {
        QTest::addColumn<QString>("principal");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("netting");
        QTest::addColumn<QString>("distribution"); // brokers differ: no word leaves it to the files
        QTest::addColumn<bool>("defaults");
        QTest::newRow("as stored") << "down" << "cent" << "false" << "down" << false;
        QTest::newRow("unknown words read as the defaults") << "sideways" << "yen" << "maybe" << "sideways" << true;
    }
    void preferencesRemembered()
    {
        QFETCH(QString, principal);
        QFETCH(QString, cost);
        QFETCH(QString, netting);
        QFETCH(QString, distribution);
        QFETCH(bool, defaults);
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("p.ini")), QSettings::IniFormat);
        store.setValue(QStringLiteral("ledger/distribution-rounding"), distribution);
        store.setValue(QStringLiteral("ledger/principal-rounding"), principal);
        store.setValue(QStringLiteral("ledger/cost-rounding"), cost);
        store.setValue(QStringLiteral("ledger/dividend-netting"), netting);
        const LedgerPreferences read = loadLedgerPreferences(store);
        QCOMPARE(read == LedgerPreferences{}, defaults);
        LedgerPreferences changed = read;
        changed.roundings.units = ledger::Rounding::Down;
        changed.given << QStringLiteral("units-rounding");
        changed.roundings.retention.reset();
        changed.roundings.average = ledger::PrincipalAverage::Printed;
        QVERIFY(!(changed == read));
        changed.saveEncoding = LedgerPreferences::SaveEncoding::Cp932;
        storeLedgerPreferences(store, changed);
        QVERIFY(loadLedgerPreferences(store) == changed);
        // The default chosen is kept apart from the default left to the files.
        QCOMPARE(store.contains(QStringLiteral("ledger/distribution-rounding")), !defaults);
    }

    // 保存 writes the bytes `miroven-calc ledger` writes for the open file, in the
    // encoding chosen.
    void saveEqualsCommandLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("cp932");
        QTest::addColumn<bool>("report");
        QTest::addColumn<bool>("centOption");
        QTest::addColumn<QStringList>("samples"); // opened beside it (or instead, when it is empty)
        QTest::newRow("rows") << kEventsCsv << false << false << false << QStringList();
        QTest::newRow("rows with refusals, CR LF")
            << QByteArray(kRefusedCsv).replace("\n", "\r\n") << false << false << false << QStringList();
        QTest::newRow("rows to the cent") << kBalanceCsv << false << false << true << QStringList();
        QTest::newRow("report") << kYearCsv << false << true << false << QStringList();
        QTest::newRow("UTF-8 with a BOM") << QByteArray("\xEF\xBB\xBF") + kYearCsv << false << false << false << QStringList();
        QTest::newRow("UTF-8 file saved as CP932") << kYearCsv << true << false << false << QStringList();
        QTest::newRow("report in CP932") << kYearCsv << true << true << false << QStringList();
        // Brokers' downloads, and several files: merged as the command line merges them.
        QTest::newRow("楽天 with its price history")
            << QByteArray() << false << false << false << QStringList{kTrades, kDistributions, kNav};
        QTest::newRow("SBI and マネックス in CP932")
            << QByteArray() << true << false << false << QStringList{kSbiTrades, kSbiDistributions, kMonex, kNav};
        QTest::newRow("report of three brokers") << QByteArray() << false << true << false
                                                 << QStringList{kTrades, kDistributions, kSbiTrades, kMonex, kNav};
        QTest::newRow("a file of our own beside a broker's") << kYearCsv << false << false << true << QStringList{kMonex};
    }
    void saveEqualsCommandLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, cp932);
        QFETCH(bool, report);
        QFETCH(bool, centOption);
        QFETCH(QStringList, samples);
        QTemporaryDir dir;
        const QString input = file.isEmpty() ? QString() : writeFile(dir, QStringLiteral("in.csv"), file);
        QStringList opened = ::samples(samples);
        if (!input.isEmpty())
            opened << input;
        LedgerPreferences preferences;
        preferences.saveEncoding = cp932 ? LedgerPreferences::SaveEncoding::Cp932 : LedgerPreferences::SaveEncoding::Utf8;
        if (centOption)
            preferences.roundings.cost = ledger::PriceStep::Cent;
        const QString saved = dir.filePath(QStringLiteral("out.csv"));
        const SaveOutcome outcome = saveLedger(requestOf(opened), preferences, report, saved);
        QCOMPARE(outcome.problem, QString());

        // The command line, on the file as it would be in the chosen encoding.
        QStringList cliInput = commandLine(opened);
        if (!samples.isEmpty() && cp932)
            cliInput.prepend(QStringLiteral("--encoding=cp932"));
        else if (cp932) {
            Cp932Codec codec;
            std::string bytes;
            QVERIFY(codec.encode(QString::fromUtf8(file), bytes));
            cliInput = QStringList{writeFile(dir, QStringLiteral("in-cp932.csv"), QByteArray::fromStdString(bytes))};
        }
        QStringList arguments{QStringLiteral("ledger")};
        if (report)
            arguments << QStringLiteral("--report");
        if (centOption)
            arguments << QStringLiteral("--cost-rounding") << QStringLiteral("cent");
        const CliRun run = runCli(arguments << cliInput);
        QVERIFY(run.exitCode == 0 || run.exitCode == 1);
        QFile out(saved);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), run.out);
    }

    void saveRefusals_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("message");
        QTest::newRow("character CP932 lacks") << QByteArray("date,fund,event,units,nav\n2024-01-10,😀,買付,1,10000\n")
                                               << 1 << "CP932 にない文字";
        QTest::newRow("... in one of several files")
            << QByteArray("date,fund,event,units,nav\n2024-01-10,😀,買付,1,10000\n") << 2 << "CP932 にない文字";
    }
    void saveRefusals()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, files);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QStringList inputs;
        for (int i = 0; i < files; ++i)
            inputs << writeFile(dir, QStringLiteral("in%1.csv").arg(i), file);
        LedgerPreferences preferences;
        preferences.saveEncoding = LedgerPreferences::SaveEncoding::Cp932;
        const QString saved = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(writeFile(dir, QStringLiteral("out.csv"), "kept").size());
        const SaveOutcome outcome = saveLedger(requestOf(inputs), preferences, false, saved);
        QVERIFY2(outcome.problem.contains(message), qPrintable(outcome.problem));
        // The file that was there is left as it was.
        QFile out(saved);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), QByteArray("kept"));
    }

    void rowsModelPassesTester()
    {
        QTemporaryDir dir;
        RowsModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setReplay(replayOf(dir, {kRefusedCsv}));
        model.setReplay(replayOf(dir, {kYearCsv, kBalanceCsv}));
        model.setReplay(std::make_shared<const Replay>());
    }
};

MIROVEN_TEST_MAIN(LedgerReplayTest)
#include "tst_ledger_replay.moc"
