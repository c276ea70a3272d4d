#include "input_file.h"

#include <QFile>

#include <unistd.h>

std::unique_ptr<QIODevice> openInput(const QString& path, QString& problem)
{
    auto file = std::make_unique<QFile>();
    const bool standardInput = path.isEmpty() || path == QLatin1String("-");
    if (standardInput) {
        if (file->open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered))
            return file;
        problem = QStringLiteral("標準入力を開けません: %1").arg(file->errorString());
        return nullptr;
    }
    file->setFileName(path);
    if (file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return file;
    problem = QStringLiteral("入力のファイルを開けません: %1（%2）").arg(path, file->errorString());
    return nullptr;
}
