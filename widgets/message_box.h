#pragma once

#include "calc/calc_outcome.h"
#include "core/calc_record.h"

#include <QMessageBox>

class QWidget;

// A message under the program's title with a single OK button; returns when dismissed.
void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// Tells the user why a calculation did not complete; nothing for an outcome that is done.
void showOutcome(QWidget* parent, const CalcOutcome& outcome, const CalcRecord& record);
