#include "ledger_words.h"

#include "cell_text.h"

#include "calc/ledger/ledger_declaration.h"

#include <QByteArray>

#include <array>

using namespace ledger;

namespace {

template <class T>
struct Word {
    const char* utf8; // as normalisedCell() leaves it, without spaces
    T meaning;
};

using A = AccountWord;
constexpr std::array<Word<AccountWord>, 26> kAccountWords{{
    {"特定", A{Account::Specified}},
    {"NISA", A{Account::Nisa}},
    {"特定口座", A{Account::Specified}},
    {"特定預り", A{Account::Specified}},
    {"一般", A{Account::General}},
    {"一般口座", A{Account::General}},
    {"一般預り", A{Account::General}},
    {"nisa", A{Account::Nisa}},
    // The NISA of 2024 on, by its two allowances.
    {"NISA成長投資枠", A{Account::Nisa}},
    {"NISAつみたて投資枠", A{Account::Nisa}},
    {"NISA(成長投資枠)", A{Account::Nisa}},
    {"NISA(つみたて投資枠)", A{Account::Nisa}},
    {"NISA(成長)", A{Account::Nisa}},
    {"NISA(つみたて)", A{Account::Nisa}},
    {"NISA(成)", A{Account::Nisa}},
    {"NISA(つ)", A{Account::Nisa}},
    // The accounts of 2014-2023.
    {"旧NISA", A{Account::OldNisa}},
    {"一般NISA", A{Account::OldNisa}},
    {"旧一般NISA", A{Account::OldNisa}},
    {"つみたてNISA", A{Account::OldNisa}},
    {"旧つみたてNISA", A{Account::OldNisa}},
    // Whichever of the two holds the fund.
    {"特定/一般", A{Account::Specified, true}},
    {"特定・一般", A{Account::Specified, true}},
    {"一般/特定", A{Account::Specified, true}},
    {"一般・特定", A{Account::Specified, true}},
    {"特定口座/一般口座", A{Account::Specified, true}},
}};

constexpr std::array<Word<EventKind>, 11> kEventWords{{
    {"購入", EventKind::Purchase},
    {"積立", EventKind::Purchase},
    {"積立買付", EventKind::Purchase},
    {"お買付", EventKind::Purchase},
    {"売却", EventKind::Redemption},
    {"解約請求", EventKind::Redemption},
    {"買取請求", EventKind::Redemption},
    {"買取", EventKind::Redemption},
    {"分配金再投資", EventKind::Reinvestment},
    {"再投資買付", EventKind::Reinvestment},
    {"分配金", EventKind::Distribution},
}};

template <class T, std::size_t N>
std::optional<T> find(const std::array<Word<T>, N>& words, QByteArrayView cell)
{
    for (const Word<T>& word : words) {
        if (cell == QByteArrayView(word.utf8))
            return word.meaning;
    }
    return std::nullopt;
}

std::optional<EventKind> findEvent(QByteArrayView cell)
{
    for (const EventDecl& e : kEvents) {
        if (cell == QByteArrayView(e.japanese) || cell == QByteArrayView(e.english))
            return e.kind;
    }
    return find(kEventWords, cell);
}

// The cell as the words are listed: full-width forms as ASCII, no spaces. Empty when
// that changes nothing, so that a word not listed costs no second look.
QByteArray spelledPlainly(QByteArrayView cell)
{
    QString text = normalisedCell(QString::fromUtf8(cell));
    text.remove(u' ');
    QByteArray plain = text.toUtf8();
    return plain == cell ? QByteArray() : plain;
}

template <class Find>
auto lookUp(QByteArrayView cell, Find&& findWord) -> decltype(findWord(cell))
{
    if (auto found = findWord(cell))
        return found;
    const QByteArray plain = spelledPlainly(cell);
    if (plain.isEmpty())
        return std::nullopt;
    return findWord(QByteArrayView(plain));
}

} // namespace

std::optional<AccountWord> accountWord(QByteArrayView cell)
{
    if (cell.isEmpty())
        return AccountWord{};
    return lookUp(cell, [](QByteArrayView c) { return find(kAccountWords, c); });
}

std::optional<EventKind> eventWord(QByteArrayView cell)
{
    return lookUp(cell, findEvent);
}

std::vector<WordGroup> paperWords()
{
    std::vector<WordGroup> lines;
    const auto line = [&](QStringView name, const QStringList& words) {
        if (!words.isEmpty())
            lines.push_back({name.toString(), words});
    };
    for (const EventDecl& e : kEvents) {
        QStringList words;
        for (const Word<EventKind>& word : kEventWords) {
            if (word.meaning == e.kind)
                words.append(QString::fromUtf8(word.utf8));
        }
        line(QString::fromUtf8(e.japanese), words);
    }
    const auto accountWords = [&](QStringView name, auto matches) {
        QStringList words;
        for (const Word<AccountWord>& word : kAccountWords) {
            const QString text = QString::fromUtf8(word.utf8);
            if (matches(word.meaning) && text != name && text != u"nisa")
                words.append(text);
        }
        line(name, words);
    };
    for (const Account account : {Account::Specified, Account::General, Account::Nisa, Account::OldNisa}) {
        accountWords(accountName(account),
                     [&](const AccountWord& word) { return word.account == account && !word.specifiedOrGeneral; });
    }
    accountWords(u"特定か一般（持っている方）", [](const AccountWord& word) { return word.specifiedOrGeneral; });
    return lines;
}

QString accountWordsHint()
{
    return QStringLiteral("特定（特定口座）、一般（一般口座）、NISA（NISA成長投資枠、NISAつみたて投資枠）、"
                          "旧NISA（一般NISA、つみたてNISA）、特定/一般");
}

bool isSettlementWord(QByteArrayView cell)
{
    static const QByteArray settlement = kSettlementEvent.toString().toUtf8();
    static const QByteArray provisional = kProvisionalSettlementEvent.toString().toUtf8();
    return cell == settlement || cell == provisional;
}
