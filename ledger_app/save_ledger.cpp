#include "save_ledger.h"

#include "replay.h"

#include "csv/csv_encoding.h"
#include "csv/csv_reader.h"
#include "csv/ledger_stream.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <string>

namespace {

// The whole input in `wanted`; false, with `problem`, when it has a character that
// encoding lacks or is in neither.
bool inEncoding(QByteArray& bytes, CsvEncoding wanted, QString& problem)
{
    QBuffer probe(&bytes);
    probe.open(QIODevice::ReadOnly);
    CsvReader reader(probe);
    if (reader.next() == CsvReader::Result::Malformed) {
        problem = reader.problem();
        return false;
    }
    if (reader.encoding() == wanted)
        return true;
    Cp932Codec codec;
    if (wanted == CsvEncoding::Utf8) {
        QString text;
        if (!codec.decode(bytes, &text)) {
            problem = QStringLiteral("CP932 として読めない文字があります");
            return false;
        }
        bytes = text.toUtf8();
        return true;
    }
    QByteArrayView utf8 = bytes;
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8 = utf8.sliced(3);
    std::string out;
    if (!codec.encode(QString::fromUtf8(utf8), out)) {
        problem = QStringLiteral("CP932 にない文字があるため、CP932 では保存できません。UTF-8 を選んでください");
        return false;
    }
    bytes = QByteArray(out.data(), qsizetype(out.size()));
    return true;
}

} // namespace

SaveOutcome saveLedger(const InputRequest& request, const LedgerPreferences& preferences, bool report,
                       const QString& path)
{
    if (request.files.isEmpty())
        return {QStringLiteral("保存する取引がありません。先にファイルを開いてください")};
    const CsvEncoding encoding =
        preferences.saveEncoding == LedgerPreferences::SaveEncoding::Cp932 ? CsvEncoding::Cp932 : CsvEncoding::Utf8;
    LedgerSettings settings;
    settings.book = bookOptions(preferences);
    settings.output = report ? LedgerOutput::Report : LedgerOutput::Rows;
    InputRows rows(request, encoding);
    if (!rows.open(settings.book.roundings))
        return {rows.problem()};
    QByteArray bytes;
    if (rows.merging()) {
        // A name CP932 lacks would be written as something else: refused, as for one file.
        if (encoding == CsvEncoding::Cp932) {
            InputRows utf8(request);
            ledger::Roundings roundings;
            QString problem;
            QByteArray text = utf8.open(roundings) ? utf8.merged() : QByteArray();
            if (!inEncoding(text, encoding, problem))
                return {QStringLiteral("保存できません: %1").arg(problem)};
        }
        bytes = rows.merged();
        settings.encoding = encoding;
        settings.remark = rows.remarks();
    } else {
        QFile file(request.files.front());
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("%1 を読めません: %2").arg(QFileInfo(file).fileName(), file.errorString())};
        bytes = file.readAll();
        QString problem;
        if (!inEncoding(bytes, encoding, problem))
            return {QStringLiteral("%1 を保存できません: %2").arg(QFileInfo(file).fileName(), problem)};
    }

    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly))
        return {QStringLiteral("%1 に保存できません: %2").arg(QFileInfo(path).fileName(), output.errorString())};
    const BatchResult result = runLedger(settings, input, output);
    if (result.kind == BatchResult::Kind::Unreadable || result.kind == BatchResult::Kind::WriteFailed) {
        output.cancelWriting();
        return {QStringLiteral("%1 に保存できません: %2").arg(QFileInfo(path).fileName(), result.problem)};
    }
    if (!output.commit())
        return {QStringLiteral("%1 に保存できません: %2").arg(QFileInfo(path).fileName(), output.errorString())};
    return {QString(), result.kind == BatchResult::Kind::SomeRefused};
}
