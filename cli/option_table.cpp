#include "option_table.h"

const CliOption* findCliOption(QStringView name, OptionCommands command)
{
    for (const CliOption& option : kCliOptions) {
        if ((option.commands & command) != 0 && option.name == name)
            return &option;
    }
    return nullptr;
}

QString optionHeading(QStringView name, OptionCommands command)
{
    const CliOption* option = findCliOption(name, command);
    const QString heading = QStringLiteral("--") + name.toString();
    return !option || option->values.isEmpty() ? heading : heading + u' ' + option->values.toString();
}
