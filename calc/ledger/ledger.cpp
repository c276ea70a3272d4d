#include "ledger.h"

#include "core/tax_law.h"
#include "core/withholding.h"

#include <algorithm>

namespace ledger {
namespace {

// The output's figures, as each step names the figure it belongs to.
constexpr QStringView kUnitsFigure = u"保有口数";
constexpr QStringView kPrincipalFigure = u"個別元本";
constexpr QStringView kCostFigure = u"取得単価";
constexpr QStringView kContractFigure = u"約定金額";
constexpr QStringView kFeeFigure = u"手数料";
constexpr QStringView kOrdinaryFigure = u"普通分配金";
constexpr QStringView kReturnedFigure = u"元本払戻金";
constexpr QStringView kReinvestedFigure = u"再投資口数";
constexpr QStringView kProceedsFigure = u"解約代金";
constexpr QStringView kAcquisitionFigure = u"取得費";
constexpr QStringView kGainFigure = u"譲渡損益";
constexpr QStringView kIncomeTaxFigure = u"所得税及び復興特別所得税";
constexpr QStringView kResidentTaxFigure = u"住民税";
constexpr QStringView kSettlementFigure = u"受渡金額";
constexpr QStringView kYearGainFigure = u"年内譲渡損益";

// The working's captions of the taxes, by the name the year gives the income tax (the
// output's column keeps one name for every year).
struct TaxCaptions {
    WithholdingSteps withheld; // on a distribution, and what a redemption withholds
    WithholdingSteps year;     // due on the year's net gain so far
    WithholdingSteps netted;   // due at the year's end, after the loss is set off
    QStringView dividendIncome; // the year's sum withheld on 配当等
};
constexpr TaxCaptions kWithReconstruction{
    {kIncomeTaxFigure, u"所得税及び復興特別所得税", kResidentTaxFigure, u"住民税"},
    {kIncomeTaxFigure, u"年内の所得税及び復興特別所得税", kResidentTaxFigure, u"年内の住民税"},
    {kIncomeTaxFigure, u"通算後の所得税及び復興特別所得税", kResidentTaxFigure, u"通算後の住民税"},
    u"今年の普通分配金と配当から源泉徴収した所得税及び復興特別所得税"};
constexpr TaxCaptions kIncomeOnly{
    {kIncomeTaxFigure, u"所得税", kResidentTaxFigure, u"住民税"},
    {kIncomeTaxFigure, u"年内の所得税", kResidentTaxFigure, u"年内の住民税"},
    {kIncomeTaxFigure, u"通算後の所得税", kResidentTaxFigure, u"通算後の住民税"},
    u"今年の普通分配金と配当から源泉徴収した所得税"};

const TaxCaptions& captionsOf(const TaxYears& law)
{
    return law.incomeTaxName == QStringView(u"所得税") ? kIncomeOnly : kWithReconstruction;
}

// "…: 所得税 %1、住民税 %2" with the year's name of the income tax.
QString withheldNote(QStringView what, const TaxYears& law)
{
    return QStringLiteral("%1: %2 %3、住民税 %4").arg(what, law.incomeTaxName, QStringLiteral("%1"), QStringLiteral("%2"));
}

Refusal missing(Input input) { return {.kind = RefusalKind::Missing, .input = input}; }
Refusal tooSmall(Input input) { return {.kind = RefusalKind::TooSmall, .input = input}; }

// A percentage within 0 to 100, or why not.
std::optional<Refusal> outsidePercent(const std::optional<DecimalRate>& rate, Input input)
{
    if (rate && (rate->milliPercent < 0 || rate->milliPercent > kMilliPercentScale))
        return Refusal{.kind = RefusalKind::OutsidePercent, .input = input};
    return std::nullopt;
}

// One event's run on its worksheet.
class EventRun {
public:
    EventRun(const Holding& holding, const AccountYear& year, const Event& event, const Roundings& roundings,
             const TaxYears& law, Trace* trace, const Holding& target)
        : trace_(trace), ws_(trace, IntegerRange::wide()), before_(holding), target_(target), event_(event),
          roundings_(roundings), law_(law), captions_(captionsOf(law)),
          specified_(event.account == Account::Specified), general_(event.account == Account::General)
    {
        applied_.holding = holding;
        // 1 January starts the 特定口座's year again from nothing.
        applied_.year = year;
        if (specified_ && year.year != event.date.year()) {
            applied_.year = AccountYear{};
            applied_.year.year = event.date.year();
            if (year.year != 0)
                ws_.note(u"%1 年の特定口座の年内譲渡損益と源泉徴収税額を 0 から始めます",
                         ws_.known(Integer{event.date.year()}));
        }
    }

