#pragma once

#include "widgets/fixed_dialog.h"

#include <QString>

class QLabel;

// The five lines of the About window, joined by carriage returns (the fourth is empty).
[[nodiscard]] QString aboutText();

// Product, version, maker and where to send requests. No button: only the title bar closes it.
class frmAbout : public FixedDialog {
public:
    frmAbout();

private:
    void Form_Load();

    QLabel* Label3_;
};
