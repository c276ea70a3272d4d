#pragma once

#include "calc/declaration.h"
#include "core/trace.h"

#include <QStringList>

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