    Outcome<Applied, Refusal> run()
    {
        noteHolding();
        std::optional<Refusal> refusal;
        switch (event_.kind) {
        case EventKind::Balance:
            refusal = balance();
            break;
        case EventKind::Purchase:
            refusal = purchase();
            break;
        case EventKind::Distribution:
        case EventKind::Reinvestment:
            refusal = distribution(event_.kind == EventKind::Reinvestment);
            break;
        case EventKind::Redemption:
            refusal = redemption();
            break;
        case EventKind::Gain:
            refusal = otherGain();
            break;
        case EventKind::Dividend:
            refusal = dividend();
            break;
        case EventKind::Transfer:
            refusal = transfer();
            break;
        }
        if (refusal)
            return *refusal;
        if (const auto& failure = ws_.failure()) {
            // The working names the step it stopped at, as the calculators' does.
            if (trace_)
                trace_->step(failure->step == failure->figure
                                 ? QStringLiteral("計算できなかった手順: %1").arg(failure->step)
                                 : QStringLiteral("計算できなかった手順: %1（%2）").arg(failure->step, failure->figure));
            if (failure->fault == TermFault::Invalid)
                return Refusal{.kind = RefusalKind::Invalid};
            return Refusal{.kind = RefusalKind::Overflow, .figure = failure->figure};
        }
        return applied_;
    }

private:
    template <class T>
    Term<T> let(QStringView figure, QStringView caption, const Term<T>& term)
    {
        return ws_.let(figure, caption, term);
    }

    void noteHolding()
    {
        if (!ws_.explains() || !touchesHolding(event_.kind))
            return;
        if (before_.units == 0) {
            ws_.note(u"保有: なし");
            return;
        }
        ws_.note(u"保有: 口数 %1、個別元本 %2、取得単価 %3", ws_.known(before_.units), ws_.known(before_.principal),
                 ws_.known(before_.cost));
        if (!(before_.principalPool == ExactYen{before_.units * Wide{before_.principal.raw()}}))
            ws_.note(u"（個別元本のもとの元本の総額 %1）", ws_.known(before_.principalPool));
        if (!(before_.costPool == ExactYen{before_.units * Wide{before_.cost.raw()}}))
            ws_.note(u"（取得単価のもとの取得価額の総額 %1）", ws_.known(before_.costPool));
    }

    std::optional<Refusal> needNav()
    {
        if (!event_.nav)
            return missing(Input::Nav);
        if (*event_.nav <= 0)
            return tooSmall(Input::Nav);
        return std::nullopt;
    }

    // The pools restarted from the rounded figures on `units`.
    void restartPools(const Term<Integer>& units, const Term<Currency>& principal, const Term<Currency>& cost)
    {
        applied_.holding.principalPool = let(kPrincipalFigure, u"元本の総額", worth(units, principal)).value;
        applied_.holding.costPool = let(kCostFigure, u"取得価額の総額", worth(units, cost)).value;
    }

    // `units` join `base`, adding `principal` to the pool behind 個別元本 and `paid` to the
    // pool behind 取得単価: both averages as after a purchase. 個別元本 averages from the
    // previous one as printed when the roundings say so, and its pool then restarts.
    template <class Principal, class Paid>
    Holding averaged(const Holding& base, const Term<Integer>& units, const Term<Principal>& principal,
                     const Term<Paid>& paid)
    {
        const bool printed = roundings_.average == PrincipalAverage::Printed;
        const auto total = let(kUnitsFigure, u"保有口数", ws_.known(base.units) + units);
        const auto principalBefore =
            printed && base.units > 0
                ? let(kPrincipalFigure, u"これまでの元本", worth(ws_.known(base.units), ws_.known(base.principal)))
                : ws_.known(base.principalPool);
        const auto principalPool = let(kPrincipalFigure, u"元本の総額", principalBefore + principal);
        const auto averagePrincipal =
            let(kPrincipalFigure, u"個別元本", perTenThousand(principalPool, total, roundings_.principal, PriceStep::Yen));
        const ExactYen keptPool =
            printed ? worth(ws_.aside(total), ws_.aside(averagePrincipal)).value : principalPool.value;
        const auto costPool = let(kCostFigure, u"取得価額の総額", ws_.known(base.costPool) + paid);
        const bool cents = roundings_.cost == PriceStep::Cent;
        const auto cost = let(kCostFigure, u"取得単価",
                              perTenThousand(costPool, total, cents ? Rounding::HalfUp : Rounding::Up,
                                             roundings_.cost));
        return Holding{total.value, averagePrincipal.value, cost.value, keptPool, costPool.value};
    }

