#include "application_setup.h"

#include "widgets/japanese_interface.h"
#include "widgets/window_icon.h"

#include <QApplication>

void setUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Miroven"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tarsiel"));
    QGuiApplication::setDesktopFileName(QStringLiteral(MIROVEN_APP_ID));
    QApplication::setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/app.svg")));
    setUpJapaneseInterface(app);
}
