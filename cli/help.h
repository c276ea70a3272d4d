#pragma once

#include <QString>

// The --help text, in Japanese with the English option names; each calculator's
// options, captions, defaults and CSV columns come from its declaration.
[[nodiscard]] QString helpText();
