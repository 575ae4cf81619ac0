#include <array>
#include <cstdio>
#include <new>
#include <span>
#include <stdexcept>
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
    "  info FILE...                   print the header and counts of each recording\n"
    "  render IN OUT.png|.jpg|.bmp|.pdf [options]\n"
    "                                 draw the graph (or with --page the print page)\n"
    "  export IN OUT.csv|OUT.edf|OUT.bdf [--average N]\n"
    "                                 write the CSV export the viewer would write, or EDF+/BDF+\n"
    "  stats FILE... [options]        statistics of a range of each recording\n"
    "  events FILE... [options]       the desaturation events of a range of each recording\n"
    "  report IN OUT.pdf [options]    write the case report: particulars, statistics, events\n"
    "                                 and the recording in strips, as a PDF\n"
    "\n"
    "Run 'nuvisca COMMAND --help' for the options of a command, 'nuvisca --version' for the\n"
    "version.\n";

int runVersion(std::span<const std::string_view> args) {
    if (!args.empty()) {
        return nuvisca::cli::usageError("", "--version takes no arguments");
    }
    std::fputs("nuvisca " NUVISCA_VERSION "\n", stdout);
    return nuvisca::cli::kExitOk;
}

struct Command {
    std::string_view name;
    int (*run)(std::span<const std::string_view>);
};

constexpr std::array kCommands{Command{"info", nuvisca::cli::runInfo},
                               Command{"render", nuvisca::cli::runRender},
                               Command{"export", nuvisca::cli::runExport},
                               Command{"stats", nuvisca::cli::runStats},
                               Command{"events", nuvisca::cli::runEvents},
                               Command{"report", nuvisca::cli::runReport},
                               Command{"--version", runVersion}};

int dispatch(int argc, char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
    try {
        return dispatch(argc, argv);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    std::fputs("nuvisca: not enough memory to read the input\n", stderr);
    return nuvisca::cli::kExitFailure;
}
