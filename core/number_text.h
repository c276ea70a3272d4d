#pragma once

#include "currency.h"
#include "integer.h"
#include "outcome.h"

#include <QChar>
#include <QLocale>
#include <QString>

#include <optional>

// The separators a typed number may use, in their ordinary (not full-width) form.
struct NumberFormat {
    QChar decimalPoint = u'.';
    QChar groupSeparator = u',';

    static NumberFormat fromLocale(const QLocale& locale);
};

// Why a box's text could not become its field's value.
enum class InputProblem {
    Empty,             // nothing but white space
    NotANumber,        // anything the number grammar does not accept
    OutOfIntegerRange, // a whole-number field outside the calculation's range
    TooLarge,          // a Currency or Double field beyond its type
    // Under today's rules only (the windows calculate them):
    BelowZero,         // an amount, a NAV or a number of units below 0
    NotAPercentage,    // a percentage outside 0 to 100
};

template <class T>
using Parsed = Outcome<T, InputProblem>;

// Text typed into a box, converted without ever passing through binary floating
// point where the field is decimal: Integer rounds to whole, Currency to four
// places, both ties to even. Double is correctly rounded. Accepted: surrounding
// white space of any kind, one leading + or -, a whole part of plain digits or of
// 1-3 digits (not starting with 0) followed by groups of exactly three digits each
// after a group separator, a fraction after the decimal point (".5" and "5." are
// numbers). A separator anywhere else makes the text not a number: it is usually a
// mistyped decimal point, and reading "0,3" as 3 would be a silent wrong figure.
// Full-width forms U+FF01-U+FF5E and the ideographic space count as their ordinary
// counterparts; no other character is mapped.
[[nodiscard]] Parsed<Integer> parseInteger(const QString& text, const NumberFormat& format,
                                          IntegerRange range);
[[nodiscard]] Parsed<Currency> parseCurrency(const QString& text, const NumberFormat& format);
[[nodiscard]] Parsed<double> parseDouble(const QString& text, const NumberFormat& format);

// A box's initial text written with '.' as the decimal point ("0.3"), in the form the
// user's locale reads ("0,3" where the comma is the decimal point), so that an
// untouched box reads as its default. Any other text comes back unchanged.
[[nodiscard]] QString localizedInitialText(const QString& text, const NumberFormat& format);
