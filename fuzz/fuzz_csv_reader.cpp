// The command line's CSV reader: any bytes read alike whatever the chunk size,
// never past its record limit, and every record read writes back and reads again
// as the same fields.
#include "csv/csv_reader.h"
#include "csv/csv_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

struct Reading {
    QList<QList<QByteArray>> records;
    QList<qint64> lines;
    bool malformed = false;
    qint64 malformedLine = 0;
    CsvEncoding encoding = CsvEncoding::Utf8;
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

Reading readAll(const QByteArray& bytes, qsizetype chunkSize,
                std::optional<CsvEncoding> encoding = std::nullopt)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer, chunkSize, encoding);
    Reading reading;
    qint64 lastLine = 0;
    for (;;) {
        const CsvReader::Result result = reader.next();
        reading.encoding = reader.encoding();
        if (result == CsvReader::Result::End)
            return reading;
        if (reader.line() < 1 || reader.line() < lastLine)
            fail("line numbers go backwards");
        lastLine = reader.line();
        if (result == CsvReader::Result::Malformed) {
            if (reader.problem().isEmpty())
                fail("malformed without a reason");
            reading.malformed = true;
            reading.malformedLine = reader.line();
            if (reader.next() != CsvReader::Result::Malformed)
                fail("reading went on after malformed input");
            return reading;
        }
        if (reader.fieldCount() < 1)
            fail("a record without fields");
        QList<QByteArray> fields;
        qsizetype bytesInRecord = 0;
        for (qsizetype i = 0; i < reader.fieldCount(); ++i) {
            fields.append(reader.field(i).toByteArray());
            bytesInRecord += fields.back().size();
        }
        if (static_cast<std::size_t>(bytesInRecord) > CsvReader::kMaxRecordBytes)
            fail("a record past the limit");
        reading.records.append(fields);
        reading.lines.append(reader.line());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // Byte 0 picks a small chunk size, so that every state meets a chunk boundary.
    const qsizetype smallChunk = 1 + data[0] % 7;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const Reading whole = readAll(bytes, 4096);
    const Reading chunked = readAll(bytes, smallChunk);
    if (whole.records != chunked.records || whole.lines != chunked.lines
        || whole.malformed != chunked.malformed || whole.malformedLine != chunked.malformedLine
        || whole.encoding != chunked.encoding)
        fail("the chunk size changes what is read");

    QBuffer written;
    written.open(QIODevice::WriteOnly);
    {
        // Written back in the encoding it was read in, as a batch writes its output.
        CsvWriter writer(written, (data[0] & 0x80) != 0, whole.encoding);
        if (whole.encoding == CsvEncoding::Utf8)
            writer.byteOrderMark(); // so that a first field starting with one survives
        for (const QList<QByteArray>& record : whole.records) {
            for (const QByteArray& field : record)
                writer.field(QByteArrayView(field));
            writer.endRecord();
        }
        if (!writer.flush())
            fail("writing to a buffer failed");
    }
    const Reading again = readAll(written.data(), smallChunk, whole.encoding);
    if (again.malformed || again.records != whole.records)
        fail("written records do not read back the same");
    return 0;
}
