#include "ledger_preferences.h"

#include <QSettings>

#include <utility>

namespace {

using ledger::PriceStep;
using ledger::PrincipalAverage;
using ledger::Roundings;
using Rounding = ledger::Rounding;

constexpr std::array<std::pair<const char*, LedgerPreferences::SaveEncoding>, 2> kEncodings{
    {{"utf-8", LedgerPreferences::SaveEncoding::Utf8}, {"cp932", LedgerPreferences::SaveEncoding::Cp932}}};

// Up, down or half up, in the order of `choices`.
constexpr Rounding kRoundings[] = {Rounding::Up, Rounding::Down, Rounding::HalfUp};
std::size_t roundingIndex(Rounding rounding)
{
    return rounding == Rounding::Down ? 1 : rounding == Rounding::HalfUp ? 2 : 0;
}
// Down or half up.
std::size_t downOrNearest(Rounding rounding) { return rounding == Rounding::HalfUp ? 1 : 0; }
Rounding downOrNearest(std::size_t index) { return index == 1 ? Rounding::HalfUp : Rounding::Down; }

const RoundingPreference kPreferences[] = {
    {"principal-rounding", "cboPrincipal", "個別元本の丸め(&P)",
     "切り上げは多くの販売会社の方法で、端数のために元本が実際より小さくなって\n"
     "課税される分配金や益が増えることがありません。",
     {{{"up", "1 円未満切り上げ（既定）"}, {"down", "1 円未満切り捨て"}, {"nearest", "1 円未満四捨五入"}}},
     false,
     [](const Roundings& r) { return roundingIndex(r.principal); },
     [](Roundings& r, std::size_t i) { r.principal = kRoundings[i]; }},
    {"principal-average", "cboAverage", "個別元本の平均(&A)",
     "元本の総額（前回の解約から）で平均するのは、平均の元本を示す証券会社の方法、\n"
     "前の個別元本（表示の額）から平均するのは、教科書と一部の報告書の方法です。",
     {{{"pool", "元本の総額から（既定）"}, {"printed", "前の個別元本から"}, {nullptr, nullptr}}},
     false,
     [](const Roundings& r) { return std::size_t(r.average == PrincipalAverage::Printed); },
     [](Roundings& r, std::size_t i) { r.average = i == 1 ? PrincipalAverage::Printed : PrincipalAverage::Pool; }},
    {"cost-rounding", "cboCost", "取得単価の丸め(&C)",
     "切り上げは円単位で示す多くの証券会社の方法で、取得費が小さくなって益が増える\n"
     "ことがありません。0.01 円は小数第2位まで示す証券会社の方法です。",
     {{{"up", "1 円未満切り上げ（既定）"}, {"cent", "0.01 円未満四捨五入"}, {nullptr, nullptr}}},
     false,
     [](const Roundings& r) { return std::size_t(r.cost == PriceStep::Cent); },
     [](Roundings& r, std::size_t i) { r.cost = i == 1 ? PriceStep::Cent : PriceStep::Yen; }},
    {"units-rounding", "cboUnits", "口数の丸め(&U)",
     "金額での買付と再投資の 1 口未満。切り上げでは約定金額が指定の金額を下回りません。\n"
     "証券会社の金額買付は、手数料のない買付でちょうどその金額を払う口数です。\n"
     "証券会社のファイルに合わせると、楽天証券と SBI 証券の取引のファイルだけのときは\n"
     "証券会社の金額買付、ほかは切り上げです。",
     {{{"up", "1 口未満切り上げ"}, {"down", "1 口未満切り捨て"}, {"broker", "証券会社の金額買付"}}},
     true,
     [](const Roundings& r) { return r.brokerUnits ? std::size_t(2) : roundingIndex(r.units); },
     [](Roundings& r, std::size_t i) {
         r.brokerUnits = i == 2;
         r.units = i == 1 ? Rounding::Down : Rounding::Up;
     }},
    {"contract-rounding", "cboContract", "約定金額の丸め(&T)",
     "口数での買付の約定金額（口数 × 基準価額 ÷ 1万）の 1 円未満。",
     {{{"down", "1 円未満切り捨て（既定）"}, {"nearest", "1 円未満四捨五入"}, {nullptr, nullptr}}},
     false,
     [](const Roundings& r) { return downOrNearest(r.contract); },
     [](Roundings& r, std::size_t i) { r.contract = downOrNearest(i); }},
    {"distribution-rounding", "cboDistribution", "分配金の丸め(&B)",
     "口数 × 1万口当たりの分配金 ÷ 1万 の 1 円未満。四捨五入で示す大手の証券会社と\n"
     "切り捨てで示す証券会社があります。内訳の端数の 1 円は普通分配金に入れます。\n"
     "証券会社のファイルに合わせると、楽天証券は四捨五入、わからないときは切り捨てです。",
     {{{"down", "1 円未満切り捨て"}, {"nearest", "1 円未満四捨五入"}, {nullptr, nullptr}}},
     true,
     [](const Roundings& r) { return downOrNearest(r.distribution); },
     [](Roundings& r, std::size_t i) { r.distribution = downOrNearest(i); }},
    {"retention-rounding", "cboRetention", "信託財産留保額の丸め(&R)",
     "1万口当たりの信託財産留保額の 1 円未満。切り捨てか四捨五入かは運用会社が\n"
     "決めます。端数のままは解約価額を円未満まで使います。",
     {{{"down", "1 円未満切り捨て（既定）"}, {"nearest", "1 円未満四捨五入"}, {"exact", "端数のまま"}}},
     false,
     [](const Roundings& r) { return !r.retention ? std::size_t(2) : downOrNearest(*r.retention); },
     [](Roundings& r, std::size_t i) {
         r.retention = i == 2 ? std::nullopt : std::optional<Rounding>(downOrNearest(i));
     }},
};

template <class T, std::size_t N>
T read(const QSettings& store, const char* key, const std::array<std::pair<const char*, T>, N>& words, T otherwise)
{
    const QString word = store.value(QLatin1String(key)).toString();
    for (const auto& [name, value] : words) {
        if (word == QLatin1String(name))
            return value;
    }
    return otherwise;
}

QString key(const RoundingPreference& preference) { return QStringLiteral("ledger/") + QLatin1String(preference.option); }

} // namespace