    // Units bought at `nav` for `paid` yen join both averages.
    void addUnits(const Term<Integer>& units, const Term<Integer>& nav, const Term<Integer>& paid)
    {
        applied_.holding = averaged(applied_.holding, units, worth(units, asPrice(nav)), paid);
    }

    Withheld noTaxes(QStringView why)
    {
        ws_.note(why);
        const auto zero = ws_.known(Integer{0});
        return {zero, zero};
    }
    Withheld untaxed()
    {
        return noTaxes(event_.account == Account::OldNisa ? u"旧NISA 口座のため非課税：税金は 0"
                                                          : u"NISA 口座のため非課税：税金は 0");
    }

    void noteRates()
    {
        if (ws_.explains())
            ws_.note(QStringLiteral("税率（%1 年）: %2、%3")
                         .arg(event_.date.year())
                         .arg(incomeTaxText(law_), residentTaxText(law_)));
    }

    // Taxes withheld on a distribution, each floored to the yen; in the 特定口座, kept for
    // the year-end settlement.
    Withheld distributionTaxes(const Term<Integer>& ordinary)
    {
        if (!specified_ && !general_)
            return untaxed();
        noteRates();
        const Withheld taxes = withhold(ws_, ordinary, law_, captions_.withheld);
        if (specified_)
            keepDividend(ordinary, taxes);
        return taxes;
    }

    // A 普通分配金 or 配当 and what was withheld on it, in the year's sums.
    void keepDividend(const Term<Integer>& ordinary, const Withheld& taxes)
    {
        AccountYear& year = applied_.year;
        year.dividends = let(kOrdinaryFigure, u"今年の普通分配金と配当", ws_.known(year.dividends) + ordinary).value;
        year.dividendIncome = let(kIncomeTaxFigure, captions_.dividendIncome, ws_.known(year.dividendIncome) + taxes.income)
                                  .value;
        year.dividendResident = let(kResidentTaxFigure, u"今年の普通分配金と配当から源泉徴収した住民税",
                                    ws_.known(year.dividendResident) + taxes.resident)
                                    .value;
    }

    // The 特定口座 withholds on the year's net gain so far, less what its redemptions
    // this year have withheld already: a loss refunds, up to that and no more.
    Withheld gainTaxes(const Term<Integer>& gain)
    {
        if (general_)
            return noTaxes(u"一般口座のため源泉徴収なし（確定申告で申告します）：税金は 0");
        if (!specified_)
            return untaxed();
        noteRates();
        AccountYear& year = applied_.year;
        const auto yearGain = let(kYearGainFigure, u"年内譲渡損益", ws_.known(year.gain) + gain);
        const auto base = let(kIncomeTaxFigure, u"年内の課税対象", atLeastZero(yearGain));
        const Withheld due = withhold(ws_, base, law_, captions_.year);
        if (ws_.explains())
            ws_.note(QStringView(withheldNote(u"今年の解約で源泉徴収済み", law_)), ws_.known(year.withheldIncome),
                     ws_.known(year.withheldResident));
        const Withheld taxes{
            let(kIncomeTaxFigure, captions_.withheld.income, due.income - ws_.known(year.withheldIncome)),
            let(kResidentTaxFigure, u"住民税", due.resident - ws_.known(year.withheldResident))};
        keepGain(yearGain, due);
        return taxes;
    }

    // The year's net gain so far and what is due on it, withheld by now.
    void keepGain(const Term<Integer>& yearGain, const Withheld& due)
    {
        AccountYear& year = applied_.year;
        year.gain = yearGain.value;
        year.withheldIncome = due.income.value;
        year.withheldResident = due.resident.value;
    }

