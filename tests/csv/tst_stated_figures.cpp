#include "csv/stated_figures.h"

#include <QtTest>

using namespace broker;
using namespace ledger;

// A broker's stated figures beside the ledger's: each one that differs is named in the
// row's message, and none when they agree.
class StatedFiguresTest : public QObject {
    Q_OBJECT

private slots:
    void differences_data();
    void differences();
};

namespace {

// "gross,tax,net,settlement" with empty cells for figures the file leaves out.
Stated stated(const QString& cells)
{
    const QStringList parts = cells.split(u',');
    const auto at = [&](qsizetype i) {
        return parts.value(i).isEmpty() ? std::nullopt : std::optional<Integer>(parts.value(i).toLongLong());
    };
    Stated s;
    s.gross = at(0);
    s.tax = at(1);
    s.net = at(2);
    s.settlement = at(3);
    return s;
}

// "ordinary,returned,incomeTax,residentTax,settlement" as the ledger worked them out.
Figures figures(const QString& cells)
{
    const QStringList parts = cells.split(u',');
    const auto at = [&](qsizetype i) {
        return parts.value(i).isEmpty() ? std::nullopt : std::optional<Integer>(parts.value(i).toLongLong());
    };
    Figures f;
    f.ordinary = at(0);
    f.returned = at(1);
    f.incomeTax = at(2);
    f.residentTax = at(3);
    f.settlement = at(4);
    return f;
}

} // namespace

void StatedFiguresTest::differences_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("ledger");
    QTest::addColumn<QString>("expected");

    const int distribution = static_cast<int>(EventKind::Distribution);
    const int reinvestment = static_cast<int>(EventKind::Reinvestment);
    const int purchase = static_cast<int>(EventKind::Purchase);
    const int redemption = static_cast<int>(EventKind::Redemption);
    QTest::newRow("a distribution that agrees") << distribution << "10000,1015,8985," << "5000,5000,765,250," << "";
    QTest::newRow("a distribution's gross") << distribution << "10001,1015,," << "5000,5000,765,250,"
                                            << "ファイルでは分配金（税引前） 10001 円、記帳では 10000 円";
    QTest::newRow("a distribution's tax and net")
        << distribution << ",1036,8964," << "5000,5000,765,250,"
        << "ファイルでは税額 1036 円、記帳では 1015 円。ファイルでは受取金額 8964 円、記帳では 8985 円";
    QTest::newRow("a reinvestment's tax") << reinvestment << ",1000,," << "5066,0,775,253,"
                                          << "ファイルでは税額 1000 円、記帳では 1028 円";
    QTest::newRow("a NISA distribution without taxes") << distribution << "250,0,250," << "0,250,,," << "";
    QTest::newRow("a purchase's 受渡金額, paid") << purchase << ",,,5000" << ",,,,-5000" << "";
    QTest::newRow("a purchase's 受渡金額 that differs") << purchase << ",,,5001" << ",,,,-5000"
                                                       << "ファイルでは受渡金額 5001 円、記帳では 5000 円";
    QTest::newRow("a sale's 受渡金額 after tax") << redemption << ",294,,494706" << ",,222,72,494706" << "";
    QTest::newRow("a sale's 受渡金額 before tax") << redemption << ",294,,495000" << ",,222,72,494706" << "";
    QTest::newRow("a sale's 受渡金額 neither") << redemption << ",,,494000" << ",,222,72,494706"
                                              << "ファイルでは受渡金額 494000 円、記帳では 494706 円";
    QTest::newRow("a sale's tax") << redemption << ",300,,494706" << ",,222,72,494706"
                                  << "ファイルでは税額 300 円、記帳では 294 円";
    QTest::newRow("nothing stated") << redemption << ",,," << ",,222,72,494706" << "";
}

void StatedFiguresTest::differences()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(QString, ledger);
    QFETCH(QString, expected);
    QCOMPARE(statedDifferences(stated(file), static_cast<EventKind>(kind), figures(ledger)), expected);
}

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(StatedFiguresTest)

#include "tst_stated_figures.moc"
