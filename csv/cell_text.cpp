#include "cell_text.h"

namespace {

bool plainAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString normalisedCell(QString cell)
{
    if (plainAscii(cell))
        return cell;
    for (QChar& c : cell) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(u - 0xFEE0);
        else if (u == 0x3000)
            c = u' ';
        else if (u == 0x2212)
            c = u'-';
    }
    return cell;
}

QString figureCell(QString cell, bool percentage)
{
    cell = normalisedCell(std::move(cell));
    if (percentage) {
        qsizetype end = cell.size();
        while (end > 0 && cell.at(end - 1).isSpace())
            --end;
        if (end > 0 && cell.at(end - 1) == u'%')
            cell.truncate(end - 1);
    }
    return cell;
}

std::optional<bool> checkBoxCell(QString cell)
{
    const QString value = normalisedCell(std::move(cell)).trimmed();
    if (value == u"1" || value.compare(u"TRUE", Qt::CaseInsensitive) == 0 || value == u"はい")
        return true;
    if (value.isEmpty() || value == u"0" || value.compare(u"FALSE", Qt::CaseInsensitive) == 0
        || value == u"いいえ")
        return false;
    return std::nullopt;
}
