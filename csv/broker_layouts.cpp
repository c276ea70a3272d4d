#include "broker_layouts.h"

#include "cell_text.h"

namespace broker {
namespace {

struct AccountEntry {
    QStringView word;
    AccountWord meaning;
};

using ledger::Account;

// Every broker's spelling, as wordKey() leaves it.
constexpr AccountEntry kAccountWords[] = {
    {u"特定", {Account::Specified}},
    {u"特定口座", {Account::Specified}},
    {u"特定預り", {Account::Specified}},
    {u"一般", {Account::General}},
    {u"一般口座", {Account::General}},
    {u"一般預り", {Account::General}},
    {u"特定/一般", {Account::Specified, true}},
    {u"特定・一般", {Account::Specified, true}},
    {u"NISA", {Account::Nisa}},
    {u"NISA成長投資枠", {Account::Nisa}},
    {u"NISAつみたて投資枠", {Account::Nisa}},
    {u"NISA(成長投資枠)", {Account::Nisa}},
    {u"NISA(つみたて投資枠)", {Account::Nisa}},
    {u"NISA(成)", {Account::Nisa}},
    {u"NISA(つ)", {Account::Nisa}},
    {u"NISA(成長)", {Account::Nisa}},
    {u"NISA(つみたて)", {Account::Nisa}},
    {u"旧NISA", {Account::OldNisa}},
    {u"一般NISA", {Account::OldNisa}},
    {u"つみたてNISA", {Account::OldNisa}},
    {u"旧つみたてNISA", {Account::OldNisa}},
};

} // namespace

QString layoutTitle(const LayoutDecl& layout)
{
    return layout.broker.toString() + u' ' + layout.name.toString();
}

QString wordKey(QStringView word)
{
    QString key = normalisedCell(word.toString());
    key.removeIf([](QChar c) { return c.isSpace(); });
    return key;
}

bool isFundProduct(QStringView product)
{
    const QString key = wordKey(product);
    return key == u"投資信託" || key == u"投信";
}

std::optional<AccountWord> accountWord(QStringView word)
{
    const QString key = wordKey(word);
    for (const AccountEntry& entry : kAccountWords) {
        if (key == entry.word)
            return entry.meaning;
    }
    return std::nullopt;
}

std::optional<Action> actionWord(const LayoutDecl& layout, QStringView word)
{
    const QString key = wordKey(word);
    for (const ActionWord& entry : layout.actions) {
        if (entry.prefix ? key.startsWith(entry.word) : key == entry.word)
            return entry.action;
    }
    return std::nullopt;
}

} // namespace broker
