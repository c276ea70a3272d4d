#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

// The input a command reads: the file at `path`, or standard input when the path is
// empty or "-", as CSV tools take it. Null, with `problem` saying why in one line, when
// it cannot be opened for reading.
[[nodiscard]] std::unique_ptr<QIODevice> openInput(const QString& path, QString& problem);
