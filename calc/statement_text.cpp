#include "statement_text.h"

#include <algorithm>

namespace {

QString line(QStringView caption, const QString& value)
{
    return caption.toString() + u'\t' + value + u'\n';
}

} // namespace

QString statementCopyText(QStringView title, const Trace& working,
                          const QList<ShownFigure>& figures)
{
    QString text = title.toString() + u'\n';
    // The only option a window has sits above its boxes.
    for (const Trace::Choice& choice : working.choices())
        text += line(choice.caption, choice.selected ? QStringLiteral("はい") : QStringLiteral("いいえ"));
    QList<Trace::Input> inputs = working.inputs();
    std::stable_sort(inputs.begin(), inputs.end(), [](const Trace::Input& a, const Trace::Input& b) {
        return a.order < b.order;
    });
    for (const Trace::Input& input : inputs)
        text += line(input.caption, input.value);
    for (const ShownFigure& figure : figures)
        text += line(figure.row->caption, figure.text);
    return text;
}

QString workingText(const Trace& working) { return working.steps().join(u'\n'); }
