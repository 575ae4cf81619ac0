#include <cstdio>

#include "cli/Commands.h"

namespace nuvisca::cli {

int runRender(std::span<const std::string_view> /*args*/) {
    std::fputs("nuvisca: 'render' is not available in this build\n", stderr);
    return kExitUsage;
}

}  // namespace nuvisca::cli
