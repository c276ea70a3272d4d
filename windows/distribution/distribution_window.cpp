#include "distribution_window.h"

#include "windows/calculators.h"
#include "calc/distribution/distribution_calculation.h"
#include "distribution_statement_window.h"

#include <QLocale>

frmDiv::frmDiv(CalcRecord& record) : InputWindow(kDistributionWindow), record_(record) {}

void frmDiv::cmdCalc_Click()
{
    Trace working;
    const Formed<DistributionFigures> formed =
        calculateDistribution(record_, texts(), NumberFormat::fromLocale(QLocale::system()), &working);
    if (reportFault(formed.outcome, record_))
        return;
    frmDivShow statement(formed.figures, working);
    statement.exec();
}

void showDistributionWindow(CalcRecord& record)
{
    frmDiv window(record);
    window.exec();
}
