// miroven-calc: the calculators from the command line: one calculation from options,
// a CSV batch, or a holding's ledger. No window, no display, no single-instance lock.
#include "batch.h"
#include "help.h"
#include "ledger_files.h"
#include "options.h"
#include "single_output.h"

#include "csv/input_file.h"
#include "csv/ledger_stream.h"

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

enum ExitStatus { kCalculated = 0, kRefused = 1, kUsage = 2 };

void printError(const QString& line)
{
    std::fputs(QStringLiteral("miroven-calc: %1\n").arg(line).toUtf8().constData(), stderr);
}

// A line of the ledger's beside its output, as it stands.
void printLine(const QString& line)
{
    std::fputs((line + u'\n').toUtf8().constData(), stderr);
}

void printRefusedRow(qint64 line, const QString& why)
{
    printError(QStringLiteral("入力の %1 行目: %2").arg(line).arg(why));
}

int usageError(const QString& line)
{
    printError(QStringLiteral("%1 — 詳しくは miroven-calc --help").arg(line));
    return kUsage;
}

// Writes all of `bytes` to standard output, or says why not.
bool writeStandardOutput(const QByteArray& bytes)
{
    QFile out;
    if (out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)
        && out.write(bytes) == bytes.size())
        return true;
    printError(QStringLiteral("標準出力に書き込めません: %1").arg(out.errorString()));
    return false;
}

int calculateOne(const CalculationRequest& request)
{
    Trace working;
    const Statement statement =
        calculate(*request.calculator, {request.texts, request.feePaidFromFunds},
                  request.range, request.rules, request.explain ? &working : nullptr);
    const Printed printed =
        printStatement(*request.calculator, statement, request.format, working.steps());
    std::fputs(printed.standardError.constData(), stderr);
    if (!writeStandardOutput(printed.standardOutput))
        return kUsage;
    return statement ? kCalculated : kRefused;
}

// Runs `run` on standard output and turns its result into the exit status.
template <class Run>
int toStandardOutput(Run&& run)
{
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        printError(QStringLiteral("標準出力を開けません"));
        return kUsage;
    }
    const BatchResult result = run(out);
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

// Streams the input (a file, or standard input for none or "-") through `run` to
// standard output: a batch and the ledger alike.
template <class Run>
int streamed(const QString& inputPath, Run&& run)
{
    QString problem;
    const std::unique_ptr<QIODevice> in = openInput(inputPath, problem);
    if (!in) {
        printError(problem);
        return kUsage;
    }
    return toStandardOutput([&](QIODevice& out) { return run(*in, out); });
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    const ParsedArguments parsed = parseArguments(arguments);
    if (!parsed)
        return usageError(parsed.why());

    struct Run {
        int operator()(const HelpRequest&) const
        {
            return writeStandardOutput(helpText().toUtf8()) ? kCalculated : kUsage;
        }
        int operator()(const VersionRequest&) const
        {
            return writeStandardOutput(QByteArrayLiteral("miroven-calc " MIROVEN_VERSION "\n")) ? kCalculated
                                                                                                : kUsage;
        }
        int operator()(const CalculationRequest& request) const { return calculateOne(request); }
        int operator()(const BatchRequest& request) const
        {
            return streamed(request.inputPath, [&](QIODevice& in, QIODevice& out) {
                return runBatch(*request.calculator, request.range, request.options, in, out);
            });
        }
        int operator()(const LedgerRequest& request) const
        {
            QString problem;
            bool marked = false;
            LedgerRequest run = request;
            std::optional<LedgerSettings> settings = checkingHoldings(request, printLine, marked, problem);
            const std::optional<bool> streams = settings ? streamsInput(request, problem) : std::nullopt;
            if (!streams) {
                printError(problem);
                return kUsage;
            }
            run.settings = std::move(*settings);
            const int status = *streams ? streamed(run.files.isEmpty() ? QString() : run.files.first(),
                                                   [&](QIODevice& in, QIODevice& out) {
                                                       return runLedger(run.settings, in, out, printRefusedRow);
                                                   })
                                        : toStandardOutput([&](QIODevice& out) { return runLedgerFiles(run, out, printError); });
            // A holding that differs from the broker's is a finding, as a refused row is.
            return status == kCalculated && marked ? kRefused : status;
        }
    };
    return std::visit(Run{}, *parsed);
}
