#pragma once

#include "broker_rows.h"

#include "core/currency.h"
#include "core/outcome.h"

#include <QString>

#include <vector>

class QIODevice;

// The broker's own account of what is held (楽天's holdings download), to lay beside the
// ledger's after the replay.

namespace broker {

// One 分配金コース of a holding: its units and its 平均取得価額 per 10,000 units, to 0.01 yen.
struct HeldCourse {
    QString course;
    Integer units = 0;
    Currency cost;
};

// A fund in one account, its courses together (the ledger holds them as one).
struct HeldFund {
    QString fund; // as fundKey() leaves it
    ledger::Account account = ledger::Account::Specified;
    Integer units = 0; // of every course
    std::vector<HeldCourse> courses;
    Source source;     // the fund's first row
};

// The table whose header holds 口座区分, ファンド, 分配金コース, 保有数量[口] and 平均取得価額[円]
// after a first column 投資信託種別 or 保有区分, wherever it starts; it ends at the first row of
// another width. Rows without a fund (totals) are passed over. The funds in the order
// they first appear, or why the file cannot be read.
[[nodiscard]] Outcome<std::vector<HeldFund>, QString> readHoldings(QIODevice& input, const QString& name);

} // namespace broker
