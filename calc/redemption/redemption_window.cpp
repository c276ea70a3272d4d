#include "redemption_window.h"

#include "calc/calculators.h"
#include "redemption_calculation.h"
#include "redemption_statement_window.h"
#include "widgets/form_controls.h"
#include "widgets/message_box.h"

#include <QLocale>

frmWithdraw::frmWithdraw(CalcRecord& record)
    : FixedDialog(QStringLiteral("Miroven-解約"), QStringLiteral(":/icons/redemption.svg"),
                  {2385, 3540, 4785, 1680}),
      record_(record)
{
    setObjectName(QStringLiteral("frmWithdraw"));

    // Captions first, so each box can name its own; labels never take the focus.
    Label1_ = addCaptionLabel(this, QStringLiteral("Label1"), redemptionBoxCaption(0), 240, 120);
    Label2_ = addCaptionLabel(this, QStringLiteral("Label2"), redemptionBoxCaption(1), 240, 480);
    Label3_ = addCaptionLabel(this, QStringLiteral("Label3"), redemptionBoxCaption(2), 240, 840);
    Label4_ = addCaptionLabel(this, QStringLiteral("Label4"), redemptionBoxCaption(3), 240, 1200);

    // Focusable controls in tab order.
    txtCBL_ = addTextBox(this, QStringLiteral("txtCBL"), QStringLiteral("0"), {2280, 120, 1095, 270},
                         Label1_);
    txtNBL_ = addTextBox(this, QStringLiteral("txtNBL"), QStringLiteral("0"), {2280, 480, 1095, 270},
                         Label2_);
    txtOA_ = addTextBox(this, QStringLiteral("txtOA"), QStringLiteral("0"), {2280, 840, 1095, 270},
                        Label3_);
    txtFee_ = addTextBox(this, QStringLiteral("txtFee"), QStringLiteral("0.3"),
                         {2280, 1200, 615, 270}, Label4_, Align::Right);
    auto* cmdCalc = addButton(this, QStringLiteral("cmdCalc"), QStringLiteral("計算"),
                              {3600, 120, 1095, 375});
    auto* cmdCancel = addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("終了"),
                                {3600, 600, 1095, 375});
    connect(cmdCalc, &QPushButton::clicked, this, &frmWithdraw::cmdCalc_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmWithdraw::cmdCancel_Click);

    Form_Load();
    txtCBL_->setFocus(Qt::OtherFocusReason);
}

void frmWithdraw::Form_Load()
{
    Label1_->setToolTip(QStringLiteral("10,000口当たりの基準価額を入力してください"));
    Label2_->setToolTip(QStringLiteral("10,000口当たりの現在の基準価額を入力してください"));
    Label3_->setToolTip(QStringLiteral("解約時の所有口数を入力して下さい"));
    Label4_->setToolTip(QStringLiteral("信託留保率を％で入力してください"));
}

QList<InputBox> frmWithdraw::boxesInReadingOrder() const
{
    return {{txtCBL_, redemptionBoxCaption(0)},
            {txtNBL_, redemptionBoxCaption(1)},
            {txtOA_, redemptionBoxCaption(2)},
            {txtFee_, redemptionBoxCaption(3)}};
}

void frmWithdraw::cmdCalc_Click()
{
    const RedemptionTexts texts{txtCBL_->text(), txtNBL_->text(), txtOA_->text(),
                                txtFee_->text()};
    const CalcOutcome outcome =
        runRedemption(record_, texts, NumberFormat::fromLocale(QLocale::system()));
    if (outcome.kind != CalcOutcome::Kind::Done) {
        reportOutcome(this, outcome, record_, boxesInReadingOrder());
        return;
    }
    // The figures are formed before the statement opens, so a fault is reported here
    // instead of opening a statement with figures missing.
    RedemptionFigures figures;
    const CalcOutcome shown = formRedemptionFigures(record_, figures);
    if (shown.kind != CalcOutcome::Kind::Done) {
        reportOutcome(this, shown, record_, boxesInReadingOrder());
        return;
    }
    frmWithdrawShow statement(figures);
    statement.exec();
}

void frmWithdraw::cmdCancel_Click() { close(); }

void showRedemptionWindow(CalcRecord& record)
{
    frmWithdraw window(record);
    window.exec();
}
