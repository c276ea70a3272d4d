#include "outcome_text.h"

#include "distribution/distribution_declaration.h"
#include "purchase/purchase_declaration.h"
#include "redemption/redemption_declaration.h"

#include "core/messages.h"

#include <algorithm>

std::vector<const BoxDecl*> missingInputBoxes()
{
    std::vector<const BoxDecl*> boxes;
    for (const auto* table : {&kPurchaseBoxes, &kDistributionBoxes, &kRedemptionBoxes})
        boxes.insert(boxes.end(), table->begin(), table->end());
    std::sort(boxes.begin(), boxes.end(),
              [](const BoxDecl* a, const BoxDecl* b) { return a->missingCode < b->missingCode; });
    return boxes;
}

QStringList missingInputCaptions()
{
    static const QStringList captions = [] {
        QStringList list;
        for (const BoxDecl* box : missingInputBoxes())
            list.append(box->caption.toString());
        return list;
    }();
    return captions;
}

QString missingInputMessage(const QString& errNo)
{
    const std::optional<int> code = missingInputCode(errNo);
    const QStringList captions = missingInputCaptions();
    if (!code || *code < 1 || *code > captions.size())
        return {};
    return missingInputText(captions.at(*code - 1));
}

QString outcomeText(const CalcFault& fault, const CalcRecord& record)
{
    switch (fault.kind()) {
    case CalcFault::Kind::MissingInput:
        return missingInputMessage(record.ErrNo);
    case CalcFault::Kind::InputRefused:
        return inputRefusalText(fault.box()->caption.toString(), fault.problem(), record.range);
    case CalcFault::Kind::Overflow:
        return figureOverflowText(fault.figure());
    case CalcFault::Kind::Invalid:
        return invalidOperationText();
    }
    return {};
}
