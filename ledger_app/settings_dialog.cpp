#include "settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char* kEncodings[] = {"UTF-8", "CP932（Excel の CSV）"};
// The first choice where brokers differ.
constexpr const char* kFollowFiles = "証券会社のファイルに合わせる（既定）";

// What a choice means, under its box; also the box's accessible description. Its lines
// are broken where they stand: a word-wrapped label in a form is given too little height.
QLabel* help(const QString& text, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    control->setAccessibleDescription(QString(text).remove(u'\n'));
    return label;
}

// A caption without its access key: "口数の丸め(&U)" → "口数の丸め".
QString withoutAccessKey(const QString& caption)
{
    const qsizetype key = caption.indexOf(QStringLiteral("(&"));
    return key < 0 ? caption : caption.left(key);
}

} // namespace

SettingsDialog::SettingsDialog(const LedgerPreferences& current, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Miroven-設定"));

    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* control, const QString& text) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(control);
        form->addRow(label, control);
        form->addRow(QString(), help(text, control, this));
        control->setAccessibleName(withoutAccessKey(caption));
    };
    for (const RoundingPreference& preference : roundingPreferences()) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(preference.objectName));
        if (preference.followsFiles)
            box->addItem(QString::fromUtf8(kFollowFiles));
        for (std::size_t i = 0; i < preference.count(); ++i)
            box->addItem(QString::fromUtf8(preference.choices[i].text));
        box->setCurrentIndex(preference.leftToFiles(current)
                                 ? 0
                                 : int(preference.chosen(current.roundings)) + int(preference.followsFiles));
        row(QString::fromUtf8(preference.caption), box, QString::fromUtf8(preference.help));
        roundings_.push_back(box);
    }
    netting_ = new QCheckBox(QStringLiteral("配当等の受入れあり（年末精算をする）(&D)"), this);
    netting_->setObjectName(QStringLiteral("chkNetting"));
    netting_->setChecked(current.dividendNetting);
    form->addRow(netting_);
    form->addRow(QString(), help(QStringLiteral("特定口座の年が譲渡損失で終わると、その年の普通分配金と配当と通算し、\n"
                                                "源泉徴収しすぎた税を 12 月 31 日の年末精算の行で還付します。\n"
                                                "配当等の受入れのない特定口座では外します。"),
                                 netting_, this));
    encoding_ = new QComboBox(this);
    encoding_->setObjectName(QStringLiteral("cboEncoding"));
    for (const char* text : kEncodings)
        encoding_->addItem(QString::fromUtf8(text));
    encoding_->setCurrentIndex(current.saveEncoding == LedgerPreferences::SaveEncoding::Cp932 ? 1 : 0);
    row(QStringLiteral("保存の文字コード(&E)"), encoding_,
        QStringLiteral("行と年間報告を保存するときの文字コード。CP932 は日本語版 Excel が\n"
                       "「CSV (カンマ区切り)」で読み書きする形です。"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // The choices scroll only where the screen is too low for all of them.
    auto* page = new QWidget(this);
    page->setLayout(form);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    const QSize wanted = page->sizeHint();
    const int room = screen()->availableGeometry().height() - buttons->sizeHint().height() - 6 * fontMetrics().height();
    scroll->setMinimumSize(wanted.width() + scroll->verticalScrollBar()->sizeHint().width(),
                           std::clamp(wanted.height(), 1, std::max(room, 1)));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
}

LedgerPreferences SettingsDialog::chosen() const
{
    LedgerPreferences settings;
    const std::span<const RoundingPreference> preferences = roundingPreferences();
    for (std::size_t i = 0; i < preferences.size(); ++i) {
        const RoundingPreference& preference = preferences[i];
        const int index = roundings_[i]->currentIndex() - int(preference.followsFiles);
        // Left to the files: the ledger's own default until a broker's file says otherwise.
        preference.choose(settings.roundings, std::size_t(std::max(index, 0)));
        if (index >= 0 && preference.followsFiles)
            settings.given.append(QLatin1String(preference.option));
    }
    settings.dividendNetting = netting_->isChecked();
    settings.saveEncoding = encoding_->currentIndex() == 1 ? LedgerPreferences::SaveEncoding::Cp932
                                                            : LedgerPreferences::SaveEncoding::Utf8;
    return settings;
}
