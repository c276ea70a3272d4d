#pragma once

#include "core/integer.h"
#include "core/outcome.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

class QIODevice;

// A price history as fund companies publish it (--nav): one row per fund and day,
// header 基準日,銘柄,基準価額[,分配金] (columns in any order, others passed over), in
// UTF-8 with or without a byte order mark, or CP932. What the ledger needs of it is the
// distribution and the NAV after it on a 決算日 that a broker's file leaves out.
class NavHistory {
public:
    // A day on which a fund paid a distribution.
    struct Distribution {
        QDate date;
        Integer nav = 0;          // 基準価額 per 10,000 units, after the distribution
        Integer distribution = 0; // 分配金 per 10,000 units
        qint64 line = 0;          // where the file gives it
    };

    // The file's rows, or why it cannot be read, naming `source` and the line.
    [[nodiscard]] static Outcome<NavHistory, QString> read(QIODevice& input, const QString& source);
    // The same for the file at `path`.
    [[nodiscard]] static Outcome<NavHistory, QString> load(const QString& path);

    // The fund's latest distribution on or before `date`, or why there is none. Names
    // are matched as fundNameKey() folds them.
    [[nodiscard]] Outcome<Distribution, QString> lastDistribution(QStringView fund, const QDate& date) const;

private:
    QString source_;
    // By fundNameKey(), each fund's distributions by date. A fund that never paid one
    // has an empty list.
    QHash<QString, std::vector<Distribution>> funds_;
};
