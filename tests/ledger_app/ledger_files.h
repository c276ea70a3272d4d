#pragma once

// Files of ledger events for the window's tests: the README's examples, written to a
// temporary folder, and what the ledger's CSV stream (the command line's) makes of them.

#include "csv/ledger_stream.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

// The README's first example: a purchase with a fee, a return of principal, a gain and a
// loss in the same year.
inline const QByteArray kEventsCsv = "date,fund,event,units,nav,distribution,fee\n"
                                     "2024-01-10,A,買付,10000,10000,,100\n"
                                     "2024-01-12,A,分配,,9800,300,\n"
                                     "2024-01-13,A,解約,,12000,,\n"
                                     "2024-01-14,B,買付,10000,10000,,\n"
                                     "2024-01-15,B,解約,,8000,,\n";

// The README's second: a year that ends in a loss smaller than its distributions, then
// a NISA purchase in the next year.
inline const QByteArray kYearCsv = "date,fund,account,event,units,amount,nav,distribution\n"
                                   "2024-03-01,A,,買付,1000000,,10000,\n"
                                   "2024-06-01,A,,分配,,,10500,200\n"
                                   "2024-09-02,A,,解約,,,9700,\n"
                                   "2024-10-01,,,配当,,30000,,\n"
                                   "2025-01-06,B,NISA,買付,100000,,10000,\n";

// Writes `bytes` to `name` in `dir`; the file's path.
inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// What the ledger's stream writes for `input`.
inline QByteArray streamed(const QByteArray& input, LedgerOutput output, const ledger::BookOptions& book = {})
{
    QByteArray in = input;
    QBuffer source(&in);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer sink(&out);
    sink.open(QIODevice::WriteOnly);
    LedgerSettings settings;
    settings.book = book;
    settings.output = output;
    (void)runLedger(settings, source, sink);
    return out;
}

// A CSV's records, each split at its commas (the tests' files quote nothing), in LF or
// CR LF.
inline QList<QStringList> csvRecords(const QByteArray& csv)
{
    QList<QStringList> records;
    const QList<QByteArray> lines = csv.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            records << QString::fromUtf8(line).split(u',');
    }
    return records;
}
