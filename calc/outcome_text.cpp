#include "outcome_text.h"

#include "distribution/distribution_declaration.h"
#include "purchase/purchase_declaration.h"
#include "redemption/redemption_declaration.h"

#include "core/messages.h"

#include <algorithm>

std::vector<const BoxDecl*> missingInputBoxes()
{
    std::vector<const BoxDecl*> boxes;
    for (const auto* table : {&kPurchaseBoxes, &kDistributionBoxes, &kRedemptionBoxes}) {
        const auto first = boxes.insert(boxes.end(), table->begin(), table->end());
        std::stable_sort(first, boxes.end(),
                         [](const BoxDecl* a, const BoxDecl* b) { return a->standsAbove(*b); });
    }
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

QString outcomeText(const CalcOutcome& outcome, const CalcRecord& record)
{
    switch (outcome.kind()) {
    case CalcOutcome::Kind::Done:
        return {};
    case CalcOutcome::Kind::MissingInput:
        return missingInputMessage(record.ErrNo);
    case CalcOutcome::Kind::InputRefused:
        return inputRefusalText(outcome.box()->caption.toString(), outcome.problem(), record.range);
    case CalcOutcome::Kind::Overflow:
        return figureOverflowText(outcome.figure());
    case CalcOutcome::Kind::Invalid:
        return invalidOperationText();
    }
    return {};
}
