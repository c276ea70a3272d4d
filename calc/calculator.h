#pragma once

#include "box_reading.h"
#include "calc_outcome.h"
#include "declaration.h"

#include "core/calc_record.h"
#include "core/number_text.h"
#include "core/trace.h"

#include <QList>
#include <QStringList>
#include <QStringView>

#include <array>

// What "計算" hands a calculator: what its boxes hold and, when it has an option,
// whether the option is selected.
struct CalcRequest {
    BoxTexts texts;
    bool optionSelected = false;
};

// A calculator as the windows and the command line both see it: its input window,
// its option if it has one, its statement, and the calculation from one to the other.
class Calculator {
public:
    virtual ~Calculator() = default;

    [[nodiscard]] virtual const InputWindowDecl& inputs() const = 0;
    // Null for a calculator without an option.
    [[nodiscard]] virtual const OptionDecl* option() const = 0;
    // The statement's row captions under a rule set, top to bottom.
    [[nodiscard]] virtual QStringList statementCaptions(RuleSet rules) const = 0;
    // Reads the request into the record, calculates and forms the statement, as "計算"
    // does, under the record's rules: the figures as the statement shows them, or why
    // there are none. A trace receives the working.
    [[nodiscard]] virtual CalcOutcome<QList<ShownFigure>>
    calculate(CalcRecord& record, const CalcRequest& request, const NumberFormat& format,
              Trace* trace) const = 0;
};

// A calculator from its description `C`: C::inputs, C::statement (by rule set),
// C::option and C::calculate (the typed figures).
template <class C>
class CalculatorOf final : public Calculator {
public:
    const InputWindowDecl& inputs() const override { return C::inputs; }
    const OptionDecl* option() const override { return C::option; }
    QStringList statementCaptions(RuleSet rules) const override
    {
        QStringList captions;
        for (const auto& row : C::statement(rules).rows)
            captions.append(row.layout.caption.toString());
        return captions;
    }
    CalcOutcome<QList<ShownFigure>> calculate(CalcRecord& record, const CalcRequest& request,
                                              const NumberFormat& format,
                                              Trace* trace) const override
    {
        const auto figures = C::calculate(record, request, format, trace);
        if (!figures)
            return figures.why();
        return shownFigures(C::statement(record.rules.set), *figures);
    }
};
