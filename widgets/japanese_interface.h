#pragma once

class QApplication;

// What every window of the programs relies on: the interface font pinned to 9 point in
// the system's family, and Qt's own texts in Japanese.
void setUpJapaneseInterface(QApplication& app);
