#include "purchase_window.h"

#include "calc/calculators.h"
#include "core/calc_record.h"
#include "purchase_calculation.h"
#include "purchase_figures.h"
#include "purchase_statement_window.h"
#include "toggle_option.h"
#include "widgets/form_controls.h"
#include "widgets/message_box.h"
#include "widgets/twips.h"

#include <QLocale>

frmBuy::frmBuy(CalcRecord& record)
    : FixedDialog(QStringLiteral("Miroven-購入時"), QStringLiteral(":/icons/purchase.svg"),
                  {2385, 3510, 4680, 2640}),
      record_(record)
{
    setObjectName(QStringLiteral("frmBuy"));

    // Captions first, so each box can take its caption as its name; then the
    // focusable controls in tab order.
    Label1_ = addCaptionLabel(this, QStringLiteral("Label1"), QStringLiteral("購入資金"), 240, 720);
    Label2_ =
        addCaptionLabel(this, QStringLiteral("Label2"), QStringLiteral("販売手数料(%)"), 240, 1680);
    Label3_ =
        addCaptionLabel(this, QStringLiteral("Label3"), QStringLiteral("消費税(%)"), 240, 2040);
    Label4_ =
        addCaptionLabel(this, QStringLiteral("Label4"), QStringLiteral("基準価額"), 240, 1200);

    optChoice_ = new ToggleOption(QStringLiteral("手数料も購入資金でカバーする"), this);
    optChoice_->setObjectName(QStringLiteral("optChoice"));
    optChoice_->setGeometry(twipsRect(240, 240, 2895, 375));
    txtIM_ = addTextBox(this, QStringLiteral("txtIM"), QStringLiteral("0"), {1560, 720, 1335, 270},
                        Label1_);
    txtBL_ = addTextBox(this, QStringLiteral("txtBL"), QStringLiteral("0"), {1560, 1200, 1335, 270},
                        Label4_);
    txtFP1_ = addTextBox(this, QStringLiteral("txtFP1"), QStringLiteral("3"),
                         {1560, 1680, 495, 270}, Label2_, Align::Right);
    txtFP2_ = addTextBox(this, QStringLiteral("txtFP2"), QStringLiteral("5"),
                         {1560, 2040, 495, 270}, Label3_, Align::Right);
    auto* cmdCalc =
        addButton(this, QStringLiteral("cmdCalc"), QStringLiteral("計算"), {3480, 240, 1095, 375});
    auto* cmdCancel = addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("終了"),
                                {3480, 720, 1095, 375});

    connect(optChoice_, &ToggleOption::mouseUp, this, &frmBuy::optChoice_MouseUp);
    connect(cmdCalc, &QPushButton::clicked, this, &frmBuy::cmdCalc_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBuy::cmdCancel_Click);

    optChoice_->setFocus(Qt::OtherFocusReason);
    Form_Load();
}

void frmBuy::Form_Load()
{
    optChoice_->setToolTip(QStringLiteral("手数料が購入資金に含まれるかどうかです"));
    Label1_->setToolTip(QStringLiteral("購入のために支払う金額です"));
    Label4_->setToolTip(QStringLiteral("10,000口当たりの基準価額を入力してください"));
    Label2_->setToolTip(QStringLiteral("販売手数料を%で入力してください"));
    Label3_->setToolTip(QStringLiteral("消費税率です"));
}

QList<InputBox> frmBuy::boxesInReadingOrder() const
{
    // Indexed as the calculation reads them (PurchaseBox).
    return {{txtIM_, Label1_->text()},
            {txtFP1_, Label2_->text()},
            {txtFP2_, Label3_->text()},
            {txtBL_, Label4_->text()}};
}

void frmBuy::cmdCalc_Click()
{
    // The statement's total follows the option as it stands now, not as it may
    // stand later.
    const bool feePaidFromFunds = optChoice_->isChecked();
    const PurchaseTexts texts{txtIM_->text(), txtFP1_->text(), txtFP2_->text(), txtBL_->text()};
    const CalcOutcome outcome =
        runPurchase(record_, texts, feePaidFromFunds, NumberFormat::fromLocale(QLocale::system()));
    if (outcome.kind != CalcOutcome::Kind::Done) {
        reportOutcome(this, outcome, record_, boxesInReadingOrder());
        return;
    }
    const PurchaseStatement statement = purchaseStatement(record_, feePaidFromFunds);
    if (statement.outcome.kind != CalcOutcome::Kind::Done) {
        reportOutcome(this, statement.outcome, record_, boxesInReadingOrder());
        return;
    }
    frmBuyShow show(statement.figures);
    show.exec();
}

void frmBuy::cmdCancel_Click() { close(); }

void frmBuy::optChoice_MouseUp()
{
    // An on/off switch whose memory is FeeCovered; any value but 0 or -1 leaves
    // both alone.
    if (record_.FeeCovered == 0) {
        optChoice_->setSelected(true);
        record_.FeeCovered = -1;
    } else if (record_.FeeCovered == -1) {
        optChoice_->setSelected(false);
        record_.FeeCovered = 0;
    }
}

void showPurchaseWindow(CalcRecord& record)
{
    frmBuy window(record);
    window.exec();
}
