#pragma once

#include <QString>
#include <QStringView>

// The form in which two spellings of one fund's name meet: brokers, fund companies and
// the investor write the same fund with full-width or half-width letters, digits and
// brackets (（毎月分配型） and (毎月分配型)), half-width katakana, and spaces here and
// there. Compatibility forms are folded (NFKC) and white space dropped; the result is a
// key to compare and look up by, never a name to show.
[[nodiscard]] QString fundNameKey(QStringView name);
