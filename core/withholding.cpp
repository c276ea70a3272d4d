#include "withholding.h"

Withheld withhold(Worksheet& ws, const Term<Integer>& base, const TaxYears& law, const WithholdingSteps& steps)
{
    return {ws.let(steps.incomeFigure, steps.income, roundDownShare(base, law.income)),
            ws.let(steps.residentFigure, steps.resident, roundDownShare(base, law.resident))};
}

Withheld withholdAside(const Worksheet& ws, const Term<Integer>& base, const TaxYears& law)
{
    return {ws.aside(roundDownShare(base, law.income)), ws.aside(roundDownShare(base, law.resident))};
}
