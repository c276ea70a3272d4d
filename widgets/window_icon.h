#pragma once

#include <QIcon>
#include <QString>

// The icon of a window, from the SVG at `svgPath` (":/icons/NAME.svg"). The renderings
// of it made at build time (":/icons/NAME-16.png", -32, -64, -128) are what the window
// manager is given, so showing a window draws no SVG; the SVG itself is read only when
// another size, mode or pixel density is asked for. Either way the pixels are the SVG's.
QIcon loadWindowIcon(const QString& svgPath);
