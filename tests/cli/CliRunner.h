#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/CsvTestSupport.h"

namespace nuvisca::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the built nuvisca with args; its output passes through files in `dir`.
inline CliResult runCli(const std::vector<std::string>& args, const std::filesystem::path& dir) {
    std::string command = shellQuoted(NUVISCA_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + shellQuoted(arg);
    }
    const std::filesystem::path out = dir / "stdout.txt";
    const std::filesystem::path err = dir / "stderr.txt";
    command += " >" + shellQuoted(out) + " 2>" + shellQuoted(err) + " </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(out), readBytes(err)};
}

}  // namespace nuvisca::test
