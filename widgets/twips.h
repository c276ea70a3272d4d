#pragma once

#include <QRect>

// Layouts are drawn in twips: 1,440 per inch, so 15 to a pixel at 96 dpi.
// Qt scales logical pixels on dense screens, so this is the only conversion.
[[nodiscard]] constexpr int twips(int value) { return (value + 7) / 15; }

[[nodiscard]] constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

[[nodiscard]] constexpr QRect twipsRect(QRect inTwips)
{
    return twipsRect(inTwips.x(), inTwips.y(), inTwips.width(), inTwips.height());
}
