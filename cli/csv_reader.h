#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>
#include <vector>

class QIODevice;

// Reads RFC 4180 CSV one record at a time, holding only the record being read.
// Fields are separated by commas and records by CR LF or LF; a field in double quotes
// may hold commas, line breaks and doubled quotes. Also accepted: a UTF-8 byte order
// mark at the very start (dropped), a lone CR or a quote inside an unquoted field
// (kept as data), and no line break after the last record. Empty lines are skipped,
// so a trailing line break never makes an extra record.
class CsvReader {
public:
    enum class Result {
        Record,    // fieldCount() and field() describe it
        End,       // no more records
        Malformed, // problem() says why, from line(); the reader stops here
    };

    // A record longer than this is refused, so one stray quote cannot make the
    // reader hold the rest of a large file.
    static constexpr std::size_t kMaxRecordBytes = 1 << 20;

    explicit CsvReader(QIODevice& input, qsizetype chunkSize = 64 * 1024);

    [[nodiscard]] Result next();

    [[nodiscard]] qsizetype fieldCount() const { return static_cast<qsizetype>(ends_.size()); }
    // The field's bytes, unquoted, valid until the next call of next().
    [[nodiscard]] QByteArrayView field(qsizetype index) const;

    // The line, from 1, on which the last record began, or where the input went wrong.
    [[nodiscard]] qint64 line() const { return line_; }
    [[nodiscard]] bool hadByteOrderMark() const { return hadByteOrderMark_; }
    // Whether the last record ended with CR LF rather than LF alone.
    [[nodiscard]] bool endedWithCrLf() const { return crLf_; }
    [[nodiscard]] const QString& problem() const { return problem_; }

private:
    int get(); // the next byte, or -1 at the end of the input
    bool fill();
    void skipByteOrderMark();
    // Appends to the field the buffered bytes before the first one isStop() picks.
    template <class IsStop>
    void takeRun(IsStop isStop);
    Result malformed(const QString& problem, qint64 line);
    Result recordTooLong();

    QIODevice& input_;
    qsizetype chunkSize_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool readFailed_ = false;
    bool started_ = false;

    std::string text_;               // the record's fields, one after another
    std::vector<std::size_t> ends_;  // where each field ends in text_
    qint64 line_ = 1;
    qint64 nextLine_ = 1;
    bool hadByteOrderMark_ = false;
    bool crLf_ = false;
    QString problem_;
};
