#pragma once

#include "calc/declaration.h"
#include "core/trace.h"

#include <QStringList>

// How a calculation ended, as the test tables name it: done, or the fault's kind
// with what it names.
struct CalcEnd {
    enum class Kind { Done, MissingInput, InputRefused, Overflow, Invalid };

    template <class T>
    CalcEnd(const CalcOutcome<T>& outcome)
    {
        if (outcome)
            return;
        const CalcFault& fault = outcome.why();
        kind_ = Kind(int(fault.kind()) + 1);
        box_ = fault.box();
        problem_ = fault.problem();
        // The message names a figure only for an overflow.
        if (fault.kind() == CalcFault::Kind::Overflow)
            figure_ = fault.figure();
    }

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] bool isDone() const { return kind_ == Kind::Done; }
    [[nodiscard]] const BoxDecl* box() const { return box_; }
    [[nodiscard]] InputProblem problem() const { return problem_; }
    [[nodiscard]] const QString& figure() const { return figure_; }

private:
    Kind kind_ = Kind::Done;
    const BoxDecl* box_ = nullptr;
    InputProblem problem_ = InputProblem::NotANumber;
    QString figure_;
};

// What the working must end with: each statement row as "caption = figure".
inline QStringList figureLines(const QStringList& captions, const QStringList& figures)
{
    QStringList lines;
    for (qsizetype i = 0; i < captions.size() && i < figures.size(); ++i)
        lines << captions[i] + QStringLiteral(" = ") + figures[i];
    return lines;
}

inline QStringList lastSteps(const Trace& trace, qsizetype count)
{
    return trace.steps().mid(trace.steps().size() - count);
}

// The figures as a statement shows them, top to bottom.
template <class Figures>
QStringList shownTexts(const StatementDecl<Figures>& decl, const Figures& figures)
{
    QStringList texts;
    for (const ShownFigure& figure : shownFigures(decl, figures))
        texts << figure.text;
    return texts;
}
