#pragma once

#include <QDialog>

// "Miroven-計算過程": the working of a statement as read-only, selectable text, sized to
// the text within the screen and placed just below the statement. "OK" has the focus.
class WorkingWindow : public QDialog {
public:
    WorkingWindow(const QString& working, QWidget* statement);

    void cmdOK_Click();
};
