#include "purchase_statement_window.h"

#include "core/figures.h"
#include "widgets/form_controls.h"

frmBuyShow::frmBuyShow(const PurchaseFigures& figures)
    : FixedDialog(QStringLiteral("Miroven-購入明細"),
                  QStringLiteral(":/icons/purchase_statement.svg"), {2385, 6525, 3975, 1710}),
      figures_(figures)
{
    setObjectName(QStringLiteral("frmBuyShow"));

    // Four rows, caption at the left and figure at the right; the rule sets the
    // total apart.
    lblOA_ = addValueLabel(this, QStringLiteral("lblOA"), {1200, 120, 1455, 255},
                           QStringLiteral("購入口数"));
    addCaptionLabel(this, QStringLiteral("Label2"), QStringLiteral("購入口数"), 120, 120);
    addCaptionLabel(this, QStringLiteral("Label3"), QStringLiteral("（金額）"), 120, 480);
    lblIM_ = addValueLabel(this, QStringLiteral("lblIM"), {1200, 480, 1455, 255},
                           QStringLiteral("（金額）"));
    addCaptionLabel(this, QStringLiteral("Label5"), QStringLiteral("手数料"), 120, 840);
    lblFP_ = addValueLabel(this, QStringLiteral("lblFP"), {1200, 840, 1455, 255},
                           QStringLiteral("手数料"));
    addCaptionLabel(this, QStringLiteral("Label1"), QStringLiteral("総投資額"), 240, 1320);
    lblTI_ = addValueLabel(this, QStringLiteral("lblTI"), {1200, 1320, 1455, 255},
                           QStringLiteral("総投資額"));
    auto* cmdOK =
        addButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {2880, 240, 975, 375});
    addRule(this, QStringLiteral("Line1"), 240, 2760, 1200);
    connect(cmdOK, &QPushButton::clicked, this, &frmBuyShow::cmdOK_Click);

    cmdOK->setFocus(Qt::OtherFocusReason);
    Form_Load();
}

void frmBuyShow::Form_Load()
{
    lblOA_->setText(figureText(figures_.units));
    lblIM_->setText(figureText(figures_.amount));
    lblFP_->setText(figureText(figures_.fee));
    lblTI_->setText(figureText(figures_.total));
}

void frmBuyShow::cmdOK_Click() { close(); }
