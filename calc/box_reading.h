#pragma once

#include "box_decl.h"
#include "calc_outcome.h"
#include "core/number_text.h"
#include "core/trace.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <utility>

// The texts of a calculator's boxes, each with the box it was typed into.
class BoxTexts {
public:
    BoxTexts() = default;
    BoxTexts(std::initializer_list<std::pair<const BoxDecl*, QString>> texts) : texts_(texts) {}

    // Texts given in the boxes' reading order, one for each box.
    [[nodiscard]] static BoxTexts inReadingOrder(std::span<const BoxDecl* const> boxes,
                                                 const QStringList& texts);

    void set(const BoxDecl& box, const QString& text);
    // The box's text; empty (so refused as missing) when none was given.
    [[nodiscard]] QString text(const BoxDecl& box) const;

private:
    QList<std::pair<const BoxDecl*, QString>> texts_;
};

// Reads the boxes in the order given and stores each value in its record field
// before the next box is read. The first box whose text is refused stops the
// reading, and its refusal is returned; the fields read before it keep their new values.
// A trace gets each value as stored, and says when storing rounded what was typed.
[[nodiscard]] CalcOutcome<> readBoxes(CalcRecord& record, std::span<const BoxDecl* const> boxes,
                                      const BoxTexts& texts, const NumberFormat& format,
                                      Trace* trace = nullptr);

// Tests the boxes in the order given for a zero where zero counts as missing; the
// first one found puts its code into ErrNo and gives MissingInput.
[[nodiscard]] CalcOutcome<> findMissingInput(CalcRecord& record,
                                             std::span<const BoxDecl* const> boxes);

// Both, as every calculator starts: the boxes read, then the first missing input.
[[nodiscard]] CalcOutcome<> readInputs(CalcRecord& record, std::span<const BoxDecl* const> boxes,
                                       const BoxTexts& texts, const NumberFormat& format,
                                       Trace* trace = nullptr);
