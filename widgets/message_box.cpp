#include "message_box.h"

#include "calc/outcome_text.h"
#include "core/messages.h"

void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok, parent);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

void showOutcome(QWidget* parent, const CalcOutcome& outcome, const CalcRecord& record)
{
    if (outcome.isDone())
        return;
    // Only a box left empty or a missing input is told without a warning sign.
    const bool missing = outcome.kind() == CalcOutcome::Kind::MissingInput
                         || (outcome.kind() == CalcOutcome::Kind::InputRefused
                             && outcome.problem() == InputProblem::Empty);
    showProgramMessage(parent, outcomeText(outcome, record),
                       missing ? QMessageBox::NoIcon : QMessageBox::Warning);
}
