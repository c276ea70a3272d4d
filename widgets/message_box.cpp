#include "message_box.h"

#include "calc/missing_input.h"
#include "core/box_spec.h"
#include "core/messages.h"

void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok, parent);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

void showOutcome(QWidget* parent, const CalcOutcome& outcome, const CalcRecord& record)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Done:
        return;
    case CalcOutcome::Kind::MissingInput:
        showProgramMessage(parent, missingInputMessage(record.ErrNo), QMessageBox::NoIcon);
        return;
    case CalcOutcome::Kind::InputRefused: {
        const auto icon = outcome.problem() == InputProblem::Empty ? QMessageBox::NoIcon
                                                                   : QMessageBox::Warning;
        showProgramMessage(parent,
                           inputRefusalText(outcome.box()->caption.toString(), outcome.problem()),
                           icon);
        return;
    }
    case CalcOutcome::Kind::Overflow:
        showProgramMessage(parent, figureOverflowText(outcome.figure()), QMessageBox::Warning);
        return;
    case CalcOutcome::Kind::Invalid:
        showProgramMessage(parent, invalidOperationText(), QMessageBox::Warning);
        return;
    }
}
