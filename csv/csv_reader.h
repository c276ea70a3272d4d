#pragma once

#include "cell_cache.h"
#include "csv_encoding.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QIODevice;

// Reads RFC 4180 CSV one record at a time, holding only the record being read.
// Fields are separated by commas and records by CR LF or LF; a field in double quotes
// may hold commas, line breaks and doubled quotes. Also accepted: a UTF-8 byte order
// mark at the very start (dropped), records separated by CR alone when the first one
// ends so (old Mac files), otherwise a lone CR or a quote inside an unquoted field
// (kept as data), and no line break after the last record. Empty lines are skipped,
// so a trailing line break never makes an extra record.
//
// Every field must be text in one encoding: UTF-8 (always so with a byte order mark),
// or CP932 when the start of the input is not UTF-8 but is CP932; or the one given.
// Fields are handed out as the bytes read, so that a batch writes them back unchanged.
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
    // How much of the input's start tells its encoding, when none is given.
    static constexpr std::size_t kDetectionBytes = 1 << 20;

    explicit CsvReader(QIODevice& input, qsizetype chunkSize = 64 * 1024,
                       std::optional<CsvEncoding> encoding = std::nullopt);
    ~CsvReader();

    [[nodiscard]] Result next();

    [[nodiscard]] qsizetype fieldCount() const { return static_cast<qsizetype>(ends_.size()); }
    // The field's bytes, unquoted, valid until the next call of next().
    [[nodiscard]] QByteArrayView field(qsizetype index) const
    {
        const auto i = static_cast<std::size_t>(index);
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return QByteArrayView(text_.data() + begin, static_cast<qsizetype>(ends_[i] - begin));
    }
    // The field as text.
    [[nodiscard]] QString fieldText(qsizetype index) const;
    // Whether every field of the record is plain ASCII, which reads alike in every
    // encoding and needs no normalising.
    [[nodiscard]] bool recordIsAscii() const { return ascii_; }
    // The input's encoding, known once next() has been called.
    [[nodiscard]] CsvEncoding encoding() const { return encoding_; }

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
    [[nodiscard]] bool start();
    void detectEncoding();
    [[nodiscard]] bool readable(QByteArrayView bytes) const;
    [[nodiscard]] bool fieldsReadable() const;
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
    std::optional<CsvEncoding> givenEncoding_;
    CsvEncoding encoding_ = CsvEncoding::Utf8;
    std::unique_ptr<Cp932Codec> cp932_; // only for CP932 input
    mutable CellCache<bool> cp932Cells_; // whether each field beyond ASCII is CP932

    std::string text_;               // the record's fields, one after another
    std::vector<std::size_t> ends_;  // where each field ends in text_
    qint64 line_ = 1;
    qint64 nextLine_ = 1;
    bool hadByteOrderMark_ = false;
    bool crLf_ = false;
    bool ascii_ = true;
    bool sawLineEnd_ = false; // a record has ended with a line break
    bool crOnly_ = false;     // ... and the first did so with CR alone
    QString problem_;
};
