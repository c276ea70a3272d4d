// miroven-calc ledger: opens the input (a file, or standard input for none or "-") and
// standard output, replays the ledger and gives the exit status, as a batch does.
#include "ledger_batch.h"

#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace {

enum ExitStatus { kCalculated = 0, kRefused = 1, kUsage = 2 };

void printError(const QString& line)
{
    std::fputs(QStringLiteral("miroven-calc: %1\n").arg(line).toUtf8().constData(), stderr);
}

} // namespace

int replayLedger(const LedgerRequest& request)
{
    QFile in;
    QFile out;
    const bool fromFile = !request.file.isEmpty() && request.file != QLatin1String("-");
    if (fromFile) {
        in.setFileName(request.file);
        if (!in.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("%1 を開けません: %2").arg(request.file, in.errorString()));
            return kUsage;
        }
    } else if (!in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        printError(QStringLiteral("標準入力を開けません"));
        return kUsage;
    }
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        printError(QStringLiteral("標準出力を開けません"));
        return kUsage;
    }
    const BatchResult result = runLedger(request, in, out);
    switch (result.kind) {
    case BatchResult::Kind::AllCalculated:
        return kCalculated;
    case BatchResult::Kind::SomeRefused:
        return kRefused;
    case BatchResult::Kind::Unreadable:
        printError(result.problem);
        return kUsage;
    case BatchResult::Kind::WriteFailed:
        printError(QStringLiteral("標準出力に書き込めません: %1").arg(result.problem));
        return kUsage;
    }
    return kUsage;
}

