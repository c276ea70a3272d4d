#pragma once

#include "fixed_dialog.h"

#include "calc/box_reading.h"
#include "calc/calc_outcome.h"
#include "core/calc_record.h"

class CommandButton;
class QLineEdit;

// A calculator's input window, built from its declaration: each box with its caption
// label and tooltip, the boxes in tab order top to bottom, then "計算" and "終了".
// A subclass adds what is its own and handles "計算".
class InputWindow : public FixedDialog {
public:
    explicit InputWindow(const InputWindowDecl& decl);

    void cmdCancel_Click();

protected:
    virtual void cmdCalc_Click() = 0;

    // The box declared by `decl`; never null for a box of this window.
    [[nodiscard]] QLineEdit* box(const BoxDecl& decl) const;
    // What the boxes hold now.
    [[nodiscard]] BoxTexts texts() const;

    // Shows why a calculation did not complete; a refused box gets the focus with its
    // text selected. Nothing typed is changed. False when the outcome is done.
    bool reportFault(const CalcOutcome& outcome, const CalcRecord& record);

    CommandButton* cmdCalc_;
    CommandButton* cmdCancel_;

private:
    const InputWindowDecl& declaration_;
};
