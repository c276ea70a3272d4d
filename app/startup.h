#pragma once

#include <QString>

struct CalcRecord;

// Start-up: refuse a second copy, otherwise show the main menu and run until it
// closes. Returns the exit code. `lockDirectory` holds the single-instance lock.
int runMiroven(CalcRecord& record, const QString& lockDirectory);
