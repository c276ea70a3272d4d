#include "about_window.h"

#include "widgets/form_controls.h"

QString aboutText()
{
    const QChar cr(u'\r');
    return QStringLiteral("Miroven ver.2.1") + cr + QStringLiteral("Tarsiel") + cr
           + QStringLiteral("Copyright (C) Tarsiel") + cr + cr
           + QStringLiteral("ご要望などは以下へ");
}

frmAbout::frmAbout()
    : FixedDialog({u"frmAbout", u"Tarsiel -About", u":/icons/about.svg", {2385, 1035, 3015, 2265},
                   false})
{
    addCaptionLabel(this, QStringLiteral("Label1"), QStringLiteral("miroven@tarsiel.example"), 600,
                    1560);
    addCaptionLabel(this, QStringLiteral("Label2"), QStringLiteral("https://tarsiel.example/"), 600,
                    1920);
    Label3_ = addCaptionLabel(this, QStringLiteral("Label3"), QString(), 480, 240);
    Form_Load();
}

void frmAbout::Form_Load()
{
    // A label breaks lines at line feeds, not at carriage returns.
    QString shown = aboutText();
    shown.replace(u'\r', u'\n');
    Label3_->setText(shown);
    Label3_->adjustSize();
}
