#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// Runs the built nuvisca with args; stderr goes through errFile.
inline CliResult runCli(const std::vector<std::string>& args,
                        const std::filesystem::path& errFile) {
    std::string command = shellQuoted(NUVISCA_CLI_PATH);
    for (const std::string& arg : args) {
        command += " " + shellQuoted(arg);
    }
    command += " 2>" + shellQuoted(errFile.string()) + " </dev/null";

    CliResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    result.err = err.str();
    return result;
}

}  // namespace nuvisca::test
