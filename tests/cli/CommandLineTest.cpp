#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "formats/CsvTestSupport.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

class CommandLineTest : public ::testing::Test {
protected:
    // Runs the built nuvisca without a runtime folder and with its temporary files in the
    // test's folder; its output passes through files there. The arguments hold no single quotes.
    CliResult run(const std::vector<std::string>& args) const {
        std::string command =
            "env -u XDG_RUNTIME_DIR TMPDIR='" + dir.path().string() + "' '" NUVISCA_CLI_PATH "'";
        for (const std::string& arg : args) {
            command += " '" + arg + "'";
        }
        command += " >'" + file("stdout.txt") + "' 2>'" + file("stderr.txt") + "' </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(file("stdout.txt")),
                readBytes(file("stderr.txt"))};
    }

    std::string file(const std::string& name) const { return dir.file(name).string(); }

    TempDir dir;
    const std::string in = file("rec.NVD");
    // clang-format off
    const NvdBuilder recording = NvdBuilder().start(2013, 7, 15, 9, 5, 30).end(10, 5, 30).deviceId("49012AB567894")
        .timeStamp(9, 5, 30, 0.7f, 0.4f, 0.2f).continuation(0.71f, -1.0f, 0.21f).gap(9, 5, 35, 0.72f, 0.42f, 0.22f);
    // clang-format on
    void SetUp() override { recording.writeTo(in); }
};

// Each option reads the same in both forms and after the operands; a successful run says
// nothing on stderr, and render leaves no runtime folder behind.
TEST_F(CommandLineTest, OptionsInBothFormsAndQuietRuns) {
    const CliResult info = run({"info", "--", in});
    EXPECT_EQ(info.out + info.err,
              "format: NVD\ndate_key: 130715090530\ndevice_id: 4901200567894\n"
              "start: 2013-07-15 09:05:30\nend: 10:05:30\nsamples: 10\nspan_samples: 7200\n");
    const auto csv = [&](const char* name) { return splitLines(readBytes(file(name))); };
    const auto secondLine = [&](const char* name) {
        return csv(name).size() > 1 ? csv(name)[1] : "";
    };
    writeText(file("r\xff.NVD"), readBytes(in));
    // clang-format off
    const std::vector<std::string> runs[] = {
        {"export", in, file("spaced.csv"), "--average", "3"},
        {"export", "--average=3", in, file("joined.csv")},
        {"export", in, file("one.csv"), "--average", "1"},
        {"export", file("r\xff.NVD"), file("o\xff.csv")},
        {"render", in, file("spaced.png"), "--end", "40", "--zoom", "3"},
        {"render", in, file("joined.png"), "--end=40", "--zoom=3"},
        {"render", in, file("default.png")}};
    // clang-format on
    for (const std::vector<std::string>& args : runs) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << args[2];
        EXPECT_EQ(result.out + result.err, "") << args[2];
    }
    EXPECT_EQ(secondLine("spaced.csv").rfind("移動平均,3,終了時刻", 0), 0u);
    EXPECT_EQ(csv("joined.csv"), csv("spaced.csv"));
    EXPECT_EQ(secondLine("one.csv").rfind(",,終了時刻", 0), 0u);
    EXPECT_EQ(csv("o\xff.csv"), csv("one.csv"));
    EXPECT_EQ(run({"info", file("one.csv")}).out.rfind("format: CSV\ndate_key: 130715090530\n", 0),
              0u);
    EXPECT_EQ(readBytes(file("joined.png")), readBytes(file("spaced.png")));
    EXPECT_NE(readBytes(file("default.png")), readBytes(file("spaced.png")));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("nuvisca-")) << entry.path();
    }
}

// Help anywhere goes to stdout; failures (1) and usage errors (2) say why in one line on stderr
// and write nothing.
TEST_F(CommandLineTest, HelpFailuresAndUsageErrors) {
    const std::string notes = file("notes.csv");
    const std::string out = file("new.csv");
    writeText(notes, "just some text\n");
    const std::string notRecording = ": not a device recording or CSV export";
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"info", in, "--help"}, 0, "usage: nuvisca info FILE\n"},
        {{"render", in, out, "--zoom", "2", "-h"}, 0, "usage: nuvisca render IN OUT.png"},
        {{"export", in, out, "--help"}, 0, "usage: nuvisca export IN OUT.csv"},
        {{"--help"}, 0, "usage: nuvisca COMMAND"},
        {{"info", file("missing.NVD")}, 1, "nuvisca: " + file("missing.NVD") + ": cannot open ("},
        {{"info", dir.path().string()}, 1, "nuvisca: " + dir.path().string() + ": not a regular file"},
        {{"export", notes, out}, 1, "nuvisca: " + notes + notRecording},
        {{"render", notes, out}, 1, "nuvisca: " + notes + notRecording},
        {{"export", in, file("no/new.csv")}, 1, "nuvisca: " + file("no/new.csv") + ": cannot write the export"},
        {{}, 2, "nuvisca: missing COMMAND; see 'nuvisca --help'"},
        {{"draw", in}, 2, "nuvisca: unknown command 'draw'"},
        {{"info", in, in}, 2, "nuvisca info: unexpected argument '" + in + "'; see 'nuvisca info --help'"},
        {{"info", "--verbose", in}, 2, "nuvisca info: unknown option '--verbose'"},
        {{"render", in, out, "-v"}, 2, "nuvisca render: unknown option '-v'"},
        {{"export", in, out, "--page"}, 2, "nuvisca export: unknown option '--page'"},
        {{"render", in, out, "--page=A4"}, 2, "nuvisca render: unexpected value after '--page'"},
        {{"info"}, 2, "nuvisca info: missing FILE"},
        {{"export", in}, 2, "nuvisca export: missing OUT.csv"},
        {{"render"}, 2, "nuvisca render: missing IN and OUT.png"},
        {{"export", in, out, "--average"}, 2, "nuvisca export: missing value after '--average'"},
        {{"export", in, out, "--average", "0"}, 2, "nuvisca export: --average takes a whole number from 1 to 30, not '0'"},
        {{"export", in, out, "--average=31"}, 2, "nuvisca export: --average takes a whole number from 1 to 30, not '31'"},
        {{"render", in, out, "--zoom=5"}, 2, "nuvisca render: --zoom takes a whole number from 0 to 4, not '5'"},
        {{"render", in, out, "--hide", "hb", "--hide", "tohb"}, 2, "nuvisca render: --hide takes a comma list"},
        {{"render", in, out, "--size", "0x10"}, 2, "nuvisca render: --size takes WxH, each from 1 to 16384, not '0x10'"}};
    // clang-format on
    for (const auto& [args, exitCode, expected] : cases) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << expected;
        const std::string& text = exitCode == 0 ? result.out : result.err;
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
        EXPECT_EQ(exitCode == 0 ? result.err : result.out, "");
        EXPECT_TRUE(exitCode == 0 || text.find('\n') == text.size() - 1) << "one line: " << text;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace nuvisca::test
