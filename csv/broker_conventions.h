#pragma once

#include "broker_layouts.h"

#include "calc/ledger/ledger.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace broker {

// What the brokers of the files do where brokers differ, set in `roundings` where the
// investor left it open (`given` names the options they set, as the command line spells
// them) and the files' layouts agree; what was used, as --explain names it. Empty when
// no file is a broker's download.
[[nodiscard]] QString applyConventions(const std::vector<std::optional<Layout>>& layouts, const QStringList& given,
                                       ledger::Roundings& roundings);

} // namespace broker
