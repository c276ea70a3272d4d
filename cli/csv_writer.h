#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <string>

class QIODevice;

// Writes RFC 4180 CSV record by record, through a buffer of its own. A field is
// quoted only when it holds a comma, a quote or a line break; a record that is one
// empty field is written as "" so that it does not read back as an empty line.
class CsvWriter {
public:
    CsvWriter(QIODevice& output, bool crLf);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void byteOrderMark();
    void field(QByteArrayView utf8);
    void field(QStringView text);
    void endRecord();

    // Hands everything buffered to the output; false once any write has failed.
    [[nodiscard]] bool flush();
    [[nodiscard]] bool ok() const { return !failed_; }

private:
    QIODevice& output_;
    std::string buffer_;
    std::string lineBreak_;
    std::string scratch_;
    int fieldsInRecord_ = 0;
    bool lastFieldEmpty_ = false;
    bool failed_ = false;
};
