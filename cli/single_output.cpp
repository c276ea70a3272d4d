#include "single_output.h"

namespace {

QByteArray jsonString(const QString& text)
{
    QByteArray out("\"");
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += QByteArray("\\u00") + QByteArray::number(static_cast<unsigned char>(c), 16)
                                                 .rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + '"';
}

Printed asText(const Statement& statement, const QStringList& working)
{
    if (!statement.done)
        return {{}, statement.message.toUtf8() + '\n'};
    QByteArray out;
    for (const ShownFigure& figure : statement.figures)
        out += figure.row->caption.toUtf8() + '\t' + figure.text.toUtf8() + '\n';
    if (!working.isEmpty())
        out += '\n' + working.join(u'\n').toUtf8() + '\n';
    return {out, {}};
}

Printed asJson(const CliCalculator& calculator, const Statement& statement,
               const QStringList& working)
{
    QByteArray out = "{\"calculator\":" + jsonString(calculator.name.toString()) + ",\"statement\":[";
    for (qsizetype i = 0; i < statement.figures.size(); ++i) {
        const ShownFigure& figure = statement.figures.at(i);
        // A figure as shown is plain decimal digits with an optional "-": a JSON number,
        // written as is so that no digit is lost to a double on the way.
        out += (i > 0 ? "," : "") + QByteArray("{\"caption\":") + jsonString(figure.row->caption.toString())
               + ",\"figure\":" + figure.text.toUtf8() + '}';
    }
    out += "],\"message\":" + jsonString(statement.message);
    if (!working.isEmpty()) {
        out += ",\"working\":[";
        for (qsizetype i = 0; i < working.size(); ++i)
            out += (i > 0 ? "," : "") + jsonString(working.at(i));
        out += ']';
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
