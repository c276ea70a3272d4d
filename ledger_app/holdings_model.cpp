#include "holdings_model.h"

#include "figure_text.h"

#include <map>

namespace {

QString whole(const std::optional<Integer>& value) { return value ? groupedWhole(*value) : QString(); }

} // namespace

HoldingsModel::HoldingsModel(QObject* parent)
    : QAbstractTableModel(parent), replay_(std::make_shared<const Replay>())
{
}

void HoldingsModel::setReplay(std::shared_ptr<const Replay> replay)
{
    // What was typed, by fund and account.
    std::map<std::pair<QString, QString>, std::pair<QString, QString>> typed;
    for (std::size_t at = 0; at < lines_.size(); ++at) {
        const HoldingLine& held = replay_->holdings()[at];
        typed[{held.fundName, accountText(held.id)}] = {lines_[at].nav, lines_[at].retention};
    }
    beginResetModel();
    replay_ = std::move(replay);
    lines_.assign(replay_->holdings().size(), Line());
    for (std::size_t at = 0; at < lines_.size(); ++at) {
        const HoldingLine& held = replay_->holdings()[at];
        const auto found = typed.find({held.fundName, accountText(held.id)});
        if (found != typed.end()) {
            lines_[at].nav = found->second.first;
            lines_[at].retention = found->second.second;
            work(at);
        }
    }
    endResetModel();
}

int HoldingsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(lines_.size()); }
int HoldingsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString HoldingsModel::text(int row, int column) const
{
    const HoldingLine& held = replay_->holdings()[std::size_t(row)];
    const Line& line = lines_[std::size_t(row)];
    const ledger::Figures& f = line.whatIf.figures;
    switch (column) {
    case kFund:
        return held.fundName;
    case kAccount:
        return replay_->name(held.account);
    case kUnits:
        return groupedWhole(held.holding.units);
    case kPrincipal:
        return groupedPrice(held.holding.principal.raw());
    case kCost:
        return groupedPrice(held.holding.cost.raw());
    case kNav:
        return line.nav;
    case kRetention:
        return line.retention;
    case kValuation:
        return whole(line.whatIf.valuation);
    case kUnrealised:
        return whole(line.whatIf.unrealised);
    case kProceeds:
        return whole(f.proceeds);
    case kGain:
        return whole(f.gain);
    case kIncomeTax:
        return whole(f.incomeTax);
    case kResidentTax:
        return whole(f.residentTax);
    case kSettlement:
        return whole(f.settlement);
    case kMessage:
        return line.whatIf.problem;
    default:
        return QString();
    }
}

QVariant HoldingsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return text(index.row(), column);
    case Qt::TextAlignmentRole:
        if (column >= kUnits && column < kMessage)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (column == kNav)
            return QStringLiteral("今日の基準価額（1万口当たり、円）を入力すると、今日全部を解約した場合を計算します");
        if (column == kRetention)
            return QStringLiteral("解約時の信託財産留保額（%）。ないときは空欄");
        return {};
    default:
        return {};
    }
}

bool HoldingsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || (index.column() != kNav && index.column() != kRetention))
        return false;
    Line& line = lines_[std::size_t(index.row())];
    (index.column() == kNav ? line.nav : line.retention) = value.toString().trimmed();
    work(std::size_t(index.row()));
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumnCount - 1));
    return true;
}

Qt::ItemFlags HoldingsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && (index.column() == kNav || index.column() == kRetention))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant HoldingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QString kCaptions[kColumnCount] = {
        QStringLiteral("銘柄"),       QStringLiteral("口座"),     QStringLiteral("保有口数"),
        QStringLiteral("個別元本"),   QStringLiteral("取得単価"), QStringLiteral("今日の基準価額"),
        QStringLiteral("信託財産留保額(%)"), QStringLiteral("評価額"), QStringLiteral("評価損益"),
        QStringLiteral("解約代金"),   QStringLiteral("譲渡損益"), QStringLiteral("所得税及び復興特別所得税"),
        QStringLiteral("住民税"),     QStringLiteral("受渡金額"), QStringLiteral("メッセージ"),
    };
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return kCaptions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void HoldingsModel::work(std::size_t at)
{
    const HoldingLine& held = replay_->holdings()[at];
    Line& line = lines_[at];
    line.whatIf = redeemWholeHolding(replay_->book(), held.fundName, held.id, line.nav, line.retention, today_);
}
