#pragma once

#include "ledger_preferences.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;

// 設定: the book's conventions and dividend netting, each with what it means, and the
// encoding files are saved in. Shows `current`; chosen() gives what the user set.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    SettingsDialog(const LedgerPreferences& current, QWidget* parent);

    [[nodiscard]] LedgerPreferences chosen() const;

private:
    std::vector<QComboBox*> roundings_; // in the order of roundingPreferences()
    QCheckBox* netting_;
    QComboBox* encoding_;
};
