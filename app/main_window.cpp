#include "main_window.h"

#include "about_window.h"
#include "windows/calculators.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "widgets/window_icon.h"

#include <QMenuBar>

frmmain::frmmain(CalcRecord& record) : record_(record)
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Miroven"));
    setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/app.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    // The menu bar's only item is itself a command.
    QAction* about = menuBar()->addAction(QStringLiteral("About(&A)"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &frmmain::mnuAbout_Click);

    auto* client = new QWidget(this);
    client->setFixedSize(twips(5010), twips(1860));
    setCentralWidget(client);

    // Created in tab order.
    auto* cmdBuy = addButton(client, QStringLiteral("cmdBuy"), QStringLiteral("今買うと何口になる？"),
                             {240, 360, 3255, 375});
    auto* cmdSell = addButton(client, QStringLiteral("cmdSell"),
                              QStringLiteral("今解約するといくらになる？"), {240, 840, 3255, 375});
    auto* cmdDev = addButton(client, QStringLiteral("cmdDev"), QStringLiteral("分配金が出た場合"),
                             {240, 1320, 3255, 375});
    auto* cmdCancel = addButton(client, QStringLiteral("cmdCancel"), QStringLiteral("終了"),
                                {3600, 360, 1335, 375});
    connect(cmdBuy, &QPushButton::clicked, this, &frmmain::cmdBuy_Click);
    connect(cmdSell, &QPushButton::clicked, this, &frmmain::cmdSell_Click);
    connect(cmdDev, &QPushButton::clicked, this, &frmmain::cmdDev_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmmain::cmdCancel_Click);

    // The given position is that of the client area, below the menu bar.
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(client->width(), client->height() + menuHeight);
    setGeometry(twips(2370), twips(1290) - menuHeight, width(), height());
    cmdBuy->setFocus(Qt::OtherFocusReason);
}

void frmmain::cmdBuy_Click() { showPurchaseWindow(record_); }

void frmmain::cmdSell_Click() { showRedemptionWindow(record_); }

void frmmain::cmdDev_Click() { showDistributionWindow(record_); }

void frmmain::cmdCancel_Click() { close(); }

void frmmain::mnuAbout_Click()
{
    frmAbout about;
    about.exec();
}
