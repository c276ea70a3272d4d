#include "calc/outcome_text.h"
#include "calc/box_decl.h"
#include "core/messages.h"

#include <QtTest>

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void missingInput_data()
    {
        QTest::addColumn<QString>("errNo");
        QTest::addColumn<QString>("text");
        const char16_t* texts[] = {
            u"購入資金が入力されていません",       u"基準価額が入力されていません",
            u"販売手数料(%)が入力されていません",  u"消費税(%)が入力されていません",
            u"元本の基準価額が入力されていません", u"分配後の基準価額が入力されていません",
            u"分配金が入力されていません",         u"所有口数が入力されていません",
            u"元本の基準価額が入力されていません", u"現在の基準価額が入力されていません",
            u"所有口数が入力されていません",       u"信託留保(%)が入力されていません",
        };
        for (int code = 1; code <= 12; ++code)
            QTest::addRow("code %d", code) << QString::number(code) << QString::fromUtf16(texts[code - 1]);
        // The code is read as a number less one, ties to even: 1.5 names index 0, 2.5 index 2.
        QTest::newRow("1.5 names code 1") << "1.5" << QString::fromUtf16(texts[0]);
        QTest::newRow("2.5 names code 3") << "2.5" << QString::fromUtf16(texts[2]);
        QTest::newRow("0 names nothing") << "0" << QString();
        QTest::newRow("13 names nothing") << "13" << QString();
        QTest::newRow("empty names nothing") << "" << QString();
    }
    void missingInput()
    {
        QFETCH(QString, errNo);
        QFETCH(QString, text);
        QCOMPARE(missingInputMessage(errNo), text);
    }

    // The codes and tab places each box declares, as the windows' tables give them.
    void declaredOrder_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("tabIndex");
        const struct {
            const char* row;
            const char* box;
            int tab;
        } rows[] = {
            {"purchase funds", "txtIM", 1}, {"purchase NAV", "txtBL", 2},
            {"purchase fee", "txtFP1", 3}, {"purchase tax", "txtFP2", 4},
            {"distribution principal NAV", "txtCBL", 0}, {"distribution NAV after", "txtNBL", 1},
            {"distribution amount", "txtDiv", 2}, {"distribution units", "txtOA", 3},
            {"redemption principal NAV", "txtCBL", 0}, {"redemption current NAV", "txtNBL", 1},
            {"redemption units", "txtOA", 2}, {"redemption retention", "txtFee", 3},
        };
        int code = 1;
        for (const auto& row : rows)
            QTest::newRow(row.row) << code++ << QString::fromLatin1(row.box) << row.tab;
    }
    void declaredOrder()
    {
        QFETCH(int, code);
        QFETCH(QString, box);
        QFETCH(int, tabIndex);
        const auto boxes = missingInputBoxes();
        QCOMPARE(boxes.size(), std::size_t(12));
        const BoxDecl* declared = boxes.at(std::size_t(code - 1));
        QCOMPARE(declared->missingCode, code);
        QCOMPARE(declared->name.toString(), box);
        QCOMPARE(declared->tabIndex, tabIndex);
    }

    void refusals()
    {
        const QString caption = QStringLiteral("信託留保(%)");
        QCOMPARE(inputRefusalText(caption, InputProblem::Empty, IntegerRange::narrow()), QStringLiteral("信託留保(%)が入力されていません"));
        QCOMPARE(inputRefusalText(caption, InputProblem::NotANumber, IntegerRange::narrow()),
                 QStringLiteral("信託留保(%)には数値を入力してください"));
        QCOMPARE(inputRefusalText(QStringLiteral("購入資金"), InputProblem::OutOfIntegerRange,
                                  IntegerRange::narrow()),
                 QStringLiteral("購入資金には -32768 から 32767 までの数値を入力してください"));
        QCOMPARE(inputRefusalText(QStringLiteral("購入資金"), InputProblem::OutOfIntegerRange,
                                  IntegerRange::wide()),
                 QStringLiteral("購入資金には -9007199254740991 から 9007199254740991 までの数値を入力してください"));
        QCOMPARE(inputRefusalText(caption, InputProblem::TooLarge, IntegerRange::narrow()), QStringLiteral("信託留保(%)の数値が大きすぎます"));
        QCOMPARE(figureOverflowText(QStringLiteral("総投資額")),
                 QStringLiteral("総投資額が計算できる範囲を超えています"));
        QCOMPARE(invalidOperationText(), QStringLiteral("入力された値では計算できません"));
    }
};

#include "test_main.h"
MIROVEN_TEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"
