#include "csv_reader.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

CsvReader::CsvReader(QIODevice& input, qsizetype chunkSize, std::optional<CsvEncoding> encoding)
    : input_(input), chunkSize_(chunkSize > 0 ? chunkSize : 1), givenEncoding_(encoding)
{
}

CsvReader::~CsvReader() = default;

bool CsvReader::fill()
{
    if (atEnd_)
        return false;
    // Only the byte order mark and encoding checks read ahead, and they do so before
    // anything is consumed: what is left to consume is always at the front.
    if (pos_ == end_)
        pos_ = end_ = 0;
    if (buffer_.size() < end_ + static_cast<std::size_t>(chunkSize_))
        buffer_.resize(end_ + static_cast<std::size_t>(chunkSize_));
    const qint64 got = input_.read(buffer_.data() + end_, chunkSize_);
    if (got <= 0) {
        atEnd_ = true;
        readFailed_ = got < 0;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

int CsvReader::get()
{
    if (pos_ == end_ && !fill())
        return -1;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

void CsvReader::skipByteOrderMark()
{
    static constexpr char kMark[] = "\xEF\xBB\xBF";
    while (end_ - pos_ < 3 && fill()) {
    }
    if (end_ - pos_ >= 3 && std::memcmp(buffer_.data() + pos_, kMark, 3) == 0) {
        pos_ += 3;
        hadByteOrderMark_ = true;
    }
}

bool CsvReader::readable(QByteArrayView bytes) const
{
    if (encoding_ == CsvEncoding::Utf8)
        return bytes.isValidUtf8();
    return isAscii(bytes) || cp932_->decode(bytes, nullptr);
}

bool CsvReader::fieldsReadable() const
{
    const QByteArrayView record(text_.data(), static_cast<qsizetype>(text_.size()));
    if (ascii_)
        return true;
    if (encoding_ == CsvEncoding::Utf8) {
        // The fields are UTF-8 when the record is and no field starts inside a character.
        if (!record.isValidUtf8())
            return false;
        for (const std::size_t end : ends_) {
            if (end < text_.size() && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80)
                return false;
        }
        return true;
    }
    for (qsizetype i = 0; i < fieldCount(); ++i) {
        // A file repeats its names and words row after row: each is converted once.
        const QByteArrayView cell = field(i);
        if (!isAscii(cell) && !cp932Cells_.get(cell, [&] { return cp932_->decode(cell, nullptr); }))
            return false;
    }
    return true;
}

// UTF-8 when the start of the input is UTF-8 (ASCII alone included), CP932 when it is
// CP932 instead; when it is neither, the one that reads more lines, so that the refusal
// names the line where a file in it went wrong.
void CsvReader::detectEncoding()
{
    while (end_ - pos_ < kDetectionBytes && fill()) {
    }
    std::size_t size = std::min(end_ - pos_, kDetectionBytes);
    const char* const begin = buffer_.data() + pos_;
    if (size == kDetectionBytes) {
        // Cut after a byte below 0x40, which is never part of a character in either
        // encoding, so that no character is judged by half of it.
        while (size > 0 && static_cast<unsigned char>(begin[size - 1]) >= 0x40)
            --size;
    }
    const QByteArrayView head(begin, static_cast<qsizetype>(size));
    if (head.isValidUtf8())
        return;
    const auto linesRead = [&](CsvEncoding encoding) {
        encoding_ = encoding;
        qint64 lines = 0;
        for (qsizetype from = 0; from < head.size(); ++lines) {
            qsizetype to = head.indexOf('\n', from);
            to = to < 0 ? head.size() : to + 1;
            if (!readable(head.sliced(from, to - from)))
                break;
            from = to;
        }
        return lines;
    };
    const qint64 utf8Lines = linesRead(CsvEncoding::Utf8);
    cp932_ = std::make_unique<Cp932Codec>();
    if (!cp932_->isValid() || linesRead(CsvEncoding::Cp932) <= utf8Lines)
        encoding_ = CsvEncoding::Utf8;
}

// Settles the encoding before the first record; false if CP932 cannot be read here.
bool CsvReader::start()
{
    started_ = true;
    // A byte order mark says UTF-8, unless CP932 is asked for: then it is unreadable.
    if (givenEncoding_ != CsvEncoding::Cp932)
        skipByteOrderMark();
    if (givenEncoding_)
        encoding_ = *givenEncoding_;
    else if (!hadByteOrderMark_)
        detectEncoding();
    if (encoding_ == CsvEncoding::Cp932 && !cp932_)
        cp932_ = std::make_unique<Cp932Codec>();
    return encoding_ == CsvEncoding::Utf8 || cp932_->isValid();
}

template <class IsStop>
void CsvReader::takeRun(IsStop isStop)
{
    const char* const begin = buffer_.data() + pos_;
    const char* const end = buffer_.data() + end_;
    const char* stop = begin;
    while (stop != end && !isStop(*stop))
        ++stop;
    text_.append(begin, stop);
    pos_ += static_cast<std::size_t>(stop - begin);
}

CsvReader::Result CsvReader::recordTooLong()
{
    return malformed(QStringLiteral("1 行が長すぎます（%1 バイトまで）").arg(kMaxRecordBytes), line_);
}

CsvReader::Result CsvReader::malformed(const QString& problem, qint64 line)
{
    problem_ = problem;
    line_ = line;
    ends_.clear();
    text_.clear();
    return Result::Malformed;
}

QString CsvReader::fieldText(qsizetype index) const
{
    const QByteArrayView bytes = field(index);
    if (encoding_ == CsvEncoding::Utf8 || isAscii(bytes))
        return QString::fromUtf8(bytes);
    QString text;
    (void)cp932_->decode(bytes, &text); // next() has made sure it is CP932
    return text;
}

CsvReader::Result CsvReader::next()
{
    if (!problem_.isEmpty())
        return Result::Malformed;
    if (!started_ && !start())
        return malformed(QStringLiteral("CP932 の変換（iconv）がこのシステムにありません"), 1);
    text_.clear();
    ends_.clear();
    crLf_ = false;
    line_ = nextLine_;

    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted, AfterCr };
    State state = State::FieldStart;
    bool quoted = false;    // the current field began with a quote
    bool anything = false;  // the record holds more than a line break
    const auto tooLong = [this] {
        return text_.size() > kMaxRecordBytes || ends_.size() > kMaxRecordBytes;
    };
    const auto endField = [this] { ends_.push_back(text_.size()); };
    const auto endRecord = [&] {
        endField();
        if (tooLong())
            return recordTooLong();
        ascii_ = isAscii(QByteArrayView(text_.data(), static_cast<qsizetype>(text_.size())));
        if (!fieldsReadable()) {
            return malformed(QStringLiteral("%1 として読めない文字があります（読める文字コードは "
                                            "UTF-8 と CP932 で、--encoding で指定できます）")
                                 .arg(encodingName(encoding_)),
                             line_);
        }
        return Result::Record;
    };

    for (;;) {
        // Plain runs of a field are taken whole; only the bytes that matter go one by one.
        if (state == State::Unquoted)
            takeRun([](char b) { return b == ',' || b == '\r' || b == '\n'; });
        else if (state == State::Quoted)
            takeRun([](char b) { return b == '"' || b == '\n'; });
        if (tooLong())
            return recordTooLong();
        const int c = get();
        if (c < 0 && readFailed_)
            return malformed(QStringLiteral("入力を読めません: %1").arg(input_.errorString()),
                             nextLine_);
        switch (state) {
        case State::FieldStart:
            quoted = false;
            if (c == '"') {
                quoted = anything = true;
                state = State::Quoted;
            } else if (c == ',') {
                anything = true;
                endField();
            } else if (c == '\r') {
                state = State::AfterCr;
            } else if (c == '\n' || c < 0) {
                if (c == '\n')
                    ++nextLine_;
                if (!anything) {
                    if (c < 0)
                        return Result::End;
                    line_ = nextLine_; // an empty line: skipped
                    continue;
                }
                sawLineEnd_ = sawLineEnd_ || c == '\n';
                return endRecord();
            } else {
                anything = true;
                text_.push_back(static_cast<char>(c));
                state = State::Unquoted;
            }
            break;
        case State::Quoted:
            if (c == '"') {
                state = State::QuoteInQuoted;
            } else if (c < 0) {
                return malformed(QStringLiteral("引用符が閉じられていません"), line_);
            } else {
                if (c == '\n')
                    ++nextLine_;
                text_.push_back(static_cast<char>(c));
            }
            break;
        // Inside a plain field, or just after a quote in a quoted one: there, a second
        // quote stands for itself, and anything else must end the field.
        case State::Unquoted:
        case State::QuoteInQuoted:
            if (state == State::QuoteInQuoted && c == '"') {
                text_.push_back('"');
                state = State::Quoted;
            } else if (c == ',') {
                endField();
                state = State::FieldStart;
            } else if (c == '\r') {
                state = State::AfterCr;
            } else if (c == '\n' || c < 0) {
                if (c == '\n')
                    ++nextLine_;
                sawLineEnd_ = sawLineEnd_ || c == '\n';
                return endRecord();
            } else if (state == State::Unquoted) {
                text_.push_back(static_cast<char>(c));
            } else {
                return malformed(QStringLiteral("閉じた引用符の後に文字があります"), nextLine_);
            }
            break;
        case State::AfterCr:
            // A file whose first line ends in a CR alone (old Mac line ends) has every
            // line end so; in any other file a lone CR is data.
            if (c >= 0 && c != '\n' && (crOnly_ || (!sawLineEnd_ && anything))) {
                crOnly_ = sawLineEnd_ = true;
                ++nextLine_;
                --pos_; // c begins the next line
                if (!anything) {
                    line_ = nextLine_; // an empty line: skipped
                    state = State::FieldStart;
                    continue;
                }
                return endRecord();
            }
            if (c == '\n' || c < 0) {
                if (c == '\n') {
                    ++nextLine_;
                    crLf_ = true;
                }
                if (!anything) {
                    if (c < 0)
                        return Result::End;
                    line_ = nextLine_;
                    crLf_ = false;
                    state = State::FieldStart;
                    continue;
                }
                sawLineEnd_ = sawLineEnd_ || c == '\n';
                return endRecord();
            }
            // A CR not followed by LF is data, which cannot follow a closing quote.
            if (quoted)
                return malformed(QStringLiteral("閉じた引用符の後に文字があります"), nextLine_);
            --pos_; // c is read again as part of the field
            text_.push_back('\r');
            anything = true;
            state = State::Unquoted;
            break;
        }
    }
}