    std::optional<Refusal> balance()
    {
        if (!event_.units)
            return missing(Input::Units);
        if (*event_.units <= 0)
            return tooSmall(Input::Units);
        if (!event_.principal)
            return missing(Input::Principal);
        const Currency cost = event_.cost.value_or(*event_.principal);
        if (event_.principal->raw() < 0 || cost.raw() < 0)
            return tooSmall(Input::PrincipalAndCost);
        if (before_.units > 0)
            ws_.note(u"残高で置き換えます");
        const auto units = let(kUnitsFigure, u"保有口数", ws_.known(*event_.units));
        const auto principal = let(kPrincipalFigure, u"個別元本", ws_.known(*event_.principal));
        const auto costTerm = let(kCostFigure, u"取得単価", ws_.known(cost));
        applied_.holding = Holding{units.value, principal.value, costTerm.value, {}, {}};
        restartPools(units, principal, costTerm);
        return std::nullopt;
    }

    // The units `amount` yen buy at `nav`: rounded as the roundings say, or as brokers
    // fill an order by amount (the units it pays for in full, and one more while their
    // 約定金額 rounded half up stays below the amount).
    Term<Integer> unitsBought(QStringView caption, const Term<Integer>& amount, const Term<Integer>& nav,
                              bool brokers)
    {
        if (!brokers)
            return let(kUnitsFigure, caption, unitsFor(amount, nav, roundings_.units));
        const auto whole = let(kUnitsFigure, caption, unitsFor(amount, nav, Rounding::Down));
        const auto costs = let(kContractFigure, u"その口数の約定金額", toYen(worth(whole, asPrice(nav)), Rounding::HalfUp));
        if (!costs.ok() || costs.value >= amount.value)
            return whole;
        ws_.note(u"約定金額が金額に満たないため 1 口多く買います");
        return let(kUnitsFigure, caption, whole + ws_.known(Integer{1}));
    }

    [[nodiscard]] bool noLoad() const
    {
        return event_.fee.value_or(0) == 0 && (!event_.feeRate || event_.feeRate->milliPercent == 0);
    }

    std::optional<Refusal> purchase()
    {
        if (auto refusal = needNav())
            return refusal;
        if (!event_.units && !event_.amount && !event_.settlement)
            return missing(Input::UnitsOrAmount);
        if (event_.units && *event_.units <= 0)
            return tooSmall(Input::Units);
        if (event_.amount && *event_.amount <= 0)
            return tooSmall(Input::Amount);
        if (event_.fee && *event_.fee < 0)
            return tooSmall(Input::Fee);
        if (auto refusal = outsidePercent(event_.feeRate, Input::FeeRate))
            return refusal;
        if (event_.settlement && *event_.settlement <= 0)
            return tooSmall(Input::Settlement);
        if (event_.settlement)
            return settledPurchase();

        const auto nav = ws_.known(*event_.nav);
        Term<Integer> units = ws_.known(Integer{0});
        Term<Integer> contract = units;
        if (event_.units) {
            units = ws_.known(*event_.units);
            contract = let(kContractFigure, u"約定金額", toYen(worth(units, asPrice(nav)), roundings_.contract));
        } else {
            contract = ws_.known(*event_.amount);
            units = unitsBought(u"買付口数", contract, nav, roundings_.brokerUnits);
            if (units.ok() && units.value <= 0)
                return Refusal{.kind = RefusalKind::BuysNothing, .value = *event_.amount};
        }
        const auto fee = event_.fee ? ws_.known(*event_.fee)
                         : event_.feeRate ? let(kFeeFigure, u"手数料", roundDownShare(contract, *event_.feeRate))
                                          : ws_.known(Integer{0});
        const auto paid = let(kSettlementFigure, u"支払額", contract + fee);
        return bought(units, nav, contract, fee, paid);
    }

