#pragma once

#include <QString>
#include <QStringList>

// How --help lays out its lines on a terminal, where a CJK character takes two columns.

// An option and its description, the description from column 29 on (on the next line
// after a longer option); a description may run over several lines, each indented alike.
[[nodiscard]] QString optionLine(int indent, const QString& option, const QString& description);

// The items joined by "、" after `lead`, broken after a "、" so that no line passes
// `width` columns, each further line indented by `indent` spaces; ends with a line break.
[[nodiscard]] QString wrappedList(const QString& lead, const QStringList& items, int indent, int width = 92);
