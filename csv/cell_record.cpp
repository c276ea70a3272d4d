#include "cell_record.h"

#include <algorithm>

CellRecord::CellRecord(CsvEncoding encoding)
    : encoding_(encoding), cp932_(encoding == CsvEncoding::Cp932 ? std::make_unique<Cp932Codec>() : nullptr)
{
}

CellRecord::~CellRecord() = default;

void CellRecord::clear(qint64 line)
{
    text_.clear();
    ends_.clear();
    line_ = line;
}

void CellRecord::append(QByteArrayView bytes)
{
    text_.append(bytes.data(), static_cast<std::size_t>(bytes.size()));
    ends_.push_back(text_.size());
}

void CellRecord::append(QStringView text)
{
    append(text, QByteArrayView());
}

void CellRecord::append(QStringView text, QByteArrayView ascii)
{
    // As CsvWriter writes text: ASCII as it is, the rest converted (the same few names
    // row after row, each converted once).
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (plain) {
        for (const QChar c : text)
            text_ += static_cast<char>(c.unicode());
    } else {
        const QByteArrayView utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        text_ += encoded_.get(utf16, [&] {
            std::string bytes;
            if (cp932_) {
                (void)cp932_->encode(text, bytes); // "?" for what CP932 lacks, as the writer does
            } else {
                const QByteArray utf8 = text.toUtf8();
                bytes.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
            }
            return bytes;
        });
    }
    text_.append(ascii.data(), static_cast<std::size_t>(ascii.size()));
    ends_.push_back(text_.size());
}

QString CellRecord::fieldText(qsizetype index) const
{
    const QByteArrayView bytes = field(index);
    if (encoding_ == CsvEncoding::Utf8 || isAscii(bytes))
        return QString::fromUtf8(bytes);
    QString text;
    (void)cp932_->decode(bytes, &text);
    return text;
}
