#include "ledger_preferences.h"

#include <QSettings>

#include <array>
#include <utility>

namespace {

using ledger::PriceStep;
using ledger::Rounding;

// Each choice under the word the command line's option takes for it.
constexpr std::array<std::pair<const char*, Rounding>, 3> kPrincipal{
    {{"up", Rounding::Up}, {"down", Rounding::Down}, {"nearest", Rounding::HalfUp}}};
constexpr std::array<std::pair<const char*, PriceStep>, 2> kCost{{{"up", PriceStep::Yen}, {"cent", PriceStep::Cent}}};
constexpr std::array<std::pair<const char*, Rounding>, 2> kUnits{{{"up", Rounding::Up}, {"down", Rounding::Down}}};
constexpr std::array<std::pair<const char*, LedgerPreferences::SaveEncoding>, 2> kEncodings{
    {{"utf-8", LedgerPreferences::SaveEncoding::Utf8}, {"cp932", LedgerPreferences::SaveEncoding::Cp932}}};

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

template <class T, std::size_t N>
void write(QSettings& store, const char* key, const std::array<std::pair<const char*, T>, N>& words, T value)
{
    for (const auto& [name, candidate] : words) {
        if (candidate == value)
            store.setValue(QLatin1String(key), QLatin1String(name));
    }
}

} // namespace

LedgerPreferences loadLedgerPreferences(const QSettings& store)
{
    LedgerPreferences settings;
    settings.roundings.principal = read(store, "ledger/principal-rounding", kPrincipal, settings.roundings.principal);
    settings.roundings.cost = read(store, "ledger/cost-rounding", kCost, settings.roundings.cost);
    settings.roundings.units = read(store, "ledger/units-rounding", kUnits, settings.roundings.units);
    const QVariant netting = store.value(QStringLiteral("ledger/dividend-netting"));
    if (netting.typeId() == QMetaType::Bool || netting.toString() == QLatin1String("true")
        || netting.toString() == QLatin1String("false"))
        settings.dividendNetting = netting.toBool();
    settings.saveEncoding = read(store, "save/encoding", kEncodings, settings.saveEncoding);
    return settings;
}

void storeLedgerPreferences(QSettings& store, const LedgerPreferences& settings)
{
    write(store, "ledger/principal-rounding", kPrincipal, settings.roundings.principal);
    write(store, "ledger/cost-rounding", kCost, settings.roundings.cost);
    write(store, "ledger/units-rounding", kUnits, settings.roundings.units);
    store.setValue(QStringLiteral("ledger/dividend-netting"), settings.dividendNetting);
    write(store, "save/encoding", kEncodings, settings.saveEncoding);
}
