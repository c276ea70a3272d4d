#pragma once

#include "ledger_preferences.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

// 設定: the book's roundings and dividend netting, each with what it means, and the
// encoding files are saved in. Shows `current`; chosen() gives what the user set.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    SettingsDialog(const LedgerPreferences& current, QWidget* parent);

    [[nodiscard]] LedgerPreferences chosen() const;

private:
    QComboBox* principal_;
    QComboBox* cost_;
    QComboBox* units_;
    QCheckBox* netting_;
    QComboBox* encoding_;
};
