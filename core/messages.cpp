#include "messages.h"

#include <cmath>

std::optional<int> missingInputCode(const QString& errNo)
{
    bool ok = false;
    const double code = errNo.toDouble(&ok);
    if (!ok || !std::isfinite(code) || std::abs(code) > 1000)
        return std::nullopt;
    // The code names an entry counted from 0, found as code - 1 rounded ties to even.
    return static_cast<int>(std::nearbyint(code - 1.0)) + 1;
}

QString missingInputText(const QString& caption)
{
    return caption + QStringLiteral("が入力されていません");
}

QString inputRefusalText(const QString& caption, InputProblem problem, IntegerRange range)
{
    switch (problem) {
    case InputProblem::Empty:
        return missingInputText(caption);
    case InputProblem::NotANumber:
        return caption + QStringLiteral("には数値を入力してください");
    case InputProblem::OutOfIntegerRange:
        return caption
               + QStringLiteral("には %1 から %2 までの数値を入力してください").arg(range.min).arg(range.max);
    case InputProblem::TooLarge:
        return caption + QStringLiteral("の数値が大きすぎます");
    case InputProblem::BelowZero:
        // Every such box takes 0 as a missing input, so what it must be is above 0.
        return caption + QStringLiteral("には 0 より大きい数値を入力してください");
    case InputProblem::NotAPercentage:
        return caption + QStringLiteral("には 0 から 100 までの数値を入力してください");
    }
    return {};
}

QString figureOverflowText(const QString& figure)
{
    return figure + QStringLiteral("が計算できる範囲を超えています");
}

QString figureOutOfRangeText(const QString& figure, IntegerRange range)
{
    return figure + QStringLiteral("が計算できる範囲（%1 から %2 まで）を超えています").arg(range.min).arg(range.max);
}

QString invalidOperationText()
{
    return QStringLiteral(u"入力された値では計算できません");
}
