#pragma once

#include <QDate>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class LedgerReader;
class QIODevice;

// The rows of several ledger files, one at a time, in date order across the files. Each
// file is read as it comes, and the next row is the earliest of the files' next rows: a
// row that gives no date goes with the row before it in its file, and of rows of one date
// the file opened first goes first. A file whose own rows go back in time is read as it
// is, so the book refuses such a row as the command line does. Holds one row per file.
class MergedRows {
public:
    explicit MergedRows(const QStringList& files);
    ~MergedRows();
    MergedRows(const MergedRows&) = delete;
    MergedRows& operator=(const MergedRows&) = delete;

    // Opens every file and reads its header and first row; false, with problem(), when
    // one cannot be opened or read.
    [[nodiscard]] bool open();
    // The next row; false at the end of every file, or, with problem(), when a file
    // cannot be read from there on.
    [[nodiscard]] bool next();
    // Why a file cannot be read: its name and the reason.
    [[nodiscard]] const QString& problem() const { return problem_; }

    // The row handed out by next(): the index of its file and its reader there.
    [[nodiscard]] std::uint32_t file() const { return current_; }
    [[nodiscard]] const LedgerReader& reader() const;

    // How far the reading has gone, in thousandths of the files' bytes.
    [[nodiscard]] int permille() const;

private:
    struct Source;
    [[nodiscard]] bool advance(Source& source);

    QStringList files_;
    std::vector<std::unique_ptr<Source>> sources_;
    std::uint32_t current_ = 0;
    bool handedOut_ = false;
    qint64 total_ = 0;
    QString problem_;
};
