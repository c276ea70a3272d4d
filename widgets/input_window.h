#pragma once

#include "fixed_dialog.h"

#include "calc/calculator.h"
#include "core/calc_record.h"

#include <QList>

class CommandButton;
class QLineEdit;

// A calculator's input window, built from its declaration: each box with its caption
// label and tooltip, the boxes in their declared tab order, then "計算" and "終了".
// "計算" reads the boxes into the record, calculates, and either tells why it could
// not or opens the statement; a subclass adds what is its own.
class InputWindow : public FixedDialog {
public:
    InputWindow(const Calculator& calculator, CalcRecord& record);

    void cmdCalc_Click();
    void cmdCancel_Click();

protected:
    // Opens the calculator's statement on figures that "計算" formed.
    virtual void openStatement(const QList<ShownFigure>& figures, const Trace& working) = 0;
    // Whether the window's option is selected; a window without one has none selected.
    [[nodiscard]] virtual bool optionSelected() const { return false; }

    // The box declared by `decl`; never null for a box of this window.
    [[nodiscard]] QLineEdit* box(const BoxDecl& decl) const;
    // What the boxes hold now.
    [[nodiscard]] BoxTexts texts() const;

    CalcRecord& record_;
    CommandButton* cmdCalc_;
    CommandButton* cmdCancel_;

private:
    // Shows why a calculation did not complete; the box the message names, refused or
    // missing, gets the focus with its text selected. Nothing typed is changed.
    void reportFault(const CalcFault& fault);
    // The box a fault names; null when the fault is in a calculation step.
    [[nodiscard]] const BoxDecl* faultyBox(const CalcFault& fault) const;

    const Calculator& calculator_;
};

// An input window whose "計算" opens a `Statement` window.
template <class Statement>
class CalculatorWindow : public InputWindow {
public:
    using InputWindow::InputWindow;

protected:
    void openStatement(const QList<ShownFigure>& figures, const Trace& working) override
    {
        Statement statement(figures, working);
        statement.exec();
    }
};