bool operator==(const LedgerPreferences& a, const LedgerPreferences& b)
{
    for (const RoundingPreference& preference : kPreferences) {
        if (preference.chosen(a.roundings) != preference.chosen(b.roundings)
            || preference.leftToFiles(a) != preference.leftToFiles(b))
            return false;
    }
    return a.dividendNetting == b.dividendNetting && a.saveEncoding == b.saveEncoding;
}

std::span<const RoundingPreference> roundingPreferences() { return kPreferences; }

LedgerPreferences loadLedgerPreferences(const QSettings& store)
{
    LedgerPreferences settings;
    for (const RoundingPreference& preference : kPreferences) {
        const QString word = store.value(key(preference)).toString();
        for (std::size_t i = 0; i < preference.count(); ++i) {
            if (word == QLatin1String(preference.choices[i].word)) {
                preference.choose(settings.roundings, i);
                if (preference.followsFiles)
                    settings.given.append(QLatin1String(preference.option));
            }
        }
    }
    const QVariant netting = store.value(QStringLiteral("ledger/dividend-netting"));
    if (netting.typeId() == QMetaType::Bool || netting.toString() == QLatin1String("true")
        || netting.toString() == QLatin1String("false"))
        settings.dividendNetting = netting.toBool();
    settings.saveEncoding = read(store, "save/encoding", kEncodings, settings.saveEncoding);
    return settings;
}

void storeLedgerPreferences(QSettings& store, const LedgerPreferences& settings)
{
    for (const RoundingPreference& preference : kPreferences) {
        // Left to the files: no word, as on the first start.
        if (preference.leftToFiles(settings))
            store.remove(key(preference));
        else
            store.setValue(key(preference), QLatin1String(preference.choices[preference.chosen(settings.roundings)].word));
    }
    store.setValue(QStringLiteral("ledger/dividend-netting"), settings.dividendNetting);
    for (const auto& [name, value] : kEncodings) {
        if (value == settings.saveEncoding)
            store.setValue(QStringLiteral("save/encoding"), QLatin1String(name));
    }
}
