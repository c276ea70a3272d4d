#pragma once

#include "cell_cache.h"
#include "csv_encoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <string>
#include <vector>

// One record's cells made rather than read: held as the bytes a CsvWriter in the same
// encoding writes for them and handed out as CsvReader hands out a record it read, so
// that what reads one reads the other alike.
class CellRecord {
public:
    explicit CellRecord(CsvEncoding encoding);
    ~CellRecord();
    CellRecord(const CellRecord&) = delete;
    CellRecord& operator=(const CellRecord&) = delete;

    // Starts a record anew, as the one that begins on `line`.
    void clear(qint64 line);
    void append(QByteArrayView bytes); // as given
    void append(QStringView text);     // in the record's encoding
    // `text` in the record's encoding, then `ascii`, as one field.
    void append(QStringView text, QByteArrayView ascii);

    [[nodiscard]] qsizetype fieldCount() const { return static_cast<qsizetype>(ends_.size()); }
    [[nodiscard]] QByteArrayView field(qsizetype index) const
    {
        const auto i = static_cast<std::size_t>(index);
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return QByteArrayView(text_.data() + begin, static_cast<qsizetype>(ends_[i] - begin));
    }
    [[nodiscard]] QString fieldText(qsizetype index) const;
    [[nodiscard]] CsvEncoding encoding() const { return encoding_; }
    [[nodiscard]] qint64 line() const { return line_; }

private:
    CsvEncoding encoding_;
    std::unique_ptr<Cp932Codec> cp932_; // only for CP932
    CellCache<std::string> encoded_;    // texts beyond ASCII, by their UTF-16
    std::string text_;                  // the fields, one after another
    std::vector<std::size_t> ends_;     // where each field ends in text_
    qint64 line_ = 1;
};
