// Must not link: the command line stands above the CSV library, which a window links
// without it.
#include "cli/options.h"
#include "csv/ledger_stream.h"

int main() { return parseArguments({}) ? 0 : 1; }
