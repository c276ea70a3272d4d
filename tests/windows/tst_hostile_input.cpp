// Every box of every calculator given hostile text through the real window: each gives
// either the right figures or the right message, the window stays open with the
// entries as typed, and a refused box has the focus with its text selected.
#include "calc/distribution/distribution_calculation.h"
#include "windows/distribution/distribution_window.h"
#include "calc/purchase/purchase_calculation.h"
#include "windows/purchase/purchase_window.h"
#include "calc/redemption/redemption_calculation.h"
#include "windows/redemption/redemption_window.h"
#include "app/application_setup.h"
#include "core/figures.h"
#include "calc/outcome_text.h"
#include "core/messages.h"
#include "support/controls.h"
#include "support/modal.h"
#include "support/working.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum class Kind { Integer, Currency, Double };

// What a calculator's window and its rules look like from outside.
struct Subject {
    std::function<std::unique_ptr<QDialog>(CalcRecord&)> open;
    QStringList boxes;    // in reading order
    QStringList captions; // as the messages name them
    QList<Kind> kinds;
    QStringList example;  // a worked example that completes
    QStringList labels;   // the statement's value labels, top to bottom
    // The pure calculation and statement: the figures, or empty when none is shown.
    std::function<QStringList(CalcRecord&, const QStringList&, CalcEnd&)> expect;
};

const NumberFormat kFormat = NumberFormat::fromLocale(QLocale::system());

// The figures as the statement would show them, or none when it would not open.
template <class Figures>
QStringList shown(const StatementDecl<Figures>& decl, CalcEnd& outcome, const CalcOutcome<Figures>& formed)
{
    outcome = formed;
    return bool(formed) ? shownTexts(decl, formed.value()) : QStringList();
}

const Subject& purchase()
{
    static const Subject c{
        [](CalcRecord& r) { return std::make_unique<frmBuy>(r); },
        {"txtIM", "txtFP1", "txtFP2", "txtBL"},
        {"購入資金", "販売手数料(%)", "消費税(%)", "基準価額"},
        {Kind::Integer, Kind::Double, Kind::Double, Kind::Integer},
        {"10000", "3", "5", "10000"},
        {"lblOA", "lblIM", "lblFP", "lblTI"},
        [](CalcRecord& r, const QStringList& t, CalcEnd& outcome) {
            return shown(kPurchaseStatement, outcome,
                         calculatePurchase(r, BoxTexts::inReadingOrder(kPurchaseBoxes, t), false, kFormat));
        }};
    return c;
}

const Subject& redemption()
{
    static const Subject c{
        [](CalcRecord& r) { return std::make_unique<frmWithdraw>(r); },
        {"txtCBL", "txtNBL", "txtOA", "txtFee"},
        {"元本の基準価額", "現在の基準価額", "所有口数", "信託留保(%)"},
        {Kind::Integer, Kind::Integer, Kind::Currency, Kind::Double},
        {"10000", "12000", "100000", localizedInitialText("0.3", kFormat)},
        {"lblIM", "lblTax", "lblFee", "lblGain"},
        [](CalcRecord& r, const QStringList& t, CalcEnd& outcome) {
            return shown(kRedemptionStatement, outcome,
                         calculateRedemption(r, BoxTexts::inReadingOrder(kRedemptionBoxes, t), kFormat));
        }};
    return c;
}

const Subject& distribution()
{
    static const Subject c{
        [](CalcRecord& r) { return std::make_unique<frmDiv>(r); },
        {"txtCBL", "txtNBL", "txtDiv", "txtOA"},
        {"元本の基準価額", "分配後の基準価額", "分配金", "所有口数"},
        {Kind::Integer, Kind::Integer, Kind::Integer, Kind::Currency},
        {"10000", "9950", "1000", "100000"},
        {"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"},
        [](CalcRecord& r, const QStringList& t, CalcEnd& outcome) {
            return shown(kDistributionStatement, outcome,
                         calculateDistribution(r, BoxTexts::inReadingOrder(kDistributionBoxes, t), kFormat));
        }};
    return c;
}

