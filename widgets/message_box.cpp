#include "message_box.h"

#include "core/messages.h"

#include <QLineEdit>

void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), text, QMessageBox::Ok, parent);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

void showMissingInput(QWidget* parent, const CalcRecord& record)
{
    showProgramMessage(parent, missingInputText(record.ErrNo), QMessageBox::NoIcon);
}

void reportOutcome(QWidget* parent, const CalcOutcome& outcome, const CalcRecord& record,
                   const QList<InputBox>& boxesInReadingOrder)
{
    switch (outcome.kind) {
    case CalcOutcome::Kind::Done:
        return;
    case CalcOutcome::Kind::MissingInput:
        showMissingInput(parent, record);
        return;
    case CalcOutcome::Kind::InputRefused: {
        const InputBox& box = boxesInReadingOrder.at(outcome.box);
        const auto icon = outcome.problem == InputProblem::Empty ? QMessageBox::NoIcon
                                                                 : QMessageBox::Warning;
        showProgramMessage(parent, inputRefusalText(box.caption, outcome.problem), icon);
        box.edit->setFocus(Qt::OtherFocusReason);
        box.edit->selectAll();
        return;
    }
    case CalcOutcome::Kind::Overflow:
        showProgramMessage(parent, figureOverflowText(outcome.figure), QMessageBox::Warning);
        return;
    case CalcOutcome::Kind::Invalid:
        showProgramMessage(parent, invalidOperationText(), QMessageBox::Warning);
        return;
    }
}
