// Every box of every calculator given hostile text through the real window: each gives
// either the right figures or the right message, the window stays open with the
// entries as typed, and a refused box has the focus with its text selected.
#include "calc/distribution/distribution_calculation.h"
#include "calc/distribution/distribution_window.h"
#include "calc/purchase/purchase_calculation.h"
#include "calc/purchase/purchase_figures.h"
#include "calc/purchase/purchase_window.h"
#include "calc/redemption/redemption_calculation.h"
#include "calc/redemption/redemption_window.h"
#include "app/application_setup.h"
#include "core/figures.h"
#include "core/messages.h"
#include "support/controls.h"
#include "support/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum class Kind { Integer, Currency, Double };

// What a calculator's window and its rules look like from outside.
struct Calculator {
    std::function<std::unique_ptr<QDialog>(CalcRecord&)> open;
    QStringList boxes;    // in reading order
    QStringList captions; // as the messages name them
    QList<Kind> kinds;
    QStringList example;  // a worked example that completes
    QStringList labels;   // the statement's value labels, top to bottom
    // The pure calculation and statement: the figures, or empty when none is shown.
    std::function<QStringList(CalcRecord&, const QStringList&, CalcOutcome&)> expect;
};

const NumberFormat kFormat = NumberFormat::fromLocale(QLocale::system());

const Calculator& purchase()
{
    static const Calculator c{
        [](CalcRecord& r) { return std::make_unique<frmBuy>(r); },
        {"txtIM", "txtFP1", "txtFP2", "txtBL"},
        {"購入資金", "販売手数料(%)", "消費税(%)", "基準価額"},
        {Kind::Integer, Kind::Double, Kind::Double, Kind::Integer},
        {"10000", "3", "5", "10000"},
        {"lblOA", "lblIM", "lblFP", "lblTI"},
        [](CalcRecord& r, const QStringList& t, CalcOutcome& outcome) -> QStringList {
            outcome = runPurchase(r, {t[0], t[1], t[2], t[3]}, false, kFormat);
            if (outcome.kind != CalcOutcome::Kind::Done)
                return {};
            const PurchaseStatement s = purchaseStatement(r, false);
            outcome = s.outcome;
            if (outcome.kind != CalcOutcome::Kind::Done)
                return {};
            return {figureText(s.figures.units), figureText(s.figures.amount),
                    figureText(s.figures.fee), figureText(s.figures.total)};
        }};
    return c;
}

const Calculator& redemption()
{
    static const Calculator c{
        [](CalcRecord& r) { return std::make_unique<frmWithdraw>(r); },
        {"txtCBL", "txtNBL", "txtOA", "txtFee"},
        {"元本の基準価額", "現在の基準価額", "所有口数", "信託留保(%)"},
        {Kind::Integer, Kind::Integer, Kind::Currency, Kind::Double},
        {"10000", "12000", "100000", "0.3"},
        {"lblIM", "lblTax", "lblFee", "lblGain"},
        [](CalcRecord& r, const QStringList& t, CalcOutcome& outcome) -> QStringList {
            outcome = runRedemption(r, {t[0], t[1], t[2], t[3]}, kFormat);
            if (outcome.kind != CalcOutcome::Kind::Done)
                return {};
            RedemptionFigures f;
            outcome = formRedemptionFigures(r, f);
            if (outcome.kind != CalcOutcome::Kind::Done)
                return {};
            return {f.IM, f.Tax, f.Fee, f.Gain};
        }};
    return c;
}