// How each hostile text must be read, by field type; no problem means a number.
struct Hostile {
    const char* name;
    QString text;
    std::optional<InputProblem> integer, currency, binary;
};

QList<Hostile> hostileTexts()
{
    using P = InputProblem;
    const auto same = [](const char* name, const QString& text, std::optional<P> p) {
        return Hostile{name, text, p, p, p};
    };
    // Written with '.' as the decimal point and ',' between thousands (also full-width);
    // typed with the locale's own, so each row means the same in every locale.
    const auto local = [](QString text) {
        for (QChar& c : text) {
            const char16_t shift = c.unicode() >= 0xFF01 ? 0xFEE0 : 0;
            const QChar plain(char16_t(c.unicode() - shift));
            const QChar typed = plain == u'.'   ? kFormat.decimalPoint
                                : plain == u',' ? kFormat.groupSeparator
                                                : plain;
            c = QChar(char16_t(typed.unicode() + shift));
        }
        return text;
    };
    const std::optional<P> number;
    const auto numberWhereCommaIsPoint = kFormat.decimalPoint == u',' ? number : P::NotANumber;
    const auto numberWherePointIsPoint = kFormat.decimalPoint == u'.' ? number : P::NotANumber;
    return {
        same("empty", "", P::Empty),
        same("spaces only", "   ", P::Empty),
        same("letters", "abc", P::NotANumber),
        same("exponent", "1e5", P::NotANumber),
        same("hexadecimal", "0x10", P::NotANumber),
        same("double minus", "--1", P::NotANumber),
        same("double separator", local("1,,000"), P::NotANumber),
        same("leading separator", local(",1"), P::NotANumber),
        same("trailing point", local("1."), std::nullopt),
        same("leading point", local(".5"), std::nullopt),
        same("full-width digits", QStringLiteral("１２３"), std::nullopt),
        Hostile{"10,000 digits", QString(10000, u'9'), P::OutOfIntegerRange, P::TooLarge, P::TooLarge},
        same("NaN", "NaN", P::NotANumber),
        same("inf", "inf", P::NotANumber),
        same("control characters", QStringLiteral("1\u0001\u001b2"), P::NotANumber),
        same("right-to-left mark", QStringLiteral("\u200F123"), P::NotANumber),
        same("emoji", QStringLiteral("\U0001F4B4"), P::NotANumber),
        same("grouped thousands", local("1,000"), std::nullopt),
        same("grouped with a fraction", local("1,000.5"), std::nullopt),
        Hostile{"grouped millions", local("-1,234,567.25"), P::OutOfIntegerRange, std::nullopt,
                std::nullopt},
        same("separator for the point", local("0,3"), P::NotANumber),
        same("separator for the point in a rate", local("3,24"), P::NotANumber),
        same("separator between every digit", local("1,0,0,0,0"), P::NotANumber),
        same("group of two", local("12,34"), P::NotANumber),
        same("group of four", local("1,0000"), P::NotANumber),
        same("grouped after a zero", local("0,300"), P::NotANumber),
        same("trailing separator", local("1,"), P::NotANumber),
        same("separator in the fraction", local("1.0,0"), P::NotANumber),
        same("typed with a comma", "0,3", numberWhereCommaIsPoint),
        same("typed with a point", "0.3", numberWherePointIsPoint),
        same("full-width point", local(QStringLiteral("０．３")), std::nullopt),
        same("full-width separator for the point", local(QStringLiteral("０，３")),
             P::NotANumber),
        same("superscript", QStringLiteral("1²"), P::NotANumber),
        same("circled digits", QStringLiteral("①②"), P::NotANumber),
        same("pasted cell with a tab", "10000\t", std::nullopt),
        same("pasted cell with a line break", "10000\r\n", std::nullopt),
        same("ideographic spaces around", QStringLiteral("\u3000１２\u3000"), std::nullopt),
        same("tab inside", "100\t00", P::NotANumber),
    };
}

