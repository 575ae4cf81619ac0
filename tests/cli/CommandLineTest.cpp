#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"
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
    // Runs the built nuvisca; its output passes through files in the folder. The arguments
    // hold no single quotes.
    CliResult run(const std::vector<std::string>& args) const {
        std::string command = "'" NUVISCA_CLI_PATH "'";
        for (const std::string& arg : args) {
            command += " '" + arg + "'";
        }
        command += " >'" + file("stdout.txt") + "' 2>'" + file("stderr.txt") + "' </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(file("stdout.txt")),
                readBytes(file("stderr.txt"))};
    }

    std::string file(const std::string& name) const { return dir.file(name).string(); }

    std::string write(const NvdBuilder& builder, const std::string& name) const {
        builder.writeTo(file(name));
        return file(name);
    }

    // What the viewer writes for the file with the box at n ("はい" when n > 1).
    static std::string viewerExport(const std::string& in, int n) {
        const auto store = makeMeasurementStore();
        EXPECT_TRUE(readNVDFile(in, *store) || readCSVFile(in, *store));
        store->averageWindow = n - 1;
        computeMovingAverage(*store);
        return formatCsvExport(*store, n > 1 ? ExportSeries::Averaged : ExportSeries::Measured);
    }

    TempDir dir;
    // clang-format off
    const std::string in = write(NvdBuilder().start(2013, 7, 15, 9, 5, 30).end(10, 5, 30).deviceId("49012AB567894")
        .timeStamp(9, 5, 30, 0.7f, 0.4f, 0.2f).continuation(0.71f, -1.0f, 0.21f).gap(9, 5, 35, 0.72f, 0.42f, 0.22f),
        "rec.NVD");
    // clang-format on
};

TEST_F(CommandLineTest, InfoAndExportGiveWhatTheReadersLoadAndTheViewerWrites) {
    const CliResult info = run({"info", "--", in});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out + info.err,
              "format: NVD\ndate_key: 130715090530\ndevice_id: 4901200567894\n"
              "start: 2013-07-15 09:05:30\nend: 10:05:30\nsamples: 10\nspan_samples: 7200\n");
    const std::string out = file("out.csv");
    // clang-format off
    const std::pair<std::vector<std::string>, int> settings[] = {
        {{}, 1}, {{"--average", "1"}, 1}, {{"--average", "3"}, 3}, {{"--average=30"}, 30}};
    // clang-format on
    for (const auto& [options, n] : settings) {
        std::vector<std::string> args{"export", in, out};
        args.insert(args.end(), options.begin(), options.end());
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_EQ(readBytes(out), viewerExport(in, n)) << n;
    }
    EXPECT_EQ(splitLines(readBytes(out))[1], "移動平均,30,終了時刻,,,10時05分30");
    // Its own export read back, and a recording without samples.
    EXPECT_EQ(run({"info", out}).out.rfind("format: CSV\ndate_key: 130715090530\n", 0), 0u);
    const std::string empty =
        write(NvdBuilder().start(2020, 1, 2, 23, 0, 0).end(1, 0, 0).recordCount(1), "empty.NVD");
    EXPECT_EQ(run({"export", empty, out}).exitCode, 0);
    EXPECT_EQ(readBytes(out), viewerExport(empty, 1));
}

// Exit 1 for a file that cannot be read or written, with one line saying why; exit 2 for a
// usage error, with the usage; no output file either way.
TEST_F(CommandLineTest, FailuresAndUsageErrorsWriteNothing) {
    const std::string wrongTag =
        write(NvdBuilder().tag("QM43").continuation(0.7f, 0.4f, 0.2f), "x.NVD");
    const std::string notes = file("notes.csv");
    const std::string kept = file("kept.csv");
    const std::string out = file("new.csv");
    writeText(notes, "just some text\n");
    writeText(kept, "older export");
    const std::string notRecording = ": not a device recording or CSV export";
    // clang-format off
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{"info", wrongTag}, 1, "nuvisca: " + wrongTag + notRecording},
        {{"info", file("missing.NVD")}, 1, "nuvisca: " + file("missing.NVD") + ": cannot open"},
        {{"info", dir.path().string()}, 1, ": not a regular file"},
        {{"export", notes, kept}, 1, "nuvisca: " + notes + notRecording},
        {{"export", in, file("no/new.csv")}, 1, "nuvisca: " + file("no/new.csv") + ": cannot write the export"},
        {{"info", in, in}, 2, "unexpected argument " + in},
        {{"info", "--verbose", in}, 2, "unknown option --verbose"},
        {{"info", "--help"}, 0, ""},
        {{"export", in}, 2, "missing OUT.csv"},
        {{"export", in, out, "--average"}, 2, "missing N"},
        {{"export", in, out, "--average", "0"}, 2, "from 1 to 30, not 0"},
        {{"export", in, out, "--average=31"}, 2, "from 1 to 30, not 31"}};
    // clang-format on
    for (const auto& [args, exitCode, inErr] : cases) {
        const CliResult result = run(args);
        EXPECT_EQ(result.exitCode, exitCode) << inErr;
        EXPECT_NE(result.err.find(inErr), std::string::npos) << result.err;
        EXPECT_EQ(result.out.empty(), exitCode != 0) << result.out;
        const bool usage =
            (result.out + result.err).find("usage: nuvisca " + args[0]) != std::string::npos;
        EXPECT_EQ(usage, exitCode != 1) << result.err;
        EXPECT_TRUE(exitCode != 1 || result.err.find('\n') == result.err.size() - 1) << "one line";
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(readBytes(kept), "older export");
}

}  // namespace
}  // namespace nuvisca::test
