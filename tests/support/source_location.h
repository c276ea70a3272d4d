// Where a helper was called from, so that its failure names the test's line. The
// standard type where the compiler provides it (GCC, clang 15 and later); otherwise, as
// with the clang 14 that builds the sanitizer tests, the same from the compiler's
// builtins.
#pragma once

#include <source_location>

namespace support {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
class SourceLocation {
public:
    static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                            const char* function = __builtin_FUNCTION(),
                                            unsigned line = __builtin_LINE()) noexcept
    {
        SourceLocation here;
        here.file_ = file;
        here.function_ = function;
        here.line_ = line;
        return here;
    }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }
    constexpr unsigned line() const noexcept { return line_; }

private:
    const char* file_ = "";
    const char* function_ = "";
    unsigned line_ = 0;
};
#endif

} // namespace support
