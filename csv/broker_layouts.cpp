#include "broker_layouts.h"

#include "cell_text.h"

namespace broker {

QString layoutTitle(const LayoutDecl& layout)
{
    return layout.broker.toString() + u' ' + layout.name.toString();
}

QString wordKey(QStringView word)
{
    QString key = normalisedCell(word.toString());
    key.removeIf([](QChar c) { return c.isSpace(); });
    return key;
}

bool isFundProduct(QStringView product)
{
    const QString key = wordKey(product);
    return key == u"投資信託" || key == u"投信";
}

std::optional<AccountWord> accountWord(QStringView word)
{
    const QString key = wordKey(word);
    if (key.isEmpty())
        return std::nullopt;
    return ::accountWord(key.toUtf8());
}

std::optional<Action> actionWord(const LayoutDecl& layout, QStringView word)
{
    const QString key = wordKey(word);
    for (const ActionWord& entry : layout.actions) {
        if (entry.prefix ? key.startsWith(entry.word) : key == entry.word)
            return entry.action;
    }
    return std::nullopt;
}

} // namespace broker
