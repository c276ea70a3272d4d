#pragma once

#include <QMainWindow>

struct CalcRecord;

// The main menu: the program's only non-modal window. Closing it ends the run.
class frmmain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmmain(CalcRecord& record);

    void cmdBuy_Click();
    void cmdSell_Click();
    void cmdDev_Click();
    void cmdCancel_Click();
    void mnuAbout_Click();

private:
    CalcRecord& record_;
};
