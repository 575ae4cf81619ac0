#include <cstdio>

#include "cli/Commands.h"

namespace nuvisca::cli {

int runInfo(std::span<const std::string_view> /*args*/) {
    std::fputs("nuvisca: 'info' is not available in this build\n", stderr);
    return kExitUsage;
}

}  // namespace nuvisca::cli
