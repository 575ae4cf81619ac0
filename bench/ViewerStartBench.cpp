#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchRecording.h"

extern char** environ;

namespace nuvisca::bench {
namespace {

constexpr int kProbeFd = 99;  // free in a process that was just started
constexpr int kPatienceMs = 20000;

// The viewer's environment: this one, on the offscreen platform, with a home of its own
// (the viewer creates its import folder on the Desktop) and the paint probe preloaded.
std::vector<std::string> viewerEnvironment() {
    const auto home = scratchFolder() / "home";
    const auto runtime = scratchFolder() / "runtime";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        if (!entry.starts_with("HOME=") && !entry.starts_with("XDG_RUNTIME_DIR=") &&
            !entry.starts_with("QT_QPA_PLATFORM=") && !entry.starts_with("LD_PRELOAD=")) {
            env.emplace_back(entry);
        }
    }
    env.push_back("HOME=" + home.string());
    env.push_back("XDG_RUNTIME_DIR=" + runtime.string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back(std::string("LD_PRELOAD=") + NUVISCA_FIRST_PAINT_PROBE);
    env.push_back("NUVISCA_FIRST_PAINT_FD=" + std::to_string(kProbeFd));
    return env;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Seconds from the spawn of `nuvisca-viewer RECORDING` to the end of its first paint, or a
// negative number when it never paints. The viewer is killed afterwards.
double secondsToFirstPaint(std::vector<std::string> env, std::vector<std::string> args) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return -1.0;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kProbeFd);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::vector<char*> argv = pointersTo(args);
    const std::vector<char*> envp = pointersTo(env);

    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, NUVISCA_VIEWER, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    double seconds = -1.0;
    if (spawned == 0) {
        pollfd wait{fds[0], POLLIN, 0};
        char painted = 0;
        if (::poll(&wait, 1, kPatienceMs) == 1 && ::read(fds[0], &painted, 1) == 1) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ::close(fds[0]);
    return seconds;
}

// The real viewer binary, started as scripts/run.sh starts it with the sample recordings and
// the full recording named on its command line, until its window has been painted for the
// first time. The files are dated and listed; a recording is loaded only when a row is chosen.
void viewerFirstPaint(benchmark::State& state) {
    const std::vector<std::string> env = viewerEnvironment();
    std::vector<std::string> args{NUVISCA_VIEWER, fullDeviceRecording().string()};
    for (const auto& entry : std::filesystem::directory_iterator(NUVISCA_SAMPLES_DIR)) {
        if (entry.path().extension() == ".NVD") {
            args.push_back(entry.path().string());
        }
    }
    if (secondsToFirstPaint(env, args) < 0.0) {  // also warms the file cache
        fail("the viewer did not paint its window (is the paint probe preloaded?)");
    }
    for (auto _ : state) {
        const double seconds = secondsToFirstPaint(env, args);
        if (seconds < 0.0) {
            fail("the viewer did not paint its window");
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(viewerFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3);

}  // namespace
}  // namespace nuvisca::bench
