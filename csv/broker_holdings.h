#pragma once

#include "calc/ledger/ledger.h"
#include "core/exact.h"
#include "core/outcome.h"

#include <QString>

#include <vector>

class QIODevice;

// The broker's own list of what the investor holds: 楽天's download of its investment
// trusts (assetbalance(INVST)_*.csv). CP932 or UTF-8, every cell quoted or not, figures
// with separators. Its header starts with 投資信託種別 or 保有区分 and names, among
// others, 口座区分, ファンド, 分配金コース, 保有数量[口] and 平均取得価額[円]; lines
// before it (a title, the day of the download) are passed over.
struct BrokerHolding {
    QString fund;           // as the first of its rows names it
    ledger::Account account = ledger::Account::Specified;
    Integer units = 0;      // over every 分配金コース of the fund in the account
    // Σ units × 平均取得価額 (a Currency's raw figure) over those courses: the
    // courses' averages weighted by their units.
    Wide costTimesUnits = 0;
    qint64 line = 0;        // the first of its rows

    // 平均取得価額 per 10,000 units over every course, half up to 0.01 yen; 0 when
    // no units are held.
    [[nodiscard]] Currency averageCost() const;
};

struct BrokerHoldings {
    QString broker;                     // whose download it is
    std::vector<BrokerHolding> holdings; // in the order of the file
};

// The holdings the file lists, the courses of one fund in one account summed into one
// holding, or why the file cannot be read, naming `source` and the line.
[[nodiscard]] Outcome<BrokerHoldings, QString> readBrokerHoldings(QIODevice& input, const QString& source);
// The same for the file at `path`.
[[nodiscard]] Outcome<BrokerHoldings, QString> loadBrokerHoldings(const QString& path);
