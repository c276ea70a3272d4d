#include "distribution_window.h"

#include "distribution_calculation.h"
#include "distribution_statement_window.h"

#include "calc/calculators.h"
#include "core/calc_record.h"
#include "widgets/form_controls.h"
#include "widgets/message_box.h"

#include <QLocale>

frmDiv::frmDiv(CalcRecord& record)
    : FixedDialog(QStringLiteral("Miroven-分配"), QStringLiteral(":/icons/distribution.svg"),
                  {2385, 3510, 4680, 1575}, MaximizeBox::Yes)
    , record_(record)
{
    setObjectName(QStringLiteral("frmDiv"));

    // Labels take no focus, so creating them first leaves the tab order to the boxes
    // and buttons below, which are created in it.
    Label1_ =
        addCaptionLabel(this, QStringLiteral("Label1"), QStringLiteral("元本の基準価額"), 240, 120);
    Label2_ = addCaptionLabel(this, QStringLiteral("Label2"), QStringLiteral("分配後の基準価額"),
                              240, 480);
    Label3_ = addCaptionLabel(this, QStringLiteral("Label3"), QStringLiteral("分配金"), 240, 840);
    Label4_ =
        addCaptionLabel(this, QStringLiteral("Label4"), QStringLiteral("所有口数"), 240, 1200);

    const QString zero = QStringLiteral("0");
    txtCBL_ = addTextBox(this, QStringLiteral("txtCBL"), zero, {1920, 120, 1215, 270}, Label1_);
    txtNBL_ = addTextBox(this, QStringLiteral("txtNBL"), zero, {1920, 480, 1215, 270}, Label2_);
    txtDiv_ = addTextBox(this, QStringLiteral("txtDiv"), zero, {1920, 840, 1215, 270}, Label3_);
    txtOA_ = addTextBox(this, QStringLiteral("txtOA"), zero, {1920, 1200, 1215, 270}, Label4_);

    auto* cmdCalc =
        addButton(this, QStringLiteral("cmdCalc"), QStringLiteral("計算"), {3480, 120, 1095, 375});
    auto* cmdCancel = addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("終了"),
                                {3480, 600, 1095, 375});
    connect(cmdCalc, &QPushButton::clicked, this, &frmDiv::cmdCalc_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDiv::cmdCancel_Click);

    txtCBL_->setFocus(Qt::OtherFocusReason);
    Form_Load();
}

void frmDiv::Form_Load()
{
    Label1_->setToolTip(QStringLiteral("10,000口当たりの元本の基準価額を入力してください"));
    Label2_->setToolTip(QStringLiteral("10,000口当たりの分配後基準価額です"));
    Label3_->setToolTip(QStringLiteral("分配金を入力してください"));
    Label4_->setToolTip(QStringLiteral("分配時に所有している口数です"));
}

QList<InputBox> frmDiv::boxesInReadingOrder() const
{
    // The captions the refusal messages name, which are the labels' own.
    return {
        {txtCBL_, Label1_->text()},
        {txtNBL_, Label2_->text()},
        {txtDiv_, Label3_->text()},
        {txtOA_, Label4_->text()},
    };
}

void frmDiv::cmdCalc_Click()
{
    const DistributionTexts texts{txtCBL_->text(), txtNBL_->text(), txtDiv_->text(),
                                  txtOA_->text()};
    const CalcOutcome outcome =
        runDistribution(record_, texts, NumberFormat::fromLocale(QLocale::system()));
    if (outcome.kind != CalcOutcome::Kind::Done) {
        reportOutcome(this, outcome, record_, boxesInReadingOrder());
        return;
    }
    // The figures are formed before the statement opens, so a figure that cannot be
    // shown is reported here instead of in a half-filled statement.
    const DistributionStatement statement = distributionStatement(record_);
    if (!statement.figures) {
        reportOutcome(this, CalcOutcome::overflow(statement.overflowFigure), record_,
                      boxesInReadingOrder());
        return;
    }
    frmDivShow show(*statement.figures);
    show.exec();
}

void frmDiv::cmdCancel_Click() { close(); }

void showDistributionWindow(CalcRecord& record)
{
    frmDiv window(record);
    window.exec();
}
