#include "rows_model.h"

#include "figure_text.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <limits>

namespace {

// The figures a spoken summary reads, after the date, fund and event.
constexpr RowFigure kSummaryFigures[] = {RowFigure::Held, RowFigure::Principal, RowFigure::Cost,
                                         RowFigure::Gain, RowFigure::Settlement};

} // namespace

RowsModel::RowsModel(QObject* parent) : QAbstractTableModel(parent), replay_(std::make_shared<const Replay>()) {}

void RowsModel::setReplay(std::shared_ptr<const Replay> replay)
{
    beginResetModel();
    replay_ = std::move(replay);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(replay_->rowCount());
}

int RowsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString RowsModel::text(int at, int column, bool grouped) const
{
    const ReplayRow& row = replay_->row(at);
    switch (column) {
    case kDate:
        return row.date.isValid() ? row.date.toString(Qt::ISODate) : replay_->name(row.dateText);
    case kFund:
        return replay_->name(row.fund);
    case kAccount:
        return replay_->name(row.account);
    case kEvent:
        return replay_->name(row.event);
    case kMessage:
        return replay_->name(row.message);
    case kSource:
        if (row.state == RowState::Settlement)
            return QString();
        return QStringLiteral("%1:%2").arg(replay_->files().value(qsizetype(row.file)).section(u'/', -1)).arg(row.line);
    default:
        break;
    }
    const auto figure = RowFigure(column - kFirstFigure);
    const std::optional<std::int64_t> value = replay_->figure(row, figure);
    if (!value)
        return QString();
    const QString shown = isPrice(figure) ? groupedPrice(*value) : groupedWhole(*value);
    return grouped ? shown : QString(shown).remove(u',');
}

QString RowsModel::summary(int at) const
{
    const ReplayRow& row = replay_->row(at);
    QStringList parts{text(at, kDate), text(at, kFund), text(at, kAccount), text(at, kEvent)};
    parts.removeAll(QString());
    if (row.state == RowState::Refused) {
        parts << QStringLiteral("記帳できません: ") + text(at, kMessage);
        return parts.join(u' ');
    }
    for (const RowFigure figure : kSummaryFigures) {
        const QString value = text(at, kFirstFigure + int(figure));
        if (!value.isEmpty())
            parts << headerData(kFirstFigure + int(figure), Qt::Horizontal).toString() + u' ' + value;
    }
    return parts.join(u' ');
}

QVariant RowsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ReplayRow& row = replay_->row(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), column);
    case Qt::TextAlignmentRole:
        if (column >= kFirstFigure && column < kMessage)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DecorationRole:
        if (column == kDate && row.state == RowState::Refused)
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole:
        if (row.state == RowState::Refused)
            return text(index.row(), kMessage);
        return {};
    case Qt::AccessibleTextRole:
        // The first cell reads the whole row, so that a screen reader says what was chosen.
        if (column == kDate)
            return summary(index.row());
        return text(index.row(), column);
    case kSortRole:
        if (column == kDate)
            return row.date.isValid() ? row.date.toJulianDay() : std::numeric_limits<qint64>::min();
        if (column >= kFirstFigure && column < kMessage) {
            const std::optional<std::int64_t> value = replay_->figure(row, RowFigure(column - kFirstFigure));
            return value ? QVariant::fromValue(qint64(*value)) : QVariant();
        }
        return text(index.row(), column);
    default:
        return {};
    }
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kDate:
        return QStringLiteral("受渡日");
    case kFund:
        return QStringLiteral("銘柄");
    case kAccount:
        return QStringLiteral("口座");
    case kEvent:
        return QStringLiteral("取引");
    case kMessage:
        return QStringLiteral("メッセージ");
    case kSource:
        return QStringLiteral("ファイル:行");
    default:
        return rowFigureCaption(RowFigure(section - kFirstFigure));
    }
}

QString RowsModel::tabSeparated(const QList<int>& rows) const
{
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < kColumnCount; ++column)
        cells << headerData(column, Qt::Horizontal).toString();
    lines << cells.join(u'\t');
    for (const int row : rows) {
        cells.clear();
        for (int column = 0; column < kColumnCount; ++column)
            cells << text(row, column, false);
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}
