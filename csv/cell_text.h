#pragma once

#include <QString>

#include <optional>

// Cells as spreadsheets write them, made readable by one normalisation step before
// the figure, check box or column name is read: the full-width forms U+FF01-U+FF5E as
// their ASCII counterparts, the ideographic space as a space and U+2212 MINUS SIGN
// (common in text copied from web pages and PDFs) as "-". A cell that is plain ASCII
// is handed back as it is, after one pass over it. Columns carried through are never
// normalised: they keep their bytes.
[[nodiscard]] QString normalisedCell(QString cell);

// A figure for a box: normalised, and for a percentage a trailing "%" dropped, so that
// "3%" and "3.00%" (a percent cell exported) read as 3.
[[nodiscard]] QString figureCell(QString cell, bool percentage);
// Whether a figure known to be ASCII is already what figureCell() would make of it:
// anything but a percentage ending in "%". The check a batch makes first, so that a
// plain cell costs a glance at its last character, and only in a percentage.
[[nodiscard]] inline bool plainAsciiFigure(const QString& cell, bool percentage)
{
    if (!percentage)
        return true;
    qsizetype end = cell.size();
    while (end > 0 && cell[end - 1].isSpace())
        --end;
    return end == 0 || cell[end - 1] != u'%';
}

// A check-box cell: 1, TRUE or はい selects; 0, FALSE, いいえ or nothing leaves it off
// (full-width digits and letters, spaces around and any case alike); anything else is
// nothing.
[[nodiscard]] std::optional<bool> checkBoxCell(QString cell);
