#include "core/number_text.h"

#include <QtTest>

#include <limits>

namespace {
const NumberFormat kPlain; // "." and ","
constexpr int kOk = -1;    // "problem" column value for an accepted text

template <class T>
int problemOf(const Parsed<T>& parsed) { return parsed ? kOk : static_cast<int>(parsed.why()); }
int code(InputProblem p) { return static_cast<int>(p); }

// The separators of a locale as the windows take them from the system.
NumberFormat formatOf(const QString& locale)
{
    return locale == u"C" ? kPlain : NumberFormat::fromLocale(QLocale(locale));
}
} // namespace

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    // What is a number at all; the same for every field type.
    void grammar_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<double>("value");
        const int nan = code(InputProblem::NotANumber);
        const int empty = code(InputProblem::Empty);
        const auto row = [](const char* name, const char* locale, const QString& text, int problem,
                            double value = 0) {
            QTest::newRow(name) << QString::fromLatin1(locale) << text << problem << value;
        };
        row("plain", "C", "10000", kOk, 10000);
        row("grouped thousands", "C", "1,000", kOk, 1000);
        row("grouped, two digits first", "C", "12,345", kOk, 12345);
        row("grouped, three digits first", "C", "123,456", kOk, 123456);
        row("grouped millions with a fraction", "C", "-1,234,567.25", kOk, -1234567.25);
        row("grouped with a fraction", "C", "1,000.5", kOk, 1000.5);
        row("grouped, then a bare point", "C", "1,000.", kOk, 1000);
        row("comma for the point", "C", "0,3", nan);
        row("comma for the point in a rate", "C", "3,24", nan);
        row("separator after one digit", "C", "1,5", nan);
        row("group of two", "C", "12,34", nan);
        row("group of four", "C", "1,0000", nan);
        row("last group short", "C", "1,000,00", nan);
        row("separator between every digit", "C", "1,0,0,0,0", nan);
        row("first group of four", "C", "1234,567", nan);
        row("grouped after a lone zero", "C", "0,300", nan);
        row("grouped after a leading zero", "C", "012,345", nan);
        row("double separator", "C", "1,,000", nan);
        row("leading separator", "C", ",5", nan);
        row("trailing separator", "C", "1,", nan);
        row("separator in the fraction", "C", "1.000,5", nan);
        row("lone point", "C", ".", nan);
        row("leading point", "C", ".5", kOk, 0.5);
        row("trailing point", "C", "5.", kOk, 5);
        row("two points", "C", "1.2.3", nan);
        row("empty", "C", "", empty);
        row("spaces only", "C", "   ", empty);
        row("tab and line breaks only", "C", "\t\r\n", empty);
        row("ideographic space only", "C", QStringLiteral("\u3000"), empty);
        row("surrounding spaces", "C", "  12  ", kOk, 12);
        row("pasted cell ending in a tab", "C", "10000\t", kOk, 10000);
        row("pasted cell ending in a line break", "C", "10000\n", kOk, 10000);
        row("pasted cell ending in CR LF", "C", "10000\r\n", kOk, 10000);
        row("tabs and ideographic spaces around", "C", QStringLiteral("\t\u300012\u3000\n"), kOk,
            12);
        row("no-break spaces around", "C", QStringLiteral("\u00A012\u00A0"), kOk, 12);
        row("line and paragraph separators around", "C", QStringLiteral("\u202812\u2029"), kOk, 12);
        row("space inside", "C", "1 2", nan);
        row("tab inside", "C", "1\t000", nan);
        row("ideographic space inside", "C", QStringLiteral("1\u3000000"), nan);
        row("space after the sign", "C", "- 5", nan);
        row("sign after spaces", "C", " -5", kOk, -5);
        row("plus sign", "C", "+12", kOk, 12);
        row("double sign", "C", "--1", nan);
        row("plus alone", "C", "+", nan);
        row("minus alone", "C", "-", nan);
        row("letters", "C", "abc", nan);
        row("exponent", "C", "1e5", nan);
        row("hexadecimal", "C", "0x10", nan);
        row("currency sign", "C", QStringLiteral("¥5"), nan);
        row("NaN", "C", "NaN", nan);
        row("inf", "C", "inf", nan);
        row("control character", "C", QStringLiteral("1\u00072"), nan);
        row("zero-width space", "C", QStringLiteral("\u200B12"), nan);
        row("right-to-left mark", "C", QStringLiteral("\u200F12"), nan);
        row("emoji", "C", QStringLiteral("1\U0001F4B4"), nan);
        row("full-width digits", "C", QStringLiteral("１２３"), kOk, 123);
        row("full-width minus", "C", QStringLiteral("－５"), kOk, -5);
        row("full-width plus", "C", QStringLiteral("＋５"), kOk, 5);
        row("full-width grouped", "C", QStringLiteral("１，０００"), kOk, 1000);
        row("full-width point", "C", QStringLiteral("０．３"), kOk, 0.3);
        row("full-width comma for the point", "C", QStringLiteral("０，３"), nan);
        row("full-width exponent", "C", QStringLiteral("１ｅ５"), nan);
        row("superscript two", "C", QStringLiteral("1²"), nan);
        row("circled digits", "C", QStringLiteral("①②"), nan);
        row("vulgar fraction", "C", QStringLiteral("½"), nan);
        row("Arabic-Indic digits", "C", QStringLiteral("١٢"), nan);
        row("mathematical bold digits", "C", QStringLiteral("𝟏𝟐"), nan);
        row("small comma", "C", QStringLiteral("1﹐000"), nan);
        row("one-dot leader", "C", QStringLiteral("1․5"), nan);
        row("Japanese grouped", "ja_JP", "1,000.5", kOk, 1000.5);
        row("Japanese comma for the point", "ja_JP", "0,3", nan);
        row("German grouped", "de_DE", "1.000,5", kOk, 1000.5);
        row("German decimal comma", "de_DE", "0,3", kOk, 0.3);
        row("German point after one digit", "de_DE", "1.5", nan);
        row("German default written with a point", "de_DE", "0.3", nan);
        row("German point in the fraction", "de_DE", "1,000.5", nan);
        row("German full-width", "de_DE", QStringLiteral("１．２３４，５"), kOk, 1234.5);
        row("French grouped with a space", "fr_FR", "1 000,5", kOk, 1000.5);
        row("French grouped with a no-break space", "fr_FR", QStringLiteral("1\u00A0000"), kOk,
            1000);
        row("French grouped with a narrow no-break space", "fr_FR", QStringLiteral("1\u202F000"),
            kOk, 1000);
        row("French space after two digits", "fr_FR", "10 00", nan);
        row("French point", "fr_FR", "1.5", nan);
    }
    void grammar()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(double, value);
        const NumberFormat format = formatOf(locale);
        const auto binary = parseDouble(text, format);
        const auto integer = parseInteger(text, format, IntegerRange::narrow());
        const auto currency = parseCurrency(text, format);
        QCOMPARE(problemOf(binary), problem);
        if (problem == kOk) {
            QCOMPARE(*binary, value);
            // The other fields take it too, unless it is beyond their range.
            QVERIFY(integer || integer.why() == InputProblem::OutOfIntegerRange);
            QVERIFY(currency || currency.why() == InputProblem::TooLarge);
        } else {
            QCOMPARE(problemOf(integer), problem);
            QCOMPARE(problemOf(currency), problem);
        }
    }

    void integerField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<int>("value");
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
        QTest::newRow("grouped beyond range") << "32,768" << range << 0;
        QTest::newRow("10,000 digits") << QString(10000, u'9') << range << 0;
        QTest::newRow("leading zeros") << "000000000000000000000000012" << kOk << 12;
        QTest::newRow("grouped") << "1,234" << kOk << 1234;
        QTest::newRow("grouped with a tie") << "1,000.5" << kOk << 1000;
        QTest::newRow("leading point") << ".5" << kOk << 0;
        QTest::newRow("trailing point") << "5." << kOk << 5;
        QTest::newRow("wide: a purchase of 100,000") << "wide 100,000" << kOk << 100000;
        QTest::newRow("wide: -32769") << "wide -32769" << kOk << -32769;
        QTest::newRow("full-width point") << QStringLiteral("１２．５") << kOk << 12;
    }
    void integerField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(int, value);
        // A row marked "wide " is read in the wide range, every other one in the narrow.
        const bool wide = text.startsWith(QStringLiteral("wide "));
        const auto parsed = parseInteger(wide ? text.mid(5) : text, kPlain,
                                         wide ? IntegerRange::wide() : IntegerRange::narrow());
        QCOMPARE(problemOf(parsed), problem);
        if (parsed)
            QCOMPARE(int(*parsed), value);
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
        QTest::newRow("separated with a fraction") << "-1,234,567.25" << kOk << qint64(-12345672500);
        QTest::newRow("largest") << "922337203685477.5807" << kOk << std::numeric_limits<qint64>::max();
        QTest::newRow("largest, rounded down") << "922337203685477.58074" << kOk
                                               << std::numeric_limits<qint64>::max();
        QTest::newRow("one past largest") << "922337203685477.5808" << large << qint64(0);
        QTest::newRow("rounds past largest") << "922337203685477.58075" << large << qint64(0);
        QTest::newRow("smallest") << "-922337203685477.5808" << kOk << std::numeric_limits<qint64>::min();
        QTest::newRow("one below smallest") << "-922337203685477.5809" << large << qint64(0);
        QTest::newRow("10,000 digits") << QString(10000, u'7') << large << qint64(0);
        QTest::newRow("full-width") << "１０００００" << kOk << qint64(1000000000);
    }
    void currencyField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(qint64, raw);
        const auto parsed = parseCurrency(text, kPlain);
        QCOMPARE(problemOf(parsed), problem);
        if (parsed)
            QCOMPARE(parsed->raw(), raw);
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
        QTest::newRow("far too small is zero") << "0." + QString(400, u'0') + "1" << kOk << 0.0;
        QTest::newRow("far too large") << "1" + QString(400, u'0') << code(InputProblem::TooLarge) << 0.0;
    }
    void doubleField()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(double, value);
        const auto parsed = parseDouble(text, kPlain);
        QCOMPARE(problemOf(parsed), problem);
        if (parsed)
            QCOMPARE(*parsed, value);
    }

    // A box's initial text is shown so that, untouched, it reads as its default.
    void initialText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("retention default, C") << "C" << "0.3" << "0.3";
        QTest::newRow("retention default, Japanese") << "ja_JP" << "0.3" << "0.3";
        QTest::newRow("retention default, German") << "de_DE" << "0.3" << "0,3";
        QTest::newRow("retention default, French") << "fr_FR" << "0.3" << "0,3";
        QTest::newRow("whole number, German") << "de_DE" << "5" << "5";
        QTest::newRow("negative, German") << "de_DE" << "-2.5" << "-2,5";
        QTest::newRow("leading point, German") << "de_DE" << ".5" << ",5";
        QTest::newRow("trailing point, German") << "de_DE" << "5." << "5,";
        QTest::newRow("grouped stays, German") << "de_DE" << "1,000.5" << "1,000.5";
        QTest::newRow("two points stay, German") << "de_DE" << "1.2.3" << "1.2.3";
        QTest::newRow("lone point stays, German") << "de_DE" << "." << ".";
        QTest::newRow("sign after a digit stays, German") << "de_DE" << "1-.5" << "1-.5";
        QTest::newRow("empty stays, German") << "de_DE" << "" << "";
    }
    void initialText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        const NumberFormat format = formatOf(locale);
        QCOMPARE(localizedInitialText(text, format), shown);
        // What is rewritten reads in the locale as the text reads with a point.
        if (shown != text)
            QCOMPARE(parseDouble(shown, format).optional(), parseDouble(text, kPlain).optional());
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(NumberTextTest)
#include "tst_number_text.moc"
