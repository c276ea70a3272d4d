#pragma once

#include "csv_encoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <string>

class QIODevice;

// Writes RFC 4180 CSV record by record, through a buffer of its own. A field is
// quoted only when it holds a comma, a quote or a line break; a record that is one
// empty field is written as "" so that it does not read back as an empty line.
// Bytes are written as given; text is written in the writer's encoding.
class CsvWriter {
public:
    CsvWriter(QIODevice& output, bool crLf, CsvEncoding encoding = CsvEncoding::Utf8);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void byteOrderMark();
    void field(QByteArrayView bytes);
    void field(QStringView text);
    void endRecord();

    // Hands everything buffered to the output; false once any write has failed.
    [[nodiscard]] bool flush();
    [[nodiscard]] bool ok() const { return !failed_; }
    [[nodiscard]] CsvEncoding encoding() const { return cp932_ ? CsvEncoding::Cp932 : CsvEncoding::Utf8; }

private:
    void startField(bool empty);
    void fieldBeyondAscii(QStringView text);

    QIODevice& output_;
    std::string buffer_;
    std::string lineBreak_;
    std::string scratch_;
    QString lastText_; // the last text beyond ASCII, and its field as written
    std::string lastWritten_;
    std::unique_ptr<Cp932Codec> cp932_; // only for CP932 output
    int fieldsInRecord_ = 0;
    bool lastFieldEmpty_ = false;
    bool failed_ = false;
};
