#pragma once

#include "calc/box_decl.h"
#include "calc/calc_outcome.h"
#include "core/figures.h"
#include "core/trace.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>

// What a calculator declares once, as data: its windows, its boxes (core/box_decl.h)
// and its statement rows. The windows, the messages, the command line and the checks
// are all built from these declarations.

// A window's own facts. `client` is the client area's screen position and size in twips.
struct WindowDecl {
    QStringView name;
    QStringView title;
    QStringView icon;
    QRect client;
    bool maximizeBox;
};

// The input window: its boxes in reading order and its two buttons.
struct InputWindowDecl {
    WindowDecl window;
    std::span<const BoxDecl* const> boxes;
    QRect calcAt;
    QRect cancelAt;
};

// An input window's option (the purchase window's fee coverage), as data like its boxes.
struct OptionDecl {
    QStringView name;
    QStringView caption; // also the working's and a copied statement's name for it
    QStringView tooltip;
    QRect at;            // twips, relative to the client area
};

// One row of a statement, as laid out: the caption at the left, the figure in its
// field at the right.
struct RowLayout {
    QStringView captionName;
    QStringView caption;
    QPoint captionAt; // caption labels size themselves to their text
    QStringView valueName;
    QRect valueAt;
    QStringView figureName; // how messages name the figure
};

// A row and the figure it shows.
template <class Figures>
struct StatementRow {
    RowLayout layout;
    std::int64_t Figures::*figure;
};

template <class Figures>
struct StatementDecl {
    WindowDecl window;
    std::span<const StatementRow<Figures>> rows;
    QRect okAt;
};

// A statement row with its figure as shown.
struct ShownFigure {
    const RowLayout* row;
    QString text;
};

// The figures as the statement shows them, row by row, top to bottom.
template <class Figures>
[[nodiscard]] QList<ShownFigure> shownFigures(const StatementDecl<Figures>& decl,
                                              const Figures& figures)
{
    QList<ShownFigure> shown;
    shown.reserve(static_cast<qsizetype>(decl.rows.size()));
    for (const StatementRow<Figures>& row : decl.rows)
        shown.append({&row.layout, figureText(figures.*row.figure)});
    return shown;
}

// The statement's figures, formed only when the calculation before them completed.
// A trace then ends with the figures as the statement shows them.
template <class Figures, class Form>
[[nodiscard]] CalcOutcome<Figures> formWhenDone(const StatementDecl<Figures>& decl, Trace* trace,
                                                const CalcOutcome<>& calculated, Form&& form)
{
    if (!calculated)
        return calculated.why();
    CalcOutcome<Figures> formed = form();
    if (trace && formed) {
        trace->step(QStringLiteral("【明細】"));
        for (const ShownFigure& figure : shownFigures(decl, *formed))
            trace->step(figure.row->caption.toString() + QStringLiteral(" = ") + figure.text);
    }
    return formed;
}

// The figure a statement row shows, as a worksheet step names it.
template <class Figures>
[[nodiscard]] constexpr QStringView figureOf(const StatementRow<Figures>& row)
{
    return row.layout.figureName;
}
