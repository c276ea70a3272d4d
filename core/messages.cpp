#include "messages.h"

#include <array>
#include <cmath>

namespace {

// Indexed from 0; code N is entry N - 1. The same texts as the input windows'
// field captions: purchase (top to bottom), distribution, redemption.
constexpr std::array<const char16_t*, 12> kCaptions = {
    u"購入資金", u"基準価額", u"販売手数料(%)", u"消費税(%)",
    u"元本の基準価額", u"分配後の基準価額", u"分配金", u"所有口数",
    u"元本の基準価額", u"現在の基準価額", u"所有口数", u"信託留保(%)",
};

} // namespace

QString missingInputCaption(int code)
{
    if (code < 1 || code > static_cast<int>(kCaptions.size()))
        return {};
    return QString::fromUtf16(kCaptions[static_cast<std::size_t>(code - 1)]);
}

QString missingInputText(const QString& errNo)
{
    // The code travels as decimal text; read it back as a number, ties to even.
    bool ok = false;
    const double code = errNo.toDouble(&ok);
    if (!ok || !std::isfinite(code) || std::abs(code) > 1000)
        return {};
    const int index = static_cast<int>(std::nearbyint(code - 1.0));
    const QString caption = missingInputCaption(index + 1);
    return caption.isEmpty() ? QString() : caption + QStringLiteral("が入力されていません");
}

QString inputRefusalText(const QString& caption, InputProblem problem)
{
    switch (problem) {
    case InputProblem::Empty:
        return caption + QStringLiteral("が入力されていません");
    case InputProblem::NotANumber:
        return caption + QStringLiteral("には数値を入力してください");
    case InputProblem::OutOfIntegerRange:
        return caption + QStringLiteral("には -32768 から 32767 までの数値を入力してください");
    case InputProblem::TooLarge:
        return caption + QStringLiteral("の数値が大きすぎます");
    }
    return {};
}

QString figureOverflowText(const QString& figure)
{
    return figure + QStringLiteral("が計算できる範囲を超えています");
}

QString invalidOperationText()
{
    return QStringLiteral(u"入力された値では計算できません");
}
