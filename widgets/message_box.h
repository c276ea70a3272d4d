#pragma once

#include "calc/calc_outcome.h"
#include "core/calc_record.h"

#include <QMessageBox>

class QWidget;

// A message under the program's title with a single OK button; returns when dismissed.
void showProgramMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);

// Tells the user why a calculation did not complete.
void showFault(QWidget* parent, const CalcFault& fault, const CalcRecord& record);