const Calculator& distribution()
{
    static const Calculator c{
        [](CalcRecord& r) { return std::make_unique<frmDiv>(r); },
        {"txtCBL", "txtNBL", "txtDiv", "txtOA"},
        {"元本の基準価額", "分配後の基準価額", "分配金", "所有口数"},
        {Kind::Integer, Kind::Integer, Kind::Integer, Kind::Currency},
        {"10000", "9950", "1000", "100000"},
        {"lblDiv1", "lblDiv2", "lblTax", "lblDiv3", "lblCBL"},
        [](CalcRecord& r, const QStringList& t, CalcOutcome& outcome) -> QStringList {
            outcome = runDistribution(r, {t[0], t[1], t[2], t[3]}, kFormat);
            if (outcome.kind != CalcOutcome::Kind::Done)
                return {};
            const DistributionStatement s = distributionStatement(r);
            if (!s.figures) {
                outcome = CalcOutcome::overflow(s.overflowFigure);
                return {};
            }
            return {s.figures->taxable, s.figures->nonTaxable, s.figures->tax, s.figures->net,
                    s.figures->principalAfter};
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
    return {
        same("empty", "", P::Empty),
        same("spaces only", "   ", P::Empty),
        same("letters", "abc", P::NotANumber),
        same("exponent", "1e5", P::NotANumber),
        same("hexadecimal", "0x10", P::NotANumber),
        same("double minus", "--1", P::NotANumber),
        same("double separator", "1,,000", P::NotANumber),
        same("leading separator", ",1", P::NotANumber),
        same("trailing point", "1.", std::nullopt),
        same("leading point", ".5", std::nullopt),
        same("full-width digits", QStringLiteral("１２３"), std::nullopt),
        Hostile{"10,000 digits", QString(10000, u'9'), P::OutOfIntegerRange, P::TooLarge, P::TooLarge},
        same("NaN", "NaN", P::NotANumber),
        same("inf", "inf", P::NotANumber),
        same("control characters", QStringLiteral("1\u0001\u001b2"), P::NotANumber),
        same("right-to-left mark", QStringLiteral("\u200F123"), P::NotANumber),
        same("emoji", QStringLiteral("\U0001F4B4"), P::NotANumber),
    };
}

QString messageFor(const CalcOutcome& o, const CalcRecord& r, const QStringList& captions)
{
    switch (o.kind) {
    case CalcOutcome::Kind::MissingInput:
        return missingInputText(r.ErrNo);
    case CalcOutcome::Kind::InputRefused:
        return inputRefusalText(captions.at(o.box), o.problem);
    case CalcOutcome::Kind::Overflow:
        return figureOverflowText(o.figure);
    case CalcOutcome::Kind::Invalid:
        return invalidOperationText();
    case CalcOutcome::Kind::Done:
        break;
    }
    return {};
}

} // namespace

using namespace support;

Q_DECLARE_METATYPE(const Calculator*)

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
        QTest::addColumn<const Calculator*>("calculator");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem"); // -1: read as a number
        const QList<QPair<const char*, const Calculator*>> calculators = {
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
        QFETCH(const Calculator*, calculator);
        QFETCH(int, box);
        QFETCH(QString, text);
        QFETCH(int, problem);
        const Calculator& calc = *calculator;
        QStringList texts = calc.example;
        texts[box] = text;

        // What the rules say must happen.
        CalcRecord expectedRecord;
        CalcOutcome expected;
        const QStringList expectedFigures = calc.expect(expectedRecord, texts, expected);
        if (problem >= 0) {
            QCOMPARE(expected.kind, CalcOutcome::Kind::InputRefused);
            QCOMPARE(expected.box, box);
            QCOMPARE(int(expected.problem), problem);
        } else {
            QVERIFY(expected.kind != CalcOutcome::Kind::InputRefused);
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
        if (expected.kind == CalcOutcome::Kind::Done) {
            QVERIFY2(!message, qPrintable(opened.seen().text));
            QCOMPARE(opened.seen().texts, expectedFigures);
        } else {
            QVERIFY2(message, qPrintable(opened.seen().name));
            QCOMPARE(opened.seen().text, messageFor(expected, expectedRecord, calc.captions));
        }
        QVERIFY(window->isVisible());
        QCOMPARE(textsOf(window.get(), calc.boxes), texts);
        if (expected.kind == CalcOutcome::Kind::InputRefused) {
            auto* refused = child<QLineEdit>(window.get(), calc.boxes[box]);
            QVERIFY(refused);
            QCOMPARE(window->focusWidget(), refused);
            QCOMPARE(refused->selectedText(), text);
        }
        window->close();
    }
};

QTEST_MAIN(HostileInputTest)
#include "tst_hostile_input.moc"
