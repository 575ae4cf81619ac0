#include "cli/Arguments.h"

#include <charconv>
#include <cstdio>

#include "cli/Commands.h"

namespace nuvisca::cli {

std::optional<int> parseInt(std::string_view text, int low, int high) {
    int value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || rest != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

int usageError(std::string_view command, std::string_view usage, std::string_view problem,
               std::string_view argument) {
    std::fprintf(stderr, "nuvisca %.*s: %.*s%.*s\n\n%.*s", static_cast<int>(command.size()),
                 command.data(), static_cast<int>(problem.size()), problem.data(),
                 static_cast<int>(argument.size()), argument.data(), static_cast<int>(usage.size()),
                 usage.data());
    return kExitUsage;
}

}  // namespace nuvisca::cli
