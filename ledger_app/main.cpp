#include "ledger_app/ledger_setup.h"
#include "ledger_app/ledger_window.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setUpLedgerApplication(app);
    QSettings settings;
    LedgerWindow window(settings);
    window.show();
    window.openFiles(QApplication::arguments().mid(1));
    return QApplication::exec();
}
