#include "distribution_window.h"

#include "calc/calculators.h"
#include "distribution_calculation.h"
#include "distribution_statement_window.h"

#include <QLocale>

frmDiv::frmDiv(CalcRecord& record) : InputWindow(kDistributionWindow), record_(record) {}

void frmDiv::cmdCalc_Click()
{
    const Formed<DistributionFigures> formed =
        calculateDistribution(record_, texts(), NumberFormat::fromLocale(QLocale::system()));
    if (reportFault(formed.outcome, record_))
        return;
    frmDivShow statement(formed.figures);
    statement.exec();
}

void showDistributionWindow(CalcRecord& record)
{
    frmDiv window(record);
    window.exec();
}