// The message for an outcome, a refused box named by the test's own caption list.
QString messageFor(const CalcEnd& o, const CalcRecord& r, const QString& refusedCaption)
{
    switch (o.kind()) {
    case CalcEnd::Kind::MissingInput:
        return missingInputMessage(r.ErrNo);
    case CalcEnd::Kind::InputRefused:
        return inputRefusalText(refusedCaption, o.problem(), r.range);
    case CalcEnd::Kind::Overflow:
        return figureOverflowText(o.figure());
    case CalcEnd::Kind::Invalid:
        return invalidOperationText();
    case CalcEnd::Kind::Done:
        break;
    }
    return {};
}

} // namespace

using namespace support;

Q_DECLARE_METATYPE(const Subject*)

class HostileInputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qApp); }
    void cleanup()
    {
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QTRY_COMPARE(visibleTopLevelCount(), 0);
    }

    void everyBox_data()
    {
        QTest::addColumn<const Subject*>("calculator");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem"); // -1: read as a number
        const QList<QPair<const char*, const Subject*>> calculators = {
            {"purchase", &purchase()}, {"redemption", &redemption()}, {"distribution", &distribution()}};
        for (const auto& [name, calc] : calculators) {
            for (int box = 0; box < calc->boxes.size(); ++box) {
                for (const Hostile& h : hostileTexts()) {
                    const Kind kind = calc->kinds[box];
                    const auto p = kind == Kind::Integer    ? h.integer
                                   : kind == Kind::Currency ? h.currency
                                                            : h.binary;
                    QTest::addRow("%s %s %s", name, qPrintable(calc->boxes[box]), h.name)
                        << calc << box << h.text << (p ? int(*p) : -1);
                }
            }
        }
    }

    void everyBox()
    {
        QFETCH(const Subject*, calculator);
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(int, problem);
        const Subject& calc = *calculator;
        QStringList texts = calc.example;
        texts[box] = text;

        // What the rules say must happen.
        CalcRecord expectedRecord;
        CalcEnd expected = CalcOutcome<>(CalcFault::invalid()); // set by expect()
        const QStringList expectedFigures = calc.expect(expectedRecord, texts, expected);
        if (problem >= 0) {
            QCOMPARE(expected.kind(), CalcEnd::Kind::InputRefused);
            QCOMPARE(expected.box()->name, calc.boxes[box]);
            QCOMPARE(int(expected.problem()), problem);
        } else {
            QVERIFY(expected.kind() != CalcEnd::Kind::InputRefused);
        }

        // What the window does.
        CalcRecord record;
        const std::unique_ptr<QDialog> window = calc.open(record);
        QVERIFY(showAndActivate(window.get()));
        typeAll(window.get(), calc.boxes, texts);
        ModalWatch opened(calc.labels);
        click(window.get(), QStringLiteral("cmdCalc"));
        QVERIFY2(opened.closed(), opened.why());

        const bool message = opened.seen().className == QLatin1String("QMessageBox");
        if (expected.kind() == CalcEnd::Kind::Done) {
            QVERIFY2(!message, qPrintable(opened.seen().text));
            QCOMPARE(opened.seen().texts, expectedFigures);
        } else {
            QVERIFY2(message, qPrintable(opened.seen().name));
            QCOMPARE(opened.seen().text, messageFor(expected, expectedRecord, calc.captions[box]));
        }
        QVERIFY(window->isVisible());
        QCOMPARE(textsOf(window.get(), calc.boxes), texts);
        if (expected.kind() == CalcEnd::Kind::InputRefused) {
            auto* refused = child<QLineEdit>(window.get(), calc.boxes[box]);
            QVERIFY(refused);
            QCOMPARE(window->focusWidget(), refused);
            QCOMPARE(refused->selectedText(), text);
        }
        window->close();
    }
};

#include "test_main.h"
MIROVEN_TEST_MAIN(HostileInputTest)
#include "tst_hostile_input.moc"
