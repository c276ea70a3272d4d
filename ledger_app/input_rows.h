#pragma once

#include "csv/csv_encoding.h"

#include "calc/ledger/ledger.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class LedgerReader;
class QIODevice;

// What the window was given, as `miroven-calc ledger` takes it.
struct InputRequest {
    QStringList files;  // the events: files in the ledger's own format and brokers' downloads
    QString nav;        // a price history (--nav): 基準日,銘柄,基準価額[,分配金]
    QString fundNames;  // old name, new name per row (--fund-names)
    QString holdings;   // the broker's download of what is held (--holdings)
    QStringList given;  // the options the investor chose, as the command line names them
};

// The opened paths sorted out: a price history and a broker's holdings, each told by its
// header, go to `nav` and `holdings`, the rest are the events' files. Why not, when two
// of either are among them.
[[nodiscard]] QString sortOpened(const QStringList& opened, InputRequest& request);

// A refusal as the window's user acts on it: the command line's options named by what
// does the same in the window.
[[nodiscard]] QString windowWording(QString text);

// The rows of a request, one at a time, in the order the command line replays them. One
// file in the ledger's own format, without tables beside it, is read as it comes (the
// command line streams it, and its size is not bounded); otherwise every file is read
// whole, merged, paired and completed, and the history written in the ledger's own format
// is read back, as the command line does, each row knowing the file and line it came from.
class InputRows {
public:
    // Rows written in `encoding` when merged.
    explicit InputRows(InputRequest request, CsvEncoding encoding = CsvEncoding::Utf8);
    ~InputRows();
    InputRows(const InputRows&) = delete;
    InputRows& operator=(const InputRows&) = delete;

    // Reads what must be read first and the header; false, with problem(), when a file
    // cannot be opened or read. `roundings` take the brokers' conventions where the
    // investor left them open.
    [[nodiscard]] bool open(ledger::Roundings& roundings);
    // The next row; false at the end, or, with problem(), when the input cannot be read
    // from there on.
    [[nodiscard]] bool next();
    [[nodiscard]] const QString& problem() const { return problem_; }

    // The row handed out by next(): read (reader()) or refused before it was (refusal()).
    [[nodiscard]] bool read() const { return refusal_ == nullptr; }
    [[nodiscard]] const LedgerReader& reader() const { return *reader_; }
    struct Refusal {
        ledger::Event event; // as far as it was read
        QString fund;        // as the file prints it
        QString why;
    };
    [[nodiscard]] const Refusal& refusal() const { return *refusal_; }
    // Where it came from: the index of its file in the request and its line there.
    [[nodiscard]] std::uint32_t file() const { return file_; }
    [[nodiscard]] std::uint32_t line() const { return line_; }
    // What the file states and the ledger worked out differently for a row read and posted.
    [[nodiscard]] QString remark(const ledger::Event& event, const ledger::Figures& figures) const;

    // Whether the files were read whole and merged (after open()).
    [[nodiscard]] bool merging() const { return merging_; }
    // The merged history as the command line writes it before the replay (empty when the
    // file is read as it comes); the message of a posted row by that file's line.
    [[nodiscard]] const QByteArray& merged() const { return merged_; }
    [[nodiscard]] const std::function<QString(qint64, const ledger::Event&, const ledger::Figures&)>& remarks() const
    {
        return remark_;
    }
    // The brokers' conventions used, and the rows that are not a fund's trade, one line
    // each with its file and line.
    [[nodiscard]] const QString& conventions() const { return conventions_; }
    [[nodiscard]] const QStringList& passedOver() const { return passedOver_; }

    // How far the reading has gone, in thousandths.
    [[nodiscard]] int permille() const;

private:
    struct Slot {
        std::uint32_t file = 0;
        std::uint32_t line = 0;
        std::unique_ptr<Refusal> refusal; // none for a row written to `merged_`
    };
    [[nodiscard]] bool mergeFiles(ledger::Roundings& roundings);

    InputRequest request_;
    CsvEncoding encoding_;
    std::unique_ptr<QIODevice> device_;
    std::unique_ptr<LedgerReader> reader_;
    bool merging_ = false;
    QByteArray merged_;
    std::vector<Slot> slots_;
    std::size_t next_ = 0;
    const Refusal* refusal_ = nullptr;
    std::uint32_t file_ = 0;
    std::uint32_t line_ = 0;
    std::function<QString(qint64, const ledger::Event&, const ledger::Figures&)> remark_;
    QString conventions_;
    QStringList passedOver_;
    QString problem_;
};
