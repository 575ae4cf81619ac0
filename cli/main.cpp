#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
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

struct Command {
    std::string_view name;
    int (*run)(std::span<const std::string_view>);
};

constexpr std::array kCommands{Command{"info", nuvisca::cli::runInfo},
                               Command{"render", nuvisca::cli::runRender},
                               Command{"export", nuvisca::cli::runExport}};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        return nuvisca::cli::usageError("", "missing COMMAND");
    }
    const std::string_view name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kUsage.data(), stdout);
        return nuvisca::cli::kExitOk;
    }
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return command.run(std::span(args).subspan(1));
        }
    }
    return nuvisca::cli::usageError("", "unknown command '" + std::string(name) + "'");
}
