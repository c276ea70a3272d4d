#include "japanese_interface.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void setUpJapaneseInterface(QApplication& app)
{
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
