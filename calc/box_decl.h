#pragma once

#include "core/calc_record.h"

#include <QPoint>
#include <QRect>
#include <QStringView>

#include <variant>

// The record field a box is stored in; its type is the box's field type.
using RecordField = std::variant<Integer CalcRecord::*, Currency CalcRecord::*, double CalcRecord::*>;

enum class BoxAlign { Left, Right };

// One input box of a calculator, as declared once: everything its window, its
// messages and its readers need. Places are in twips, relative to the client area.
struct BoxDecl {
    QStringView name;        // the box's object name, "txt" + the record field
    QStringView labelName;   // its caption label's object name
    QStringView caption;     // the label's text; messages name the box by it
    QStringView tooltip;     // shown over the caption label
    QPoint labelAt;          // caption labels size themselves to their text
    QRect boxAt;
    QStringView initialText; // written with '.' as decimal point
    BoxAlign align;
    RecordField field;
    int missingCode;         // how the missing-input message names it
    bool zeroIsMissing;      // whether a zero here stops the calculation as missing
    int tabIndex;            // its place in the window's Tab key order; also the order
                             // in which a copied statement lists the inputs

    // The box's name without its "txt" prefix: the record field's name.
    [[nodiscard]] QStringView fieldName() const { return name.mid(3); }
};
