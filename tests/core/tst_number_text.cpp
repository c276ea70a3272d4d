#include "core/number_text.h"

#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(InputProblem)

namespace {
const NumberFormat kPlain; // "." and ","
constexpr int kOk = -1;    // "problem" column value for an accepted text

int problemOf(bool accepted, InputProblem p) { return accepted ? kOk : static_cast<int>(p); }
int code(InputProblem p) { return static_cast<int>(p); }
} // namespace

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void integerField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("value");
        const int nan = code(InputProblem::NotANumber);
        const int range = code(InputProblem::OutOfIntegerRange);
        QTest::newRow("plain") << "10000" << kOk << 10000;
        QTest::newRow("0.4 is zero") << "0.4" << kOk << 0;
        QTest::newRow("0.5 ties to 0") << "0.5" << kOk << 0;
        QTest::newRow("1.5 ties to 2") << "1.5" << kOk << 2;
        QTest::newRow("2.5 ties to 2") << "2.5" << kOk << 2;
        QTest::newRow("3.5 ties to 4") << "3.5" << kOk << 4;
        QTest::newRow("-2.5 ties to -2") << "-2.5" << kOk << -2;
        QTest::newRow("just past a tie rounds up") << "2.5000000000000000000001" << kOk << 3;
        QTest::newRow("largest") << "32767" << kOk << 32767;
        QTest::newRow("one past largest") << "32768" << range << 0;
        QTest::newRow("32767.5 ties out of range") << "32767.5" << range << 0;
        QTest::newRow("smallest") << "-32768" << kOk << -32768;
        QTest::newRow("-32768.5 ties to -32768") << "-32768.5" << kOk << -32768;
        QTest::newRow("one below smallest") << "-32769" << range << 0;
        QTest::newRow("10,000 digits") << QString(10000, u'9') << range << 0;
        QTest::newRow("leading zeros") << "000000000000000000000000012" << kOk << 12;
        QTest::newRow("surrounding spaces") << "  12  " << kOk << 12;
        QTest::newRow("plus sign") << "+12" << kOk << 12;
        QTest::newRow("group separator") << "1,234" << kOk << 1234;
        QTest::newRow("separator anywhere between digits") << "1,2,3" << kOk << 123;
        QTest::newRow("separated with a tie") << "1,000.5" << kOk << 1000;
        QTest::newRow("lone point") << "." << nan << 0;
        QTest::newRow("leading point") << ".5" << kOk << 0;
        QTest::newRow("trailing point") << "5." << kOk << 5;
        QTest::newRow("full-width digits") << "１２３" << kOk << 123;
        QTest::newRow("full-width minus") << "－５" << kOk << -5;
        QTest::newRow("full-width separator") << "１，０００" << kOk << 1000;
        QTest::newRow("full-width point") << "１２．５" << kOk << 12;
        QTest::newRow("ideographic spaces") << "　7　" << kOk << 7;
        QTest::newRow("empty") << "" << code(InputProblem::Empty) << 0;
        QTest::newRow("spaces only") << "   " << code(InputProblem::Empty) << 0;
        QTest::newRow("letters") << "abc" << nan << 0;
        QTest::newRow("exponent") << "1e5" << nan << 0;
        QTest::newRow("hexadecimal") << "0x10" << nan << 0;
        QTest::newRow("double sign") << "--1" << nan << 0;
        QTest::newRow("sign alone") << "+" << nan << 0;
        QTest::newRow("minus alone") << "-" << nan << 0;
        QTest::newRow("space after sign") << "- 5" << nan << 0;
        QTest::newRow("double separator") << "1,,000" << nan << 0;
        QTest::newRow("leading separator") << ",1" << nan << 0;
        QTest::newRow("trailing separator") << "1," << nan << 0;
        QTest::newRow("separator in fraction") << "1.0,0" << nan << 0;
        QTest::newRow("two points") << "1.2.3" << nan << 0;
        QTest::newRow("inner space") << "1 2" << nan << 0;
        QTest::newRow("currency sign") << "¥5" << nan << 0;
        QTest::newRow("NaN") << "NaN" << nan << 0;
        QTest::newRow("inf") << "inf" << nan << 0;
        QTest::newRow("control character") << QStringLiteral("1\u00072") << nan << 0;
        QTest::newRow("right-to-left mark") << QStringLiteral("\u200F12") << nan << 0;
        QTest::newRow("emoji") << QStringLiteral("1\U0001F4B4") << nan << 0;
    }
    void integerField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(int, value);
        const auto parsed = parseInteger(text, kPlain);
        QCOMPARE(problemOf(parsed.value.has_value(), parsed.problem), problem);
        if (parsed.value)
            QCOMPARE(int(*parsed.value), value);
    }

    void currencyField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<qint64>("raw");
        const int large = code(InputProblem::TooLarge);
        QTest::newRow("below half of the last place") << "0.00004" << kOk << qint64(0);
        QTest::newRow("0.00005 ties to 0") << "0.00005" << kOk << qint64(0);
        QTest::newRow("0.00015 ties to 0.0002") << "0.00015" << kOk << qint64(2);
        QTest::newRow("0.00025 ties to 0.0002") << "0.00025" << kOk << qint64(2);
        QTest::newRow("past the tie") << "0.000050001" << kOk << qint64(1);
        QTest::newRow("fraction of a unit") << "1234.5" << kOk << qint64(12345000);
        QTest::newRow("negative") << "-9694.6195" << kOk << qint64(-96946195);
        QTest::newRow("separated") << "1,000,000" << kOk << qint64(10000000000);
        QTest::newRow("largest") << "922337203685477.5807" << kOk << std::numeric_limits<qint64>::max();
        QTest::newRow("largest, rounded down") << "922337203685477.58074" << kOk
                                               << std::numeric_limits<qint64>::max();
        QTest::newRow("one past largest") << "922337203685477.5808" << large << qint64(0);
        QTest::newRow("rounds past largest") << "922337203685477.58075" << large << qint64(0);
        QTest::newRow("smallest") << "-922337203685477.5808" << kOk << std::numeric_limits<qint64>::min();
        QTest::newRow("one below smallest") << "-922337203685477.5809" << large << qint64(0);
        QTest::newRow("10,000 digits") << QString(10000, u'7') << large << qint64(0);
        QTest::newRow("full-width") << "１０００００" << kOk << qint64(1000000000);
        QTest::newRow("empty") << "" << code(InputProblem::Empty) << qint64(0);
        QTest::newRow("letters") << "x" << code(InputProblem::NotANumber) << qint64(0);
    }
    void currencyField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(qint64, raw);
        const auto parsed = parseCurrency(text, kPlain);
        QCOMPARE(problemOf(parsed.value.has_value(), parsed.problem), problem);
        if (parsed.value)
            QCOMPARE(parsed.value->raw(), raw);
    }

    void doubleField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "3" << kOk << 3.0;
        QTest::newRow("fraction is the nearest double") << "3.15" << kOk << 3.15;
        QTest::newRow("retention default") << "0.3" << kOk << 0.3;
        QTest::newRow("negative") << "-100" << kOk << -100.0;
        QTest::newRow("leading point") << ".5" << kOk << 0.5;
        QTest::newRow("far too small is zero") << "0." + QString(400, u'0') + "1" << kOk << 0.0;
        QTest::newRow("far too large") << "1" + QString(400, u'0') << code(InputProblem::TooLarge) << 0.0;
        QTest::newRow("exponent refused") << "1e5" << code(InputProblem::NotANumber) << 0.0;
        QTest::newRow("inf refused") << "inf" << code(InputProblem::NotANumber) << 0.0;
        QTest::newRow("blank") << " " << code(InputProblem::Empty) << 0.0;
    }
    void doubleField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(double, value);
        const auto parsed = parseDouble(text, kPlain);
        QCOMPARE(problemOf(parsed.value.has_value(), parsed.problem), problem);
        if (parsed.value)
            QCOMPARE(*parsed.value, value);
    }

    // The separators follow the user's locale; full-width forms follow them too.
    void localeSeparators()
    {
        const NumberFormat german = NumberFormat::fromLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(german.decimalPoint, QChar(u','));
        QCOMPARE(german.groupSeparator, QChar(u'.'));
        QCOMPARE(*parseDouble(QStringLiteral("1.234,5"), german).value, 1234.5);
        QCOMPARE(int(*parseInteger(QStringLiteral("１．２３４，５"), german).value), 1234);
        QVERIFY(!parseDouble(QStringLiteral("1,2,3"), german).value);

        const NumberFormat japanese = NumberFormat::fromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
        QCOMPARE(japanese.decimalPoint, QChar(u'.'));
        QCOMPARE(japanese.groupSeparator, QChar(u','));
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "tst_number_text.moc"
