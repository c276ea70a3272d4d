#pragma once

// A slow, independent reading of typed numbers for the fuzzers to check the real one
// against: a regular expression for the grammar (thousands separators only between
// groups of three) and exact rational arithmetic (GMP) or correctly rounded binary
// conversion (MPFR) for the value.

#include "core/number_text.h"

#include <QRegularExpression>
#include <QString>

#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <optional>
#include <string>

namespace reference {

struct Reading {
    bool empty = false;
    bool number = false;
    bool negative = false;
    std::string whole;    // may carry leading zeros
    std::string fraction;
};

// Full-width forms and the ideographic space as their ASCII counterparts; nothing else.
inline QString withoutFullWidth(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        const unsigned u = c.unicode();
        if (u == 0x3000)
            out += QLatin1Char(' ');
        else if (u >= 0xFF01 && u <= 0xFF5E)
            out += QLatin1Char(char(u - 0xFF01 + 0x21));
        else
            out += c;
    }
    return out;
}

inline Reading read(const QString& text, const NumberFormat& format)
{
    Reading r;
    // White space as Qt's QChar::isSpace() has it: Unicode separators and the C controls.
    static const QRegularExpression kTrim(
        QStringLiteral("\\A[\\t\\n\\v\\f\\r\\x{85}\\p{Z}]*(.*?)[\\t\\n\\v\\f\\r\\x{85}\\p{Z}]*\\z"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString t = kTrim.match(withoutFullWidth(text)).captured(1);
    if (t.isEmpty()) {
        r.empty = true;
        return r;
    }
    const QString point = QRegularExpression::escape(QString(format.decimalPoint));
    // A locale grouping with a space takes any space character between groups.
    const QString group = format.groupSeparator.category() == QChar::Separator_Space
                              ? QStringLiteral("\\p{Zs}")
                              : QRegularExpression::escape(QString(format.groupSeparator));
    const QRegularExpression grammar(
        QStringLiteral("\\A([+-]?)([0-9]+|[1-9][0-9]{0,2}(?:%1[0-9]{3})+)?(?:%2([0-9]*))?\\z")
            .arg(group, point));
    const auto m = grammar.match(t);
    if (!m.hasMatch())
        return r;
    const QString whole = m.captured(2).remove(QRegularExpression(QStringLiteral("[^0-9]")));
    const QString fraction = m.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return r;
    r.number = true;
    r.negative = m.captured(1) == QStringLiteral("-");
    r.whole = whole.toStdString();
    r.fraction = fraction.toStdString();
    return r;
}

// The exact value times 10^places, rounded to whole ties to even, as a decimal string.
inline std::string scaledRounded(const Reading& r, int places)
{
    mpz_t num, den, q, rem, twice;
    mpz_inits(num, den, q, rem, twice, nullptr);
    const std::string digits = (r.whole + r.fraction).empty() ? "0" : r.whole + r.fraction;
    mpz_set_str(num, digits.c_str(), 10);
    mpz_ui_pow_ui(den, 10, r.fraction.size());
    mpz_t scale;
    mpz_init(scale);
    mpz_ui_pow_ui(scale, 10, static_cast<unsigned long>(places));
    mpz_mul(num, num, scale);
    mpz_fdiv_qr(q, rem, num, den);
    mpz_mul_ui(twice, rem, 2);
    const int cmp = mpz_cmp(twice, den);
    if (cmp > 0 || (cmp == 0 && mpz_odd_p(q)))
        mpz_add_ui(q, q, 1);
    if (r.negative)
        mpz_neg(q, q);
    std::string out(mpz_sizeinbase(q, 10) + 2, '\0');
    mpz_get_str(out.data(), 10, q);
    out.resize(std::char_traits<char>::length(out.c_str()));
    mpz_clears(num, den, q, rem, twice, scale, nullptr);
    return out == "-0" ? "0" : out;
}

inline bool fitsBetween(const std::string& value, const char* low, const char* high)
{
    mpz_t v, lo, hi;
    mpz_init_set_str(v, value.c_str(), 10);
    mpz_init_set_str(lo, low, 10);
    mpz_init_set_str(hi, high, 10);
    const bool fits = mpz_cmp(v, lo) >= 0 && mpz_cmp(v, hi) <= 0;
    mpz_clears(v, lo, hi, nullptr);
    return fits;
}

// Integer: whole yen ties to even within the bounds given as decimal text.
inline std::optional<long long> integer(const Reading& r, const char* low, const char* high)
{
    const std::string v = scaledRounded(r, 0);
    if (!fitsBetween(v, low, high))
        return std::nullopt;
    return std::stoll(v);
}

// Currency: four places ties to even, as the raw 64-bit count of ten-thousandths.
inline std::optional<long long> currencyRaw(const Reading& r)
{
    const std::string v = scaledRounded(r, 4);
    if (!fitsBetween(v, "-9223372036854775808", "9223372036854775807"))
        return std::nullopt;
    return std::stoll(v);
}

// Double: the nearest binary64, or nothing when it overflows.
inline std::optional<double> binary(const Reading& r)
{
    const std::string text = (r.negative ? "-" : "") + (r.whole.empty() ? "0" : r.whole) + "."
                             + (r.fraction.empty() ? "0" : r.fraction);
    mpfr_t x;
    mpfr_init2(x, 53);
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
    const int inexact = mpfr_strtofr(x, text.c_str(), nullptr, 10, MPFR_RNDN);
    mpfr_subnormalize(x, inexact, MPFR_RNDN);
    const double value = mpfr_get_d(x, MPFR_RNDN);
    mpfr_clear(x);
    if (std::isinf(value))
        return std::nullopt;
    return value;
}

} // namespace reference
