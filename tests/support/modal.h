#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QMessageBox;

// Waits (from the event loop) for a modal window to appear, hands it to `act`, which
// must close it. Fails the running test instead of hanging when none appears.
void whenModalAppears(std::function<void(QWidget*)> act, int timeoutMs = 5000);

// Arranges for the next modal message box to be read into `text` and dismissed with OK.
void dismissNextMessage(QString* text, QString* title = nullptr, int* icon = nullptr);

// The top-level widgets still alive, for checking that nothing leaked.
int visibleTopLevelCount();
