#include <cstdio>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "cli/Commands.h"

namespace {

constexpr std::string_view kUsage =
    "usage: nuvisca COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  info FILE                      print the header and counts of a recording\n"
    "  render IN OUT.png|OUT.pdf [options]\n"
    "                                 draw the graph (or with --page the print page)\n"
    "  export IN OUT.csv [--average N]\n"
    "                                 write the CSV export the viewer would write\n"
    "\n"
    "Run 'nuvisca COMMAND --help' for the options of a command.\n";

}  // namespace

int dispatch(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage.data(), stderr);
        return nuvisca::cli::kExitUsage;
    }
    const std::string_view command = args.front();
    const std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage.data(), stdout);
        return nuvisca::cli::kExitOk;
    }
    if (command == "info") {
        return nuvisca::cli::runInfo(rest);
    }
    if (command == "render") {
        return nuvisca::cli::runRender(rest);
    }
    if (command == "export") {
        return nuvisca::cli::runExport(rest);
    }
    std::fprintf(stderr, "nuvisca: unknown command '%.*s'\n\n%s", static_cast<int>(command.size()),
                 command.data(), kUsage.data());
    return nuvisca::cli::kExitUsage;
}

int main(int argc, char** argv) {
    try {
        return dispatch(argc, argv);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    std::fputs("nuvisca: not enough memory to read the input\n", stderr);
    return nuvisca::cli::kExitFailure;
}
