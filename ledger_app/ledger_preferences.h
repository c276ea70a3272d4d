#pragma once

#include "calc/ledger/ledger.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <span>

class QSettings;

// The ledger window's choices, kept between runs: how the book rounds and settles, and
// the encoding files are saved in.
struct LedgerPreferences {
    enum class SaveEncoding { Utf8, Cp932 };

    ledger::Roundings roundings;
    // The options among those that follow the files' brokers (RoundingPreference::followsFiles)
    // that the investor chose, as the command line names them; the others are left to the
    // brokers' conventions, and to the ledger's defaults in a file of its own format.
    QStringList given;
    bool dividendNetting = true;
    SaveEncoding saveEncoding = SaveEncoding::Utf8;
};
[[nodiscard]] bool operator==(const LedgerPreferences& a, const LedgerPreferences& b);

// One of the book's conventions as the settings offer it: the word the command line's
// option takes for each choice (and the settings store), the choice's text, and how it
// reads and sets the roundings.
struct RoundingPreference {
    struct Choice {
        const char* word;
        const char* text; // UTF-8
    };
    const char* option;  // the command line's option and the store's key, after "ledger/"
    const char* objectName;
    const char* caption; // with its access key
    const char* help;
    std::array<Choice, 3> choices; // a null word ends the list early
    // Brokers differ here: unless chosen, a broker's download sets it (the first choice
    // otherwise).
    bool followsFiles;
    std::size_t (*chosen)(const ledger::Roundings&);
    void (*choose)(ledger::Roundings&, std::size_t);

    [[nodiscard]] std::size_t count() const { return choices[2].word ? 3 : 2; }
    // Whether `settings` leave it to the files.
    [[nodiscard]] bool leftToFiles(const LedgerPreferences& settings) const
    {
        return followsFiles && !settings.given.contains(QLatin1String(option));
    }
};
[[nodiscard]] std::span<const RoundingPreference> roundingPreferences();

// The settings as last stored; a missing or unknown value reads as its default.
[[nodiscard]] LedgerPreferences loadLedgerPreferences(const QSettings& store);
void storeLedgerPreferences(QSettings& store, const LedgerPreferences& settings);
