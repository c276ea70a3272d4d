#include "exact.h"

#include <limits>

namespace {

constexpr Wide kNarrowMin = std::numeric_limits<std::int64_t>::min();
constexpr Wide kNarrowMax = std::numeric_limits<std::int64_t>::max();

// The rounded quotient of n ÷ d with d > 0, in whichever width T the caller chose.
template <class T>
T rounded(T n, T d, Rounding rounding)
{
    T q = n / d;
    T r = n % d;
    if (r < 0) {
        r += d;
        --q;
    }
    // q is now the floor and 0 ≤ r < d; r against d − r avoids doubling r.
    if (r == 0 || rounding == Rounding::Down)
        return q;
    const T rest = d - r;
    const bool up = rounding == Rounding::Up || (rounding == Rounding::HalfUp && r >= rest)
                    || (rounding == Rounding::HalfEven && (r > rest || (r == rest && q % 2 != 0)));
    return up ? q + 1 : q;
}

} // namespace

Wide divide(Wide n, Wide d, Rounding rounding)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    // A 64-bit division where both fit is far quicker than a 128-bit one.
    if (n >= kNarrowMin && n <= kNarrowMax && d <= kNarrowMax)
        return rounded(static_cast<std::int64_t>(n), static_cast<std::int64_t>(d), rounding);
    return rounded(n, d, rounding);
}

QString decimalText(Wide n, Wide d, int places)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    QString text = n < 0 ? QStringLiteral("-") : QString();
    const Wide magnitude = n < 0 ? -n : n;
    Wide whole = magnitude / d;
    Wide rest = magnitude % d;
    // QString has no 128-bit number: the whole part in 18-digit pieces.
    constexpr Wide kPiece = 1000000000000000000;
    QString digits;
    do {
        const QString piece = QString::number(static_cast<std::int64_t>(whole % kPiece));
        whole /= kPiece;
        digits.prepend(whole != 0 ? piece.rightJustified(18, u'0') : piece);
    } while (whole != 0);
    text += digits;
    if (rest == 0)
        return text;
    text += u'.';
    for (int digit = 0; digit < places && rest != 0; ++digit) {
        rest *= 10;
        text += QChar(u'0' + static_cast<char16_t>(rest / d));
        rest %= d;
    }
    if (rest != 0)
        text += u'…';
    return text;
}
