#include "distribution_statement_window.h"

#include "widgets/form_controls.h"

frmDivShow::frmDivShow(const DistributionFigures& figures)
    : FixedDialog(QStringLiteral("Miroven-解約明細"),
                  QStringLiteral(":/icons/distribution_statement.svg"), {2415, 5490, 4680, 2115},
                  MaximizeBox::Yes)
    , figures_(figures)
{
    setObjectName(QStringLiteral("frmDivShow"));

    // The figures in their white fields; the net amount stands below the rule.
    lblDiv1_ = addValueLabel(this, QStringLiteral("lblDiv1"), {1800, 120, 1335, 255},
                             QStringLiteral("課税分配金"));
    lblDiv2_ = addValueLabel(this, QStringLiteral("lblDiv2"), {1800, 480, 1335, 255},
                             QStringLiteral("非課税分配金"));
    lblTax_ = addValueLabel(this, QStringLiteral("lblTax"), {1800, 840, 1335, 255},
                            QStringLiteral("税金"));
    lblDiv3_ = addValueLabel(this, QStringLiteral("lblDiv3"), {1800, 1320, 1335, 255},
                             QStringLiteral("手取分配金"));
    lblCBL_ = addValueLabel(this, QStringLiteral("lblCBL"), {3120, 1680, 1335, 255},
                            QStringLiteral("分配後元本基準価額"));

    auto* cmdOK =
        addButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), {3480, 240, 975, 375});
    connect(cmdOK, &QPushButton::clicked, this, &frmDivShow::cmdOK_Click);

    addCaptionLabel(this, QStringLiteral("Label1"), QStringLiteral("課税分配金"), 360, 120);
    addCaptionLabel(this, QStringLiteral("Label2"), QStringLiteral("非課税分配金"), 360, 480);
    addCaptionLabel(this, QStringLiteral("Label3"), QStringLiteral("税金"), 360, 840);
    addCaptionLabel(this, QStringLiteral("Label4"), QStringLiteral("手取分配金"), 360, 1320);
    addCaptionLabel(this, QStringLiteral("Label5"), QStringLiteral("（分配後元本基準価額）"), 1080,
                    1680);
    addRule(this, QStringLiteral("Line1"), 240, 3120, 1200);

    // The button is the only control that takes the focus.
    cmdOK->setFocus(Qt::OtherFocusReason);
    Form_Load();
}

void frmDivShow::Form_Load()
{
    lblDiv1_->setText(figures_.taxable);
    lblDiv2_->setText(figures_.nonTaxable);
    lblTax_->setText(figures_.tax);
    lblDiv3_->setText(figures_.net);
    lblCBL_->setText(figures_.principalAfter);
}

void frmDivShow::cmdOK_Click() { close(); }
