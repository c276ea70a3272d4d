// Must not build: the CSV library links QtCore alone.
#include "csv/ledger_stream.h"
#include <QLabel>

int probe() { return 0; }