    // A purchase as the trade report prints it: the 受渡金額 paid. The fee is what it
    // holds beyond the 約定金額; a no-load purchase within one unit's price of it was an
    // order by amount, which charged the amount exactly.
    std::optional<Refusal> settledPurchase()
    {
        const auto nav = ws_.known(*event_.nav);
        const auto paid = ws_.known(*event_.settlement);
        Term<Integer> units = ws_.known(Integer{0});
        Term<Integer> contract = paid;
        if (event_.units) {
            units = ws_.known(*event_.units);
            const Wide gap = Wide{*event_.settlement} * 10000 - Wide{*event_.units} * *event_.nav;
            if (noLoad() && gap < *event_.nav && -gap < *event_.nav) {
                ws_.note(u"受渡金額と口数 × 基準価額 ÷ 10000 の差が 1 口の価額に満たないため、金額指定の買付: 約定金額は受渡金額");
                contract = let(kContractFigure, u"約定金額", paid);
            } else {
                contract = let(kContractFigure, u"約定金額", toYen(worth(units, asPrice(nav)), roundings_.contract));
            }
        } else if (event_.amount) {
            contract = ws_.known(*event_.amount);
            units = unitsBought(u"買付口数", contract, nav, roundings_.brokerUnits);
        } else {
            // A fee rate leaves the 約定金額, and so the units, open.
            if (!noLoad() && !event_.fee)
                return Refusal{.kind = RefusalKind::SettlementNeedsUnits};
            if (event_.fee && *event_.fee >= *event_.settlement)
                return Refusal{.kind = RefusalKind::FeeNotBelowSettlement, .value = *event_.fee,
                               .held = *event_.settlement};
            contract = event_.fee ? let(kContractFigure, u"約定金額", paid - ws_.known(*event_.fee))
                                  : let(kContractFigure, u"約定金額", paid);
            units = unitsBought(u"買付口数", contract, nav, noLoad() || roundings_.brokerUnits);
        }
        if (units.ok() && units.value <= 0)
            return Refusal{.kind = RefusalKind::BuysNothing, .value = contract.value};
        const auto fee = let(kFeeFigure, u"手数料", paid - contract);
        if (fee.ok() && fee.value < 0)
            return Refusal{.kind = RefusalKind::SettlementBelowContract, .value = paid.value, .held = contract.value};
        if (event_.fee && fee.ok() && fee.value != *event_.fee)
            return Refusal{.kind = RefusalKind::FeeDisagrees, .value = *event_.fee, .held = fee.value};
        return bought(units, nav, contract, fee, paid);
    }

    std::optional<Refusal> bought(const Term<Integer>& units, const Term<Integer>& nav, const Term<Integer>& contract,
                                  const Term<Integer>& fee, const Term<Integer>& paid)
    {
        addUnits(units, nav, paid);
        const auto settlement = let(kSettlementFigure, u"受渡金額", negated(paid));
        Figures& figures = applied_.figures;
        figures.contractAmount = contract.value;
        figures.fee = fee.value;
        figures.settlement = settlement.value;
        return std::nullopt;
    }

    std::optional<Refusal> distribution(bool reinvested)
    {
        if (before_.units == 0)
            return Refusal{.kind = RefusalKind::NothingToDistribute};
        // A broker's list of distributions names the units paid on: a history that
        // disagrees is missing a trade.
        if (!reinvested && event_.units && *event_.units != before_.units)
            return Refusal{.kind = RefusalKind::DistributionUnitsDiffer, .value = *event_.units, .held = before_.units};
        // The notice's split needs no NAV; units bought again need one, unless the
        // broker's record gives them.
        const bool printed = event_.returned.has_value();
        const bool unitsGiven = reinvested && event_.units;
        if (!printed || (reinvested && !unitsGiven)) {
            if (auto refusal = needNav())
                return refusal;
        } else if (event_.nav && *event_.nav <= 0) {
            return tooSmall(Input::Nav);
        }
        if (!event_.distribution)
            return missing(Input::Distribution);
        if (*event_.distribution < 0)
            return tooSmall(Input::Distribution);
        if (printed && *event_.returned < 0)
            return tooSmall(Input::Returned);
        if (printed && *event_.returned > *event_.distribution)
            return Refusal{.kind = RefusalKind::ReturnedAboveDistribution, .value = *event_.returned,
                           .held = *event_.distribution};
        if (unitsGiven && *event_.units <= 0)
            return tooSmall(Input::Units);

        const auto units = ws_.known(before_.units);
        const auto nav = ws_.known(event_.nav.value_or(0));
        const auto perUnits = asPrice(ws_.known(*event_.distribution));
        const auto principal = ws_.known(before_.principal);
        // The part of the distribution that takes the NAV below the holding's own
        // 個別元本 gives principal back; the rest is the fund's earnings. A notice's own
        // split stands as printed.
        const auto returned = printed ? let(kReturnedFigure, u"元本払戻金（1万口当たり）", asPrice(ws_.known(*event_.returned)))
                                      : let(kReturnedFigure, u"元本払戻金（1万口当たり）",
                                            smaller(perUnits, atLeastZero(principal - asPrice(nav))));
        // The gross is rounded once, and so is the return of principal: the parts add up
        // to it, the odd yen in 普通分配金.
        const Rounding rounding = roundings_.distribution;
        const auto gross = let(kOrdinaryFigure, u"分配金", toYen(worth(units, perUnits), rounding));
        const auto returnedYen = let(kReturnedFigure, u"元本払戻金", toYen(worth(units, returned), rounding));
        const auto ordinaryYen = let(kOrdinaryFigure, u"普通分配金", gross - returnedYen);
        const Withheld taxes = distributionTaxes(ordinaryYen);
        if (returned.value.raw() > 0) {
            const auto lowered = let(kPrincipalFigure, u"個別元本",
                                     printed ? atLeastZero(principal - returned) : principal - returned);
            const auto cost = let(kCostFigure, u"取得単価", atLeastZero(ws_.known(before_.cost) - returned));
            applied_.holding.principal = lowered.value;
            applied_.holding.cost = cost.value;
            restartPools(units, lowered, cost);
        }
        const auto cash = let(kSettlementFigure, reinvested ? u"再投資額" : u"受渡金額",
                              ordinaryYen + returnedYen - taxes.income - taxes.resident);
        Figures& figures = applied_.figures;
        if (reinvested) {
            // The cash after tax buys units at the NAV after the distribution, no fee; the
            // broker's record of the units stands.
            const auto bought = unitsGiven ? let(kReinvestedFigure, u"再投資口数", ws_.known(*event_.units))
                                           : unitsBought(u"再投資口数", cash, nav, roundings_.brokerUnits);
            if (event_.nav)
                addUnits(bought, nav, cash);
            else // without the NAV, the units' principal is what they cost
                applied_.holding = averaged(applied_.holding, bought, cash, cash);
            figures.reinvestedUnits = bought.value;
            figures.settlement = 0;
        } else {
            figures.settlement = cash.value;
        }
        figures.ordinary = ordinaryYen.value;
        figures.returned = returnedYen.value;
        figures.incomeTax = taxes.income.value;
        figures.residentTax = taxes.resident.value;
        return std::nullopt;
    }

