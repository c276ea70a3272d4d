#pragma once

#include "broker_cells.h"
#include "broker_recognition.h"

#include "calc/ledger/ledger.h"

#include <QString>

#include <optional>

class CsvReader;

namespace broker {

// Where a row came from: its file, as named, and the line it began on.
struct Source {
    QString file;
    qint64 line = 0;
};

// What the file states beside the event, for comparing with what the ledger works out.
struct Stated {
    CompactOptional<Integer> gross;      // a distribution before tax
    CompactOptional<Integer> tax;        // withheld, as the row shows it
    CompactOptional<Integer> net;        // a distribution after tax
    CompactOptional<Integer> settlement; // 受渡金額 (a sale's before tax at some brokers, after at others)
    CompactOptional<Integer> points;     // the part of 受渡金額 paid by points
    CompactOptional<Integer> heldUnits;  // a reinvestment's: the units its distribution was paid on
    QString course;                    // 分配金コース: 再投資型 or 受取型
};

struct BrokerRow {
    enum class Kind {
        Event,      // `event` is what the row says; `note` what was read in a way of its own
        PassedOver, // not a fund's trade or distribution (MRF, stocks, summaries): `note` says why
        Refused,    // a row the ledger needs but cannot read: `note` says why
    };
    Kind kind = Kind::Event;
    ledger::Event event; // as far as it was read
    Stated stated;
    Source source;
    QString printedFund; // the name as the file prints it (the event's is normalised)
    QString note;
};

// Reads a layout's rows one at a time into events, keeping what every row repeats
// (names, accounts, trades) decoded once.
class BrokerRowReader {
public:
    BrokerRowReader(const LayoutDecl& layout, const FieldIndex& fields, qsizetype width, QString file);
    ~BrokerRowReader();
    BrokerRowReader(const BrokerRowReader&) = delete;
    BrokerRowReader& operator=(const BrokerRowReader&) = delete;

    // The row `record` holds; valid until the next call, which starts afresh (the caller
    // may move it away).
    [[nodiscard]] BrokerRow& read(const CsvReader& record);

private:
    struct Caches;
    class Cells;

    void readRow(const Cells& cells);
    bool readFigures(const Cells& cells);
    void readDistributionList(const Cells& cells, bool fund);
    void event(ledger::EventKind kind);
    void passOver(QString why);
    void refuse(QString why);

    const LayoutDecl& layout_;
    FieldIndex fields_;
    qsizetype width_;
    QString file_;
    QString broker_; // the layout's, shared by every row
    std::unique_ptr<Caches> caches_;
    BrokerRow row_;
    std::optional<Integer> price_;
    std::optional<Integer> fee_;
    std::optional<Integer> units_;
};

} // namespace broker
