#include "help_layout.h"

#include <algorithm>

namespace {

// Terminal columns: CJK characters take two.
qsizetype columns(const QString& text)
{
    qsizetype width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

} // namespace

QString optionLine(int indent, const QString& option, const QString& description)
{
    constexpr int kDescriptionAt = 28;
    const QString lead(indent, u' ');
    const QString continuation(kDescriptionAt, u' ');
    // An option too long for its column has the description begin on the next line.
    const qsizetype room = kDescriptionAt - indent - columns(option);
    QString text = lead + option + (room >= 1 ? QString(room, u' ') : u'\n' + continuation);
    text += description.split(u'\n').join(u'\n' + continuation);
    return text + u'\n';
}

QString wrappedList(const QString& lead, const QStringList& items, int indent, int width)
{
    // Broken after any "、", within an item's parentheses too.
    const QString all = items.join(QStringLiteral("、"));
    QString text;
    QString line = lead;
    qsizetype from = 0;
    while (from < all.size()) {
        const qsizetype comma = all.indexOf(u'、', from);
        const qsizetype to = comma < 0 ? all.size() : comma + 1;
        const QString piece = all.mid(from, to - from);
        if (line.size() > std::max<qsizetype>(indent, lead.size()) && columns(line + piece) > width) {
            text += line + u'\n';
            line = QString(indent, u' ');
        }
        line += piece;
        from = to;
    }
    return text + line + u'\n';
}
