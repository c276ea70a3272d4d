#pragma once

#include "broker_rows.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

class QIODevice;

// The two tables an investor adds to the brokers' downloads: the funds that changed their
// names, and the fund companies' price histories with their distributions.

namespace broker {

// Old name, new name per row (no header). Names are matched as fundNameKey() leaves them, and
// a name renamed twice ends at its last name.
class FundRenames {
public:
    // Reads the table: nothing when it is read, else why not (with the line).
    [[nodiscard]] std::optional<QString> read(QIODevice& input);
    // The name a fund goes by now: `key` itself when it was never renamed.
    [[nodiscard]] QString current(const QString& key) const;
    // Every row's fund under the name it goes by now.
    void apply(std::vector<BrokerRow>& rows) const;

private:
    QHash<QString, QString> newer_;
};

// One day of a fund's price history: its NAV per 10,000 units (after the distribution on
// a 決算日) and the distribution per 10,000 units paid that day, if any.
struct NavDay {
    QDate date;
    Integer nav = 0;
    std::optional<Integer> distribution;
};

// 基準日,銘柄,基準価額[,分配金] with a header, UTF-8 or CP932: what fund companies publish.
class NavHistory {
public:
    [[nodiscard]] std::optional<QString> read(QIODevice& input);
    // The latest day with a distribution on or before `date`, for the fund `key`.
    [[nodiscard]] std::optional<NavDay> lastDistribution(const QString& key, QDate date) const;

private:
    QHash<QString, std::vector<NavDay>> days_; // by date, ascending
};

} // namespace broker
