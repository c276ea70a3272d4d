#pragma once

class QApplication;

// The ledger program's names (its settings live under them), icon, font and Qt's own
// texts in Japanese.
void setUpLedgerApplication(QApplication& app);
