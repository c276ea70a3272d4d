#pragma once

#include "core/calc_outcome.h"
#include "core/calc_record.h"

#include <QList>
#include <QMessageBox>

class QLineEdit;
class QWidget;

// A message under the program's title with a single OK button; returns when dismissed.
void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// The missing-input message for the code the record's ErrNo holds.
void showMissingInput(QWidget* parent, const CalcRecord& record);

// An input box as a calculation reads it: the box and the caption its messages name.
struct InputBox {
    QLineEdit* edit;
    QString caption;
};

// Tells the user why a calculation did not complete. A refused box gets the focus
// with its text selected; nothing typed is changed.
void reportOutcome(QWidget* parent, const CalcOutcome& outcome, const CalcRecord& record,
                   const QList<InputBox>& boxesInReadingOrder);
