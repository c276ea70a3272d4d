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

// A check-box cell: 1, TRUE or はい selects; 0, FALSE, いいえ or nothing leaves it off
// (full-width digits and letters, spaces around and any case alike); anything else is
// nothing.
[[nodiscard]] std::optional<bool> checkBoxCell(QString cell);
