#pragma once

class QApplication;

// Names, version, icon, font and Qt's own texts in Japanese, which every window of the
// program relies on.
void setUpApplication(QApplication& app);
