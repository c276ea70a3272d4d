#include "settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using ledger::PriceStep;
using ledger::Rounding;

// A choice's text and the value it stands for.
template <class T>
struct Choice {
    const char* text; // UTF-8
    T value;
};

template <class T, std::size_t N>
QComboBox* choices(const Choice<T> (&list)[N], T current, const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const Choice<T>& choice : list) {
        box->addItem(QString::fromUtf8(choice.text), QVariant::fromValue(static_cast<int>(choice.value)));
        if (choice.value == current)
            box->setCurrentIndex(box->count() - 1);
    }
    return box;
}

template <class T>
T chosenValue(const QComboBox* box)
{
    return static_cast<T>(box->currentData().toInt());
}

constexpr Choice<Rounding> kPrincipal[] = {
    {"1 円未満切り上げ（既定）", Rounding::Up},
    {"1 円未満切り捨て", Rounding::Down},
    {"1 円未満四捨五入", Rounding::HalfUp},
};
constexpr Choice<PriceStep> kCost[] = {
    {"1 円未満切り上げ（既定）", PriceStep::Yen},
    {"0.01 円未満四捨五入", PriceStep::Cent},
};
constexpr Choice<Rounding> kUnits[] = {
    {"1 口未満切り上げ（既定）", Rounding::Up},
    {"1 口未満切り捨て", Rounding::Down},
};
constexpr Choice<LedgerPreferences::SaveEncoding> kEncodings[] = {
    {"UTF-8", LedgerPreferences::SaveEncoding::Utf8},
    {"CP932（Excel の CSV）", LedgerPreferences::SaveEncoding::Cp932},
};

// What a choice means, under its box; also the box's accessible description.
QLabel* help(const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    control->setAccessibleDescription(text);
    return label;
}

} // namespace

SettingsDialog::SettingsDialog(const LedgerPreferences& current, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Miroven-設定"));

    principal_ = choices(kPrincipal, current.roundings.principal, QStringLiteral("cboPrincipal"), this);
    cost_ = choices(kCost, current.roundings.cost, QStringLiteral("cboCost"), this);
    units_ = choices(kUnits, current.roundings.units, QStringLiteral("cboUnits"), this);
    netting_ = new QCheckBox(QStringLiteral("配当等の受入れあり（年末精算をする）(&D)"), this);
    netting_->setObjectName(QStringLiteral("chkNetting"));
    netting_->setChecked(current.dividendNetting);
    encoding_ = choices(kEncodings, current.saveEncoding, QStringLiteral("cboEncoding"), this);

    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* control, const QString& text) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(control);
        form->addRow(label, control);
        form->addRow(QString(), help(text, control, this));
    };
    row(QStringLiteral("個別元本の丸め(&P)"), principal_,
        QStringLiteral("個別元本の 1 円未満の扱い。切り上げは多くの販売会社が採る方法で、端数のために元本が実際より"
                       "小さくなって課税される分配金や益が増えることがありません。"));
    row(QStringLiteral("取得単価の丸め(&C)"), cost_,
        QStringLiteral("切り上げは取引残高報告書が円単位で示す多くの証券会社の方法で、取得費が小さくなって益が増える"
                       "ことがありません。0.01 円は小数第2位まで示す証券会社の方法です。"));
    row(QStringLiteral("口数の丸め(&U)"), units_,
        QStringLiteral("金額での買付と再投資の口数の 1 口未満。切り上げは多くの販売会社の方法で、約定金額が指定の"
                       "金額を下回りません。"));
    form->addRow(netting_);
    form->addRow(QString(), help(QStringLiteral("特定口座の年が譲渡損失で終わると、その年の普通分配金と配当と通算し、"
                                                "源泉徴収しすぎた税を 12 月 31 日の年末精算の行で還付します。"
                                                "配当等の受入れのない特定口座では外します。"),
                                 netting_, this));
    row(QStringLiteral("保存の文字コード(&E)"), encoding_,
        QStringLiteral("行と年間報告を保存するときの文字コード。CP932 は日本語版 Excel が「CSV (カンマ区切り)」で"
                       "読み書きする形です。"));
    // The accessible names without their access keys.
    principal_->setAccessibleName(QStringLiteral("個別元本の丸め"));
    cost_->setAccessibleName(QStringLiteral("取得単価の丸め"));
    units_->setAccessibleName(QStringLiteral("口数の丸め"));
    encoding_->setAccessibleName(QStringLiteral("保存の文字コード"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

LedgerPreferences SettingsDialog::chosen() const
{
    LedgerPreferences settings;
    settings.roundings.principal = chosenValue<Rounding>(principal_);
    settings.roundings.cost = chosenValue<PriceStep>(cost_);
    settings.roundings.units = chosenValue<Rounding>(units_);
    settings.dividendNetting = netting_->isChecked();
    settings.saveEncoding = chosenValue<LedgerPreferences::SaveEncoding>(encoding_);
    return settings;
}
