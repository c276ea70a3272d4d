#include "csv_writer.h"

#include <QIODevice>

namespace {

constexpr std::size_t kFlushAt = 64 * 1024;

bool needsQuotes(QByteArrayView field)
{
    for (const char c : field) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

} // namespace

CsvWriter::CsvWriter(QIODevice& output, bool crLf, CsvEncoding encoding)
    : output_(output), lineBreak_(crLf ? "\r\n" : "\n"),
      cp932_(encoding == CsvEncoding::Cp932 ? std::make_unique<Cp932Codec>() : nullptr)
{
    buffer_.reserve(2 * kFlushAt);
}

CsvWriter::~CsvWriter() { (void)flush(); }

void CsvWriter::byteOrderMark() { buffer_ += "\xEF\xBB\xBF"; }

void CsvWriter::field(QByteArrayView bytes)
{
    if (fieldsInRecord_++ > 0)
        buffer_ += ',';
    lastFieldEmpty_ = bytes.isEmpty();
    if (!needsQuotes(bytes)) {
        buffer_.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
        return;
    }
    buffer_ += '"';
    for (const char c : bytes) {
        if (c == '"')
            buffer_ += '"';
        buffer_ += c;
    }
    buffer_ += '"';
}

void CsvWriter::field(QStringView text)
{
    // Figures are ASCII: they are copied without a conversion of their own.
    scratch_.clear();
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            if (!cp932_) {
                field(QByteArrayView(text.toUtf8()));
                return;
            }
            scratch_.clear();
            (void)cp932_->encode(text, scratch_);
            field(QByteArrayView(scratch_.data(), static_cast<qsizetype>(scratch_.size())));
            return;
        }
        scratch_ += static_cast<char>(c.unicode());
    }
    field(QByteArrayView(scratch_.data(), static_cast<qsizetype>(scratch_.size())));
}

void CsvWriter::endRecord()
{
    if (fieldsInRecord_ == 1 && lastFieldEmpty_)
        buffer_ += "\"\"";
    buffer_ += lineBreak_;
    fieldsInRecord_ = 0;
    if (buffer_.size() >= kFlushAt)
        (void)flush();
}

bool CsvWriter::flush()
{
    if (!failed_ && !buffer_.empty()) {
        const auto size = static_cast<qint64>(buffer_.size());
        failed_ = output_.write(buffer_.data(), size) != size;
    }
    buffer_.clear(); // keeps its capacity
    return !failed_;
}