    // The 解約価額 per 10,000 units: as the trade report prints it, or the NAV less the
    // 信託財産留保額, which the fund rounds to the yen (or, when the roundings say so,
    // kept exact).
    Term<ExactYen> redemptionPrice()
    {
        if (event_.redemptionPrice)
            return exactly(let(kProceedsFigure, u"解約価額", ws_.known(*event_.redemptionPrice)));
        const auto nav = ws_.known(*event_.nav);
        if (!event_.retention || event_.retention->milliPercent == 0)
            return ws_.known(ExactYen::ofWhole(nav.value));
        if (!roundings_.retention)
            return let(kProceedsFigure, u"解約価額", lessShare(nav, *event_.retention));
        const auto kept =
            let(kProceedsFigure, u"信託財産留保額（1万口当たり）", shareOf(nav, *event_.retention, *roundings_.retention));
        return exactly(let(kProceedsFigure, u"解約価額", nav - kept));
    }

    std::optional<Refusal> redemption()
    {
        if (before_.units == 0)
            return Refusal{.kind = RefusalKind::NothingToRedeem};
        if (event_.redemptionPrice) {
            if (*event_.redemptionPrice <= 0)
                return tooSmall(Input::RedemptionPrice);
            if (event_.retention)
                return Refusal{.kind = RefusalKind::RedemptionPriceWithRetention};
        } else if (auto refusal = needNav()) {
            return refusal;
        }
        if (event_.units && *event_.units <= 0)
            return tooSmall(Input::Units);
        if (event_.units && *event_.units > before_.units)
            return Refusal{.kind = RefusalKind::RedeemsMoreThanHeld, .value = *event_.units, .held = before_.units};
        if (auto refusal = outsidePercent(event_.retention, Input::Retention))
            return refusal;

        const auto units = ws_.known(event_.units.value_or(before_.units));
        const auto price = redemptionPrice();
        const auto proceeds = let(kProceedsFigure, u"解約代金", worthDown(price, units));
        const auto acquisition =
            let(kAcquisitionFigure, u"取得費", toYen(worth(units, ws_.known(before_.cost)), Rounding::Down));
        const auto gain = let(kGainFigure, u"譲渡損益", proceeds - acquisition);
        const Withheld taxes = gainTaxes(gain);
        const auto settlement =
            let(kSettlementFigure, u"受渡金額", proceeds - taxes.income - taxes.resident);
        const auto left = let(kUnitsFigure, u"保有口数", ws_.known(before_.units) - units);
        if (left.value == 0) {
            applied_.holding = Holding{};
        } else {
            // 個別元本 and 取得単価 stay as they were; later averages start from them.
            applied_.holding.units = left.value;
            restartPools(left, ws_.known(before_.principal), ws_.known(before_.cost));
        }
        Figures& figures = applied_.figures;
        figures.proceeds = proceeds.value;
        figures.acquisitionCost = acquisition.value;
        figures.gain = gain.value;
        figures.incomeTax = taxes.income.value;
        figures.residentTax = taxes.resident.value;
        figures.settlement = settlement.value;
        return std::nullopt;
    }

