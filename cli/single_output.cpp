#include "single_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The step that went wrong, as the working names it, and its figure when that is
// named otherwise.
QString failedStepLine(const Refusal& refusal)
{
    if (refusal.step == refusal.figure)
        return QStringLiteral("計算できなかった手順: %1").arg(refusal.step);
    return QStringLiteral("計算できなかった手順: %1（%2）").arg(refusal.step, refusal.figure);
}

Printed asText(const Statement& statement, const QStringList& working)
{
    if (!statement) {
        // The working as far as it went, and the step that went wrong; the message
        // stays on standard error.
        QByteArray out;
        if (!working.isEmpty()) {
            out = working.join(u'\n').toUtf8() + '\n';
            if (!statement.why().step.isEmpty())
                out += failedStepLine(statement.why()).toUtf8() + '\n';
        }
        return {out, statement.why().message.toUtf8() + '\n'};
    }
    QByteArray out;
    for (const ShownFigure& figure : *statement)
        out += figure.row->caption.toUtf8() + '\t' + figure.text.toUtf8() + '\n';
    if (!working.isEmpty())
        out += '\n' + working.join(u'\n').toUtf8() + '\n';
    return {out, {}};
}

// A JSON value as QJsonDocument writes it: UTF-8, compact.
QByteArray json(const QJsonValue& value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

Printed asJson(const CliCalculator& calculator, const Statement& statement,
               const QStringList& working)
{
    QJsonArray rows;
    if (statement) {
        for (const ShownFigure& figure : *statement)
            rows.append(QJsonObject{{QStringLiteral("caption"), figure.row->caption.toString()},
                                    {QStringLiteral("figure"), figure.text.toLongLong()}});
    }
    // The keys in the order scripts have read them since the first version, which a
    // QJsonObject (keys sorted) would not keep.
    QByteArray out = "{\"calculator\":" + json(calculator.name.toString()) + ",\"statement\":"
                     + json(rows) + ",\"message\":" + json(statement ? QString() : statement.why().message);
    if (!working.isEmpty()) {
        out += ",\"working\":" + json(QJsonArray::fromStringList(working));
        if (!statement && !statement.why().step.isEmpty()) {
            out += ",\"failedStep\":"
                   + json(QJsonObject{{QStringLiteral("step"), statement.why().step},
                                      {QStringLiteral("figure"), statement.why().figure}});
        }
    }
    return {out + "}\n", {}};
}

} // namespace

Printed printStatement(const CliCalculator& calculator, const Statement& statement,
                       OutputFormat format, const QStringList& working)
{
    return format == OutputFormat::Json ? asJson(calculator, statement, working)
                                        : asText(statement, working);
}
