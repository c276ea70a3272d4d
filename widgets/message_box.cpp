#include "message_box.h"

#include "calc/outcome_text.h"
#include "core/messages.h"

void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok, parent);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

void showFault(QWidget* parent, const CalcFault& fault, const CalcRecord& record)
{
    // Only a box left empty or a missing input is told without a warning sign.
    const bool missing = fault.kind() == CalcFault::Kind::MissingInput
                         || (fault.kind() == CalcFault::Kind::InputRefused
                             && fault.problem() == InputProblem::Empty);
    showProgramMessage(parent, outcomeText(fault, record),
                       missing ? QMessageBox::NoIcon : QMessageBox::Warning);
}
