#include "box_reading.h"

BoxTexts BoxTexts::inReadingOrder(std::span<const BoxDecl* const> boxes, const QStringList& texts)
{
    BoxTexts result;
    for (std::size_t i = 0; i < boxes.size() && i < static_cast<std::size_t>(texts.size()); ++i)
        result.set(*boxes[i], texts.at(static_cast<qsizetype>(i)));
    return result;
}

void BoxTexts::set(const BoxDecl& box, const QString& text)
{
    for (auto& [decl, typed] : texts_) {
        if (decl == &box) {
            typed = text;
            return;
        }
    }
    texts_.append({&box, text});
}

QString BoxTexts::text(const BoxDecl& box) const
{
    for (const auto& [decl, typed] : texts_) {
        if (decl == &box)
            return typed;
    }
    return {};
}

namespace {

Parsed<Integer> parse(const QString& text, const NumberFormat& format, IntegerRange range, Integer*)
{
    return parseInteger(text, format, range);
}
Parsed<Currency> parse(const QString& text, const NumberFormat& format, IntegerRange, Currency*)
{
    return parseCurrency(text, format);
}
Parsed<double> parse(const QString& text, const NumberFormat& format, IntegerRange, double*)
{
    return parseDouble(text, format);
}

QString roundedTo(Integer) { return QStringLiteral("整数に偶数丸め"); }
QString roundedTo(Currency) { return QStringLiteral("小数第4位に偶数丸め"); }
QString roundedTo(double) { return {}; }

double asDouble(Integer value) { return static_cast<double>(value); }
double asDouble(Currency value) { return value.toDouble(); }
double asDouble(double value) { return value; }

// The stored value, and how storing rounded the text when it did. A double field holds
// the double nearest the text, which is how the text reads back.
template <class T>
void traceInput(Trace& trace, const BoxDecl& box, const QString& text, T stored,
                const NumberFormat& format)
{
    const QString value = workingText(stored);
    trace.input(box.caption.toString(), value, box.tabIndex);
    const std::optional<double> typed = parseDouble(text, format).optional();
    const QString rounding = roundedTo(stored);
    if (!rounding.isEmpty() && typed && *typed != asDouble(stored)) {
        trace.step(QStringLiteral("%1 = %2（入力 %3 を%4）")
                       .arg(box.caption, value, text.trimmed(), rounding));
    } else {
        trace.step(QStringLiteral("%1 = %2").arg(box.caption, value));
    }
}

// Today's rules refuse what no holding can be: an amount, a NAV or a number of units
// below 0, or a percentage (every Double box holds one) outside 0 to 100. A 0 is left
// to the missing-input test.
std::optional<InputProblem> outsideTodaysBounds(Integer value)
{
    return value < 0 ? std::optional(InputProblem::BelowZero) : std::nullopt;
}
std::optional<InputProblem> outsideTodaysBounds(Currency value)
{
    return value.raw() < 0 ? std::optional(InputProblem::BelowZero) : std::nullopt;
}
std::optional<InputProblem> outsideTodaysBounds(double value)
{
    return value < 0.0 || value > 100.0 ? std::optional(InputProblem::NotAPercentage) : std::nullopt;
}

bool isZero(Integer value) { return value == 0; }
bool isZero(Currency value) { return value.isZero(); }
bool isZero(double value) { return value == 0.0; }

} // namespace

CalcOutcome<> readBoxes(CalcRecord& record, std::span<const BoxDecl* const> boxes,
                        const BoxTexts& texts, const NumberFormat& format, Trace* trace)
{
    note(trace, [] { return QStringLiteral("【入力】"); });
    for (const BoxDecl* box : boxes) {
        const QString text = texts.text(*box);
        const std::optional<InputProblem> problem = std::visit(
            [&](auto member) -> std::optional<InputProblem> {
                auto& field = record.*member;
                const auto parsed = parse(text, format, record.range, &field);
                if (!parsed)
                    return parsed.why();
                if (record.rules.set == RuleSet::Current) {
                    if (const auto bound = outsideTodaysBounds(*parsed))
                        return bound;
                }
                field = *parsed;
                if (trace)
                    traceInput(*trace, *box, text, field, format);
                return std::nullopt;
            },
            box->field);
        if (problem)
            return CalcFault::refused(*box, *problem);
    }
    return {};
}

CalcOutcome<> findMissingInput(CalcRecord& record, std::span<const BoxDecl* const> boxes)
{
    for (const BoxDecl* box : boxes) {
        const bool zero = std::visit([&](auto member) { return isZero(record.*member); }, box->field);
        if (box->zeroIsMissing && zero) {
            record.ErrNo = QString::number(box->missingCode);
            return CalcFault::missingInput();
        }
    }
    return {};
}

CalcOutcome<> readInputs(CalcRecord& record, std::span<const BoxDecl* const> boxes,
                         const BoxTexts& texts, const NumberFormat& format, Trace* trace)
{
    if (CalcOutcome<> read = readBoxes(record, boxes, texts, format, trace); !read)
        return read;
    return findMissingInput(record, boxes);
}
