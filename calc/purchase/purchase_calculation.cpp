#include "purchase_calculation.h"

#include "core/fund_rules.h"
#include "core/worksheet.h"


namespace {

constexpr QStringView kUnits = figureOf(kPurchaseUnitsRow);
constexpr QStringView kAmount = figureOf(kPurchaseAmountRow);
constexpr QStringView kFee = figureOf(kPurchaseFeeRow);
constexpr QStringView kTotal = figureOf(kPurchaseTotalRow);

QString yesNo(bool yes) { return yes ? QStringLiteral("はい") : QStringLiteral("いいえ"); }

// Most funds sold today carry no sales fee: under today's rules a fee of 0 is a fee of
// 0, not a missing input, so only the others are tested for one.
constexpr std::array<const BoxDecl*, 3> kNoLoadMissingTest{&kPurchaseIM, &kPurchaseFP2, &kPurchaseBL};

} // namespace

CalcOutcome<> runPurchase(CalcRecord& record, const BoxTexts& texts, bool feePaidFromFunds,
                          const NumberFormat& format, Trace* trace)
{
    // Only zero counts as missing; the tax may be zero, and the windows compute negatives.
    if (CalcOutcome<> read = readBoxes(record, kPurchaseBoxes, texts, format, trace); !read)
        return read;
    const std::span<const BoxDecl* const> missingTest =
        record.rules.set == RuleSet::Current ? std::span<const BoxDecl* const>(kNoLoadMissingTest)
                                             : std::span<const BoxDecl* const>(kPurchaseBoxes);
    if (CalcOutcome<> given = findMissingInput(record, missingTest); !given)
        return given;
    if (trace) {
        trace->choice(kFeeCoverageOption.caption.toString(), feePaidFromFunds);
        trace->step(QStringLiteral("%1 = %2").arg(kFeeCoverageOption.caption, yesNo(feePaidFromFunds)));
    }

    Worksheet ws(trace, record.range);
    const auto [im, fp1, fp2] = ws.known(record.IM, record.FP1, record.FP2);
    ws.note(u"【計算】");
    // The cost factor: yen paid per yen of principal.
    auto rate = ws.known(1.0);
    Term<double> feeValue;
    if (feePaidFromFunds) {
        ws.note(u"手数料は購入資金の内から払うため、購入資金を費用係数で割って元本を求める");
        rate = ws.let(kFee, u"費用係数", fp1 / kPercent * fp2 / kPercent + (fp1 / kPercent + 1.0));
        feeValue = ws.let(kFee, u"手数料（計算値）", im - im / rate);
    } else {
        ws.note(u"手数料は購入資金に上乗せするため、費用係数 = 1（購入資金がそのまま元本）");
        feeValue = ws.let(kFee, u"手数料（計算値）", (fp1 / kPercent * fp2 / kPercent + fp1 / kPercent) * im);
    }
    const auto fee = ws.let(kFee, u"手数料", roundHalfEven(feeValue));
    const auto unitValue = ws.let(kUnits, u"購入口数（計算値）", im / rate / ws.known(record.BL) * kUnitsPerNav);
    const auto units = ws.let(kUnits, u"購入口数", roundToFourPlaces(unitValue));

    if (CalcOutcome<> done = checked(ws); !done)
        return done;
    std::tie(record.Rate, record.Fee, record.OA) = std::tuple(rate.value, fee.value, units.value);
    return {};
}

CalcOutcome<PurchaseFigures> purchaseStatement(const CalcRecord& record, bool feePaidFromFunds,
                                               Trace* trace)
{
    Worksheet ws(trace, record.range);
    const auto [oa, im] = ws.known(record.OA, record.IM);
    ws.note(u"【明細の計算】");
    // Whole units only, rounded down: a fraction of a unit is not shown as bought.
    const auto units = ws.let(kUnits, u"購入口数", roundDown(oa));
    // The units' worth at the NAV. OA carries four decimals and the result is rounded
    // down, so it may fall a yen short of the principal.
    const auto amount = ws.let(kAmount, u"金額", roundDown(ws.known(record.BL) * oa / kUnitsPerNav));
    // Paid out of the funds, the fee is already inside them; otherwise it comes on
    // top, and the sum must still be a whole number of the range.
    auto total = im;
    if (feePaidFromFunds)
        ws.note(u"総投資額 = 購入資金 = %1（手数料は購入資金の内）", im);
    else
        total = ws.let(kTotal, u"総投資額", im + ws.known(record.Fee));
    return checked(ws, PurchaseFigures{units.value, amount.value, record.Fee, total.value});
}

CalcOutcome<PurchaseFigures> calculatePurchase(CalcRecord& record, const BoxTexts& texts,
                                               bool feePaidFromFunds, const NumberFormat& format,
                                               Trace* trace)
{
    return formWhenDone(kPurchaseStatement, trace,
                        runPurchase(record, texts, feePaidFromFunds, format, trace),
                        [&] { return purchaseStatement(record, feePaidFromFunds, trace); });
}

FeeCoverage toggleFeeCoverage(FeeCoverage now)
{
    if (now.memory == 0)
        return {true, -1};
    if (now.memory == -1)
        return {false, 0};
    return now;
}
