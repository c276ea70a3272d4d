#include "application_setup.h"

#include "widgets/window_icon.h"

#include <QApplication>
#include <QFont>

void setUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Miroven"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setOrganizationName(QStringLiteral("Tarsiel"));
    QGuiApplication::setDesktopFileName(QStringLiteral(MIROVEN_APP_ID));
    QApplication::setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/app.svg")));
    // The layouts were drawn for a 9-point interface font; larger desktop defaults
    // cut captions. Keep the system's family, pin the size.
    QFont font = QApplication::font();
    font.setPointSize(9);
    app.setFont(font);
}
