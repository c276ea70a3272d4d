#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>

// The encodings a CSV batch reads and writes: UTF-8, and CP932 (Windows-31J), which
// Japanese spreadsheets write by default.
enum class CsvEncoding { Utf8, Cp932 };

// "UTF-8" or "CP932", as messages name them.
[[nodiscard]] QString encodingName(CsvEncoding encoding);
// The encoding --encoding names ("utf-8" or "cp932", in either case), or none.
[[nodiscard]] std::optional<CsvEncoding> encodingFromOption(QStringView name);

// Whether the bytes hold nothing beyond ASCII, which reads alike in both encodings.
[[nodiscard]] bool isAscii(QByteArrayView bytes);

// CP932 both ways through glibc's iconv. Qt 6.4 reaches CP932 only through ICU, whose
// table for it (ibm-943) maps some control codes elsewhere (0x1A to U+001C), so a sheet
// would not come back as it went in; glibc's table is Microsoft's.
class Cp932Codec {
public:
    Cp932Codec();
    ~Cp932Codec();
    Cp932Codec(const Cp932Codec&) = delete;
    Cp932Codec& operator=(const Cp932Codec&) = delete;

    // False when this system's iconv has no CP932.
    [[nodiscard]] bool isValid() const;
    // Whether the bytes are CP932 throughout; `text`, when given, receives them decoded.
    [[nodiscard]] bool decode(QByteArrayView bytes, QString* text);
    // Appends `text` in CP932. A character CP932 lacks is written as "?" (then false);
    // the batch only encodes its own captions and messages, which all have a form.
    bool encode(QStringView text, std::string& out);

private:
    void* toUtf8_;   // iconv_t, kept out of this header
    void* fromUtf8_;
    std::string scratch_;
};
