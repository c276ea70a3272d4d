#pragma once

#include "csv/csv_encoding.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Text as a Japanese spreadsheet or broker saves it: CP932.
inline QByteArray cp932(const QString& text)
{
    Cp932Codec codec;
    std::string bytes;
    if (!codec.encode(text, bytes))
        qFatal("the test's text has no CP932 form");
    return QByteArray::fromStdString(bytes);
}
