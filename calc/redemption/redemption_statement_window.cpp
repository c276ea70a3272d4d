#include "redemption_statement_window.h"

#include "widgets/form_controls.h"

frmWithdrawShow::frmWithdrawShow(const RedemptionFigures& figures)
    : FixedDialog(QStringLiteral("Miroven-解約明細"),
                  QStringLiteral(":/icons/redemption_statement.svg"), {2385, 5625, 3930, 1680}),
      figures_(figures)
{
    setObjectName(QStringLiteral("frmWithdrawShow"));

    // Row by row, top to bottom.
    addCaptionLabel(this, QStringLiteral("Label1"), valuationCaption(), 240, 120);
    lblIM_ = addValueLabel(this, QStringLiteral("lblIM"), {1080, 120, 1335, 255}, valuationCaption());
    auto* cmdOK = addButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {2760, 120, 975, 375});
    addCaptionLabel(this, QStringLiteral("Label2"), taxCaption(), 240, 480);
    lblTax_ = addValueLabel(this, QStringLiteral("lblTax"), {1080, 480, 1335, 255}, taxCaption());
    addCaptionLabel(this, QStringLiteral("Label3"), retentionCaption(), 0, 840);
    lblFee_ = addValueLabel(this, QStringLiteral("lblFee"), {1080, 840, 1335, 255},
                            retentionCaption());
    addRule(this, QStringLiteral("Line1"), 0, 2400, 1200);
    addCaptionLabel(this, QStringLiteral("Label4"), cashCaption(), 0, 1320);
    lblGain_ = addValueLabel(this, QStringLiteral("lblGain"), {1080, 1320, 1335, 255},
                             cashCaption());
    connect(cmdOK, &QPushButton::clicked, this, &frmWithdrawShow::cmdOK_Click);

    Form_Load();
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmWithdrawShow::Form_Load()
{
    lblIM_->setText(figures_.IM);
    lblTax_->setText(figures_.Tax);
    lblFee_->setText(figures_.Fee);
    lblGain_->setText(figures_.Gain);
}

void frmWithdrawShow::cmdOK_Click() { close(); }
