#include "tax_law.h"

QString incomeTaxText(const TaxYears& law)
{
    return law.incomeTaxName.toString() + u' ' + percentText(law.income) + QStringLiteral(" %");
}

QString residentTaxText(const TaxYears& law) { return QStringLiteral("住民税 ") + percentText(law.resident) + QStringLiteral(" %"); }
