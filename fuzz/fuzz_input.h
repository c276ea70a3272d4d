#pragma once

// Turns a fuzzer's bytes into the things a calculation is given: a separator pair
// and several box texts.

#include "core/number_text.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

struct FuzzInput {
    NumberFormat format;
    bool option = false;
    IntegerRange range = IntegerRange::narrow();
    QStringList texts;
};

// Byte 0 picks the separators (plain or continental), the option (bit 1) and the
// whole-number range (bit 3; bit 2 is the text target's own); the rest is
// UTF-8 split at 0x1F into `count` box texts (missing ones are empty).
inline FuzzInput splitFuzzInput(const std::uint8_t* data, std::size_t size, int count)
{
    FuzzInput in;
    if (size > 0) {
        if (data[0] & 1)
            in.format = NumberFormat{u',', u'.'};
        in.option = (data[0] & 2) != 0;
        if ((data[0] & 8) != 0)
            in.range = IntegerRange::wide();
        ++data;
        --size;
    }
    const QString all = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                          static_cast<qsizetype>(size));
    in.texts = all.split(QChar(0x1F));
    while (in.texts.size() < count)
        in.texts.append(QString());
    return in;
}
