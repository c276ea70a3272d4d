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

// A field's bytes as written: quoted when they need it.
void appendField(std::string& out, QByteArrayView bytes)
{
    if (!needsQuotes(bytes)) {
        out.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
        return;
    }
    out += '"';
    for (const char c : bytes) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
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

void CsvWriter::startField(bool empty)
{
    if (fieldsInRecord_++ > 0)
        buffer_ += ',';
    lastFieldEmpty_ = empty;
}

void CsvWriter::field(QByteArrayView bytes)
{
    startField(bytes.isEmpty());
    appendField(buffer_, bytes);
}

void CsvWriter::field(QStringView text)
{
    // Figures are ASCII: they are copied without a conversion of their own.
    scratch_.clear();
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            fieldBeyondAscii(text);
            return;
        }
        scratch_ += static_cast<char>(c.unicode());
    }
    field(QByteArrayView(scratch_.data(), static_cast<qsizetype>(scratch_.size())));
}

void CsvWriter::fieldBeyondAscii(QStringView text)
{
    // Such a text is mostly a batch's message for a refused row, the same row after row:
    // it is encoded, and quoted if need be, again only when it changes.
    if (text != lastText_) {
        lastText_ = text.toString();
        scratch_.clear();
        if (cp932_) {
            (void)cp932_->encode(text, scratch_);
        } else {
            const QByteArray utf8 = text.toUtf8();
            scratch_.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        }
        lastWritten_.clear();
        appendField(lastWritten_, QByteArrayView(scratch_.data(), static_cast<qsizetype>(scratch_.size())));
    }
    startField(lastWritten_.empty());
    buffer_ += lastWritten_;
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