    std::optional<Refusal> needAmount(RefusalKind outsideSpecified)
    {
        if (!specified_)
            return Refusal{.kind = outsideSpecified};
        if (!event_.amount)
            return missing(Input::Amount);
        return std::nullopt;
    }

    // Another security's realised gain or loss nets into the year as a redemption's does.
    std::optional<Refusal> otherGain()
    {
        if (auto refusal = needAmount(RefusalKind::GainOutsideSpecified))
            return refusal;
        const auto gain = let(kGainFigure, u"譲渡損益", ws_.known(*event_.amount));
        const Withheld taxes = gainTaxes(gain);
        const auto settlement = let(kSettlementFigure, u"受渡金額", negated(taxes.income + taxes.resident));
        Figures& figures = applied_.figures;
        figures.gain = gain.value;
        figures.incomeTax = taxes.income.value;
        figures.residentTax = taxes.resident.value;
        figures.settlement = settlement.value;
        return std::nullopt;
    }

    // Another security's dividend, withheld as a 普通分配金 is.
    std::optional<Refusal> dividend()
    {
        if (auto refusal = needAmount(RefusalKind::DividendOutsideSpecified))
            return refusal;
        if (*event_.amount < 0)
            return tooSmall(Input::DividendAmount);
        const auto amount = let(kOrdinaryFigure, u"配当", ws_.known(*event_.amount));
        const Withheld taxes = distributionTaxes(amount);
        const auto settlement =
            let(kSettlementFigure, u"受渡金額", amount - taxes.income - taxes.resident);
        Figures& figures = applied_.figures;
        figures.ordinary = amount.value;
        figures.incomeTax = taxes.income.value;
        figures.residentTax = taxes.resident.value;
        figures.settlement = settlement.value;
        return std::nullopt;
    }

    // A NISA or 旧NISA holding moves to the 特定口座 at the day's value: there its 取得単価
    // is the NAV of the day, and its 個別元本 carries over. Nothing is taxed.
    std::optional<Refusal> transfer()
    {
        if (specified_ || general_)
            return Refusal{.kind = RefusalKind::TransferFromSpecified};
        if (before_.units == 0)
            return Refusal{.kind = RefusalKind::NothingToTransfer};
        if (auto refusal = needNav())
            return refusal;
        if (event_.units && *event_.units <= 0)
            return tooSmall(Input::Units);
        if (event_.units && *event_.units > before_.units)
            return Refusal{.kind = RefusalKind::TransfersMoreThanHeld, .value = *event_.units, .held = before_.units};

        const auto units = ws_.known(event_.units.value_or(before_.units));
        const auto nav = ws_.known(*event_.nav);
        if (target_.units == 0)
            ws_.note(u"特定口座の保有: なし");
        else
            ws_.note(u"特定口座の保有: 口数 %1、個別元本 %2、取得単価 %3", ws_.known(target_.units),
                     ws_.known(target_.principal), ws_.known(target_.cost));
        applied_.target = averaged(target_, units, worth(units, ws_.known(before_.principal)), worth(units, asPrice(nav)));
        const auto left = let(kUnitsFigure, u"NISA に残る口数", ws_.known(before_.units) - units);
        if (left.value == 0) {
            applied_.holding = Holding{};
        } else {
            applied_.holding.units = left.value;
            restartPools(left, ws_.known(before_.principal), ws_.known(before_.cost));
        }
        return std::nullopt;
    }

