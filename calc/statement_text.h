#pragma once

#include "declaration.h"

#include "core/trace.h"

#include <QString>

// A statement as plain text for the clipboard, every line ending in a line break: the
// window's caption; each input the calculation read as "caption<TAB>value", in the input
// window's order (its option first, then the boxes in tab order); then each statement
// row as "caption<TAB>figure". Pasted into a spreadsheet, it gives two columns.
[[nodiscard]] QString statementCopyText(QStringView title, const Trace& working,
                                        const QList<ShownFigure>& figures);

// The working as the 計算過程 window shows it, one step a line.
[[nodiscard]] QString workingText(const Trace& working);
