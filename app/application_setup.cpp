#include "application_setup.h"

#include "widgets/window_icon.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

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
    // Qt draws some texts itself (a text box's context menu, the working's, a message
    // box's button): Japanese like every other word of the program, in every locale.
    // Without the translations installed they stay in English.
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
}
