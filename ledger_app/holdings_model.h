#pragma once

#include "replay.h"
#include "what_if.h"

#include <QAbstractTableModel>
#include <QDate>

#include <memory>
#include <vector>

// 保有: one line per fund and account held, with today's NAV and the retention typed
// in, and what redeeming the whole holding today would give.
class HoldingsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kFund, kAccount, kUnits, kPrincipal, kCost, kNav, kRetention, kValuation, kUnrealised,
                  kProceeds, kGain, kIncomeTax, kResidentTax, kSettlement, kMessage, kColumnCount };

    explicit HoldingsModel(QObject* parent = nullptr);

    // Typed NAVs and retentions stay with their fund and account across replays.
    void setReplay(std::shared_ptr<const Replay> replay);
    // The day a what-if redemption is dated (today unless a test says otherwise).
    void setToday(const QDate& today) { today_ = today; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    [[nodiscard]] QString text(int row, int column) const;

private:
    struct Line {
        QString nav;
        QString retention;
        WhatIf whatIf;
    };
    void work(std::size_t line);

    std::shared_ptr<const Replay> replay_;
    std::vector<Line> lines_;
    QDate today_ = QDate::currentDate();
};
