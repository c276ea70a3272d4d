#include "ledger_setup.h"

#include "widgets/japanese_interface.h"
#include "widgets/window_icon.h"

#include <QApplication>

void setUpLedgerApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("miroven-ledger"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tarsiel"));
    QGuiApplication::setDesktopFileName(QStringLiteral(MIROVEN_LEDGER_ID));
    QApplication::setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/ledger.svg")));
    setUpJapaneseInterface(app);
}
