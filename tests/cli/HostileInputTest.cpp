// Every command on huge and odd files, in an address space of 1 GiB: a status of 0 or 1,
// with a message for 1, never a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "support/HostileFiles.h"

namespace nuvisca::test {
namespace {

// The sanitizer reserves terabytes of shadow memory, so under it the runs go unlimited.
#if defined(__SANITIZE_ADDRESS__)
constexpr rlim_t kAddressSpace = RLIM_INFINITY;
#else
constexpr rlim_t kAddressSpace = rlim_t{1} << 30;
#endif

// The exit status of nuvisca with the arguments, or minus the signal that ended it; its
// stderr goes to errPath.
int runInOneGib(std::vector<std::string> args, const std::filesystem::path& errPath) {
    args.insert(args.begin(), NUVISCA_CLI_PATH);
    std::vector<char*> argv(args.size() + 1, nullptr);
    std::transform(args.begin(), args.end(), argv.begin(), [](std::string& a) { return a.data(); });
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = ::open("/dev/null", O_RDWR);
        const rlimit limit{kAddressSpace, kAddressSpace};
        if (err < 0 || null < 0 || ::dup2(null, 0) < 0 || ::dup2(null, 1) < 0 ||
            ::dup2(err, 2) < 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return 127;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(HostileInputTest, InfoExportAndRenderEndWithAStatusAndSayWhy) {
    const TempDir dir;
    const std::filesystem::path err = dir.file("stderr.txt");
    for (const auto& [path, readable] : writeHostileFiles(dir.path())) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{"info", path},
                                                     {"export", path, dir.file("out.csv")},
                                                     {"render", path, dir.file("out.png")}}) {
            SCOPED_TRACE(args[0] + " " + path.filename().string());
            EXPECT_EQ(runInOneGib(args, err), readable ? 0 : 1) << readBytes(err);
            if (!readable) {
                EXPECT_EQ(readBytes(err),
                          "nuvisca: " + path.string() + ": too large to be a CSV export\n");
            }
        }
    }
}

}  // namespace
}  // namespace nuvisca::test
