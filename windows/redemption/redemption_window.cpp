#include "redemption_window.h"

#include "windows/calculators.h"
#include "calc/redemption/redemption_calculation.h"
#include "redemption_statement_window.h"

#include <QLocale>

frmWithdraw::frmWithdraw(CalcRecord& record) : InputWindow(kRedemptionWindow), record_(record) {}

void frmWithdraw::cmdCalc_Click()
{
    // The figures are formed before the statement opens, so a fault is reported here
    // instead of opening a statement with figures missing.
    Trace working;
    const Formed<RedemptionFigures> formed =
        calculateRedemption(record_, texts(), NumberFormat::fromLocale(QLocale::system()), &working);
    if (reportFault(formed.outcome, record_))
        return;
    frmWithdrawShow statement(formed.figures, working);
    statement.exec();
}

void showRedemptionWindow(CalcRecord& record)
{
    frmWithdraw window(record);
    window.exec();
}
