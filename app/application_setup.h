#pragma once

class QApplication;

// Names, version, icon and font every window of the program relies on.
void setUpApplication(QApplication& app);
