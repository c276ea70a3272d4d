// The brokers' downloads read as they are: which layout a file is, and what each of its
// rows says to the ledger, figure by figure.
#include "csv/broker_cells.h"
#include "csv/broker_file.h"
#include "csv/csv_encoding.h"

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

} // namespace

class BrokerFilesTest : public QObject {
    Q_OBJECT

private slots:
    void samples_data();
    void samples();
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
            "refused: rakuten_adjusthistory(JP)_20240701.csv: 読める形式ではありません。読めるのは 楽天証券 取引履歴（投資信託）、楽天証券 配当・分配金、SBI証券 約定履歴、SBI証券 約定履歴（2026年5月から）、SBI証券 配当金・分配金、マネックス証券 取引履歴、記帳ファイル（1 行目に見出し） です（1 行目を記帳ファイルの見出しとして読むと: 見出しに列 fund（銘柄）、event（取引） がありません）"};
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
            "refused: sbi_SaveFile_000001_000001_tokutei_soneki.csv: 読める形式ではありません。読めるのは 楽天証券 取引履歴（投資信託）、楽天証券 配当・分配金、SBI証券 約定履歴、SBI証券 約定履歴（2026年5月から）、SBI証券 配当金・分配金、マネックス証券 取引履歴、記帳ファイル（1 行目に見出し） です（1 行目を記帳ファイルの見出しとして読むと: 見出しに列 date（受渡日）、fund（銘柄）、event（取引） がありません）"};
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

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(BrokerFilesTest)
#include "tst_broker_files.moc"
