#include "csv_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

const auto kNoConverter = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));

iconv_t handle(void* converter) { return static_cast<iconv_t>(converter); }

// Runs `converter` over all of `in`, appending to `out`; false at the first byte
// sequence it cannot convert (or an incomplete one at the end), with `in` left there.
bool convert(void* converter, const char*& in, std::size_t& left, std::string& out)
{
    iconv(handle(converter), nullptr, nullptr, nullptr, nullptr); // a clean state
    while (left > 0) {
        const std::size_t used = out.size();
        // No character grows more than threefold either way (CP932 to UTF-8 at most).
        out.resize(used + 3 * left + 4);
        char* next = out.data() + used;
        std::size_t room = out.size() - used;
        char* source = const_cast<char*>(in);
        const std::size_t done = iconv(handle(converter), &source, &left, &next, &room);
        out.resize(static_cast<std::size_t>(next - out.data()));
        in = source;
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG)
            return false;
    }
    return true;
}

} // namespace

QString encodingName(CsvEncoding encoding)
{
    return encoding == CsvEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("CP932");
}

std::optional<CsvEncoding> encodingFromOption(QStringView name)
{
    if (name.compare(u"utf-8", Qt::CaseInsensitive) == 0)
        return CsvEncoding::Utf8;
    if (name.compare(u"cp932", Qt::CaseInsensitive) == 0)
        return CsvEncoding::Cp932;
    return std::nullopt;
}

bool isAscii(QByteArrayView bytes)
{
    // Eight bytes at a time: every record of a batch passes through here.
    const char* next = bytes.data();
    const char* const end = next + bytes.size();
    std::uint64_t high = 0;
    for (; end - next >= 8; next += 8) {
        std::uint64_t word;
        std::memcpy(&word, next, sizeof word);
        high |= word;
    }
    for (; next != end; ++next)
        high |= static_cast<unsigned char>(*next);
    return (high & 0x8080808080808080u) == 0;
}

Cp932Codec::Cp932Codec()
    : toUtf8_(iconv_open("UTF-8", "CP932")), fromUtf8_(iconv_open("CP932", "UTF-8"))
{
}

Cp932Codec::~Cp932Codec()
{
    for (void* converter : {toUtf8_, fromUtf8_}) {
        if (converter != kNoConverter)
            iconv_close(handle(converter));
    }
}

bool Cp932Codec::isValid() const { return toUtf8_ != kNoConverter && fromUtf8_ != kNoConverter; }

bool Cp932Codec::decode(QByteArrayView bytes, QString* text)
{
    scratch_.clear();
    const char* in = bytes.data();
    auto left = static_cast<std::size_t>(bytes.size());
    if (!isValid() || !convert(toUtf8_, in, left, scratch_))
        return false;
    if (text)
        *text = QString::fromUtf8(scratch_.data(), static_cast<qsizetype>(scratch_.size()));
    return true;
}

bool Cp932Codec::encode(QStringView text, std::string& out)
{
    const QByteArray utf8 = text.toUtf8();
    const char* in = utf8.constData();
    auto left = static_cast<std::size_t>(utf8.size());
    bool whole = true;
    while (isValid() && !convert(fromUtf8_, in, left, out)) {
        whole = false;
        out += '?';
        // Past the whole character: its lead byte and its continuation bytes.
        do {
            ++in;
            --left;
        } while (left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
    return whole && isValid();
}
