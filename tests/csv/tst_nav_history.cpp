// A price history (--nav) read, and a fund's last distribution on or before a day.
#include "csv/nav_history.h"

#include "cp932_bytes.h"

#include <QBuffer>
#include <QtTest>

namespace {

// The distribution found as "date nav distribution line N", or why there is none.
QString lookUp(const QByteArray& bytes, const QString& fund, const QDate& date)
{
    QByteArray copy = bytes;
    QBuffer input(&copy);
    input.open(QIODevice::ReadOnly);
    const Outcome<NavHistory, QString> history = NavHistory::read(input, QStringLiteral("nav.csv"));
    if (!history)
        return history.why();
    const Outcome<NavHistory::Distribution, QString> found = history->lastDistribution(fund, date);
    if (!found)
        return found.why();
    return QStringLiteral("%1 %2 %3 line %4")
        .arg(found->date.toString(Qt::ISODate))
        .arg(found->nav)
        .arg(found->distribution)
        .arg(found->line);
}

const QByteArray kNewestFirst = "基準日,銘柄,基準価額,分配金\n"
                                "2024-07-10,ファンドA,10400,200\n"
                                "2024-06-25,ファンドA,10600,\n"
                                "2024-06-10,ファンドA,10500,150\n"
                                "2024-06-10,ファンドA,10500,150\n"
                                "2024-05-10,ファンドA,10300,100\n"
                                "2024-07-10,ファンドC,9000,0\n"
                                "2024-07-11,ファンドC,9000,-\n";

QByteArray row(const char* line) { return QByteArray("基準日,銘柄,基準価額,分配金\n") + line; }

} // namespace

class NavHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void lastDistribution_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("fund");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected");
        const QString a = QStringLiteral("ファンドA");
        QTest::newRow("newest first: the one before, past a day without one")
            << kNewestFirst << a << QDate(2024, 7, 9) << QString("2024-06-10 10500 150 line 4");
        QTest::newRow("on its own day") << kNewestFirst << a << QDate(2024, 7, 10)
                                        << QString("2024-07-10 10400 200 line 2");
        QTest::newRow("before the first") << kNewestFirst << a << QDate(2024, 5, 9)
                                          << QString("nav.csv に「ファンドA」の 2024-05-09 以前の分配金がありません");
        QTest::newRow("0 and - are no distribution")
            << kNewestFirst << QString("ファンドC") << QDate(2024, 12, 31)
            << QString("nav.csv に「ファンドC」の 2024-12-31 以前の分配金がありません");
        QTest::newRow("a fund the file does not name") << kNewestFirst << QString("ファンドB") << QDate(2024, 7, 9)
                                                       << QString("nav.csv に銘柄「ファンドB」がありません");
        QTest::newRow("CP932, quoted, separators, YYYY/M/D, names in other widths")
            << cp932("基準日,銘柄,基準価額,分配金\r\n\"2024/6/10\",\"ﾃｽﾄ高配当（毎月分配型）\",\"10,500\",\"２００\"\r\n")
            << QString("テスト高配当 (毎月分配型)") << QDate(2024, 6, 30) << QString("2024-06-10 10500 200 line 2");
        QTest::newRow("a byte order mark, columns in another order and one more")
            << QByteArray("\xEF\xBB\xBF分配金,銘柄,純資産総額,基準日,基準価額\n50,A,100,2024-01-04,\"10,000\"\n") << QString("A")
            << QDate(2024, 1, 4) << QString("2024-01-04 10000 50 line 2");

        const QDate day(2024, 12, 31);
        QTest::newRow("the same day with other figures")
            << row("2024-06-10,A,10500,150\n2024-06-10,A,10500,160\n") << QString("A") << day
            << QString("nav.csv の 3 行目: 2 行目と同じ銘柄・基準日（2024-06-10）で、基準価額か分配金が違います");
        QTest::newRow("a column missing") << QByteArray("基準日,基準価額\n") << QString("A") << day
                                          << QString("nav.csv の 1 行目: 見出しに列 銘柄 がありません"
                                                     "（見出しは 基準日,銘柄,基準価額[,分配金]）");
        QTest::newRow("a column twice") << QByteArray("基準日,銘柄,基準価額,基準価額\n") << QString("A") << day
                                        << QString("nav.csv の 1 行目: 見出しに列 基準価額 が二つあります（3 列目と 4 列目）"
                                                   "（見出しは 基準日,銘柄,基準価額[,分配金]）");
        QTest::newRow("empty") << QByteArray() << QString("A") << day
                               << QString("nav.csv が空です（見出しは 基準日,銘柄,基準価額[,分配金]）");
        QTest::newRow("a day that does not exist") << row("2024-02-30,A,10500,150\n") << QString("A") << day
                                                   << QString("nav.csv の 2 行目: 基準日の 2024-02-30 という日はありません");
        QTest::newRow("a year in two digits") << row("24/6/10,A,10500,150\n") << QString("A") << day
                                              << QString("nav.csv の 2 行目: 基準日は YYYY-MM-DD か YYYY/M/D で書きます: 24/6/10");
        QTest::newRow("a NAV with a fraction") << row("2024-06-10,A,10500.5,150\n") << QString("A") << day
                                               << QString("nav.csv の 2 行目: 基準価額は整数です: 10500.5");
        QTest::newRow("no NAV") << row("2024-06-10,A,-,150\n") << QString("A") << day
                                << QString("nav.csv の 2 行目: 基準価額がありません");
        QTest::newRow("a NAV of 0") << row("2024-06-10,A,0,150\n") << QString("A") << day
                                    << QString("nav.csv の 2 行目: 基準価額は 1 以上の整数です: 0");
        QTest::newRow("a distribution below 0") << row("2024-06-10,A,10500,-150\n") << QString("A") << day
                                                << QString("nav.csv の 2 行目: 分配金は 0 以上の整数です: -150");
        QTest::newRow("no fund") << row("2024-06-10,,10500,150\n") << QString("A") << day
                                 << QString("nav.csv の 2 行目: 銘柄がありません");
        QTest::newRow("an unquoted 10,500") << row("2024-06-10,A,10,500,150\n") << QString("A") << day
                                            << QString("nav.csv の 2 行目: 列が 5 個あります（見出しは 4 個）");
    }
    void lastDistribution()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, fund);
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        QCOMPARE(lookUp(input, fund, date), expected);
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(NavHistoryTest)
#include "tst_nav_history.moc"
