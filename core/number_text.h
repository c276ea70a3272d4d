#pragma once

#include "currency.h"
#include "integer.h"

#include <QChar>
#include <QLocale>
#include <QString>

#include <optional>

// The separators a typed number may use, already in their ordinary (NFKC) form.
struct NumberFormat {
    QChar decimalPoint = u'.';
    QChar groupSeparator = u',';

    static NumberFormat fromLocale(const QLocale& locale);
};

// Why a box's text could not become its field's value.
enum class InputProblem {
    Empty,             // nothing but spaces
    NotANumber,        // anything the number grammar does not accept
    OutOfIntegerRange, // a whole-number field outside -32768..32767
    TooLarge,          // a Currency or Double field beyond its type
};

template <class T>
struct Parsed {
    std::optional<T> value;
    InputProblem problem = InputProblem::NotANumber; // meaningful only without a value
};

// Text typed into a box, converted without ever passing through binary floating
// point where the field is decimal: Integer rounds to whole, Currency to four
// places, both ties to even. Double is correctly rounded. Accepted: surrounding
// spaces, one leading + or -, digits with group separators between digits of the
// whole part, a fraction after the decimal point (".5" and "5." are numbers).
// Full-width forms count as their ordinary counterparts.
[[nodiscard]] Parsed<Integer> parseInteger(const QString& text, const NumberFormat& format);
[[nodiscard]] Parsed<Currency> parseCurrency(const QString& text, const NumberFormat& format);
[[nodiscard]] Parsed<double> parseDouble(const QString& text, const NumberFormat& format);