    Trace* trace_;
    Worksheet ws_;
    const Holding before_;
    const Holding target_;
    const Event& event_;
    const Roundings& roundings_;
    const TaxYears& law_;
    const TaxCaptions& captions_;
    const bool specified_;
    const bool general_;
    Applied applied_;
};

} // namespace

Outcome<Applied, Refusal> applyEvent(const Holding& holding, const AccountYear& year, const Event& event,
                                     const Roundings& roundings, Trace* trace, const Holding& target)
{
    const TaxYears* law = taxLawOf(event.date.year());
    if (!law)
        return Refusal{.kind = RefusalKind::BeforeFirstYear, .value = kTaxLaw.front().first};
    if (event.units && event.amount)
        return Refusal{.kind = RefusalKind::UnitsWithAmount};
    if (event.fee && event.feeRate)
        return Refusal{.kind = RefusalKind::FeeWithRate};
    return EventRun(holding, year, event, roundings, *law, trace, target).run();
}

bool netsDividends(int year, bool dividendNetting)
{
    const TaxYears* law = taxLawOf(year);
    return dividendNetting && law && law->dividendNetting;
}

std::optional<Settlement> settleYear(const AccountYear& year, bool dividendNetting, Trace* trace)
{
    const TaxYears* law = taxLawOf(year.year);
    if (!law || !netsDividends(year.year, dividendNetting) || year.gain >= 0 || year.dividends <= 0)
        return std::nullopt;
    Worksheet ws(trace, IntegerRange::wide());
    ws.note(u"年内譲渡損益 %1 の損失を、今年の普通分配金と配当 %2 と通算します", ws.known(year.gain),
            ws.known(year.dividends));
    const auto base = ws.let(kIncomeTaxFigure, u"通算後の課税対象",
                             atLeastZero(ws.known(year.dividends) + ws.known(year.gain)));
    const TaxCaptions& captions = captionsOf(*law);
    const Withheld due = withhold(ws, base, *law, captions.netted);
    if (ws.explains())
        ws.note(QStringView(withheldNote(u"普通分配金と配当から源泉徴収済み", *law)), ws.known(year.dividendIncome),
                ws.known(year.dividendResident));
    const auto zero = ws.known(Integer{0});
    const auto income = ws.let(kIncomeTaxFigure, captions.withheld.income,
                               smaller(due.income - ws.known(year.dividendIncome), zero));
    const auto resident = ws.let(kResidentTaxFigure, u"住民税",
                                 smaller(due.resident - ws.known(year.dividendResident), zero));
    if (ws.failure() || (income.value == 0 && resident.value == 0)) {
        ws.note(u"還付はありません");
        return std::nullopt;
    }
    return Settlement{year.year, income.value, resident.value};
}

namespace {

void add(ExactYen& sum, Integer value) { sum.raw += ExactYen::ofWhole(value).raw; }
void add(ExactYen& sum, const std::optional<Integer>& value)
{
    if (value)
        add(sum, *value);
}

// The 特定口座's 配当等 section after its sums: 差引金額 (never below 0) and what the
// year keeps of what it withheld.
void balanceDividends(YearReport& report)
{
    report.dividendNet.raw = std::max<Wide>(report.dividends.raw - report.lossSetOff.raw, 0);
    report.paidIncomeTax.raw = report.dividendIncomeTax.raw - report.refundIncomeTax.raw;
    report.paidResidentTax.raw = report.dividendResidentTax.raw - report.refundResidentTax.raw;
}

} // namespace

void tally(YearReport& report, Account account, EventKind kind, const Figures& figures)
{
    add(report.proceeds, figures.proceeds);
    add(report.costs, figures.acquisitionCost);
    add(report.net, figures.gain);
    add(report.dividends, figures.ordinary);
    add(report.returned, figures.returned);
    const bool onGains = kind == EventKind::Redemption || kind == EventKind::Gain;
    add(onGains ? report.gainIncomeTax : report.dividendIncomeTax, figures.incomeTax);
    add(onGains ? report.gainResidentTax : report.dividendResidentTax, figures.residentTax);
    if (account == Account::Specified)
        balanceDividends(report);
}

void settleReport(YearReport& report, const AccountYear& year, bool netted, const std::optional<Settlement>& settlement)
{
    if (netted && year.gain < 0)
        report.lossSetOff = ExactYen::ofWhole(-year.gain);
    if (settlement) {
        add(report.refundIncomeTax, -settlement->incomeTax);
        add(report.refundResidentTax, -settlement->residentTax);
    }
    balanceDividends(report);
}

} // namespace ledger
