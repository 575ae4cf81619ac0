#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "formats/CsvReader.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

class CommandLineTest : public ::testing::Test {
protected:
    CliResult run(const std::vector<std::string>& args) const { return runCli(args, dir.path()); }

    std::string write(const NvdBuilder& file, const std::string& name) const {
        file.writeTo(dir.file(name));
        return dir.file(name).string();
    }

    std::string recording() const {
        return write(NvdBuilder()
                         .start(2013, 7, 15, 9, 5, 30)
                         .end(10, 5, 30)
                         .deviceId("49012AB567894")
                         .timeStamp(9, 5, 30, 0.7f, 0.4f, 0.2f)
                         .continuation(0.71f, -1.0f, 0.21f)
                         .gap(9, 5, 35, 0.72f, 0.42f, 0.22f),
                     "rec.NVD");
    }

    // What the viewer writes for the file with the box at n ("はい" when n > 1).
    static std::string viewerExport(const std::string& in, int n) {
        const auto store = makeMeasurementStore();
        GraphViewState view;
        EXPECT_TRUE(readNVDFile(in, *store, view) || readCSVFile(in, *store, view));
        store->averageWindow = n - 1;
        if (n > 1) {
            Create_Av_data(*store);
        }
        return formatCsvExport(*store, n > 1 ? ExportSeries::Averaged : ExportSeries::Measured);
    }

    TempDir dir;
};

TEST_F(CommandLineTest, InfoPrintsWhatTheReaderLoads) {
    const std::string path = recording();
    const CliResult result = run({"info", "--", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "format: NVD\ndate_key: 130715090530\ndevice_id: 4901200567894\n"
              "start: 2013-07-15 09:05:30\nend: 10:05:30\nsamples: 10\nspan_samples: 7200\n");
    const auto store = makeMeasurementStore();
    GraphViewState view;
    ASSERT_TRUE(readNVDFile(path, *store, view));
    EXPECT_EQ(store->sampleCount, 10);
    EXPECT_EQ(store->spanSamples, 7200);
}

TEST_F(CommandLineTest, ExportWritesWhatTheViewerWritesForEachBoxSettingAndInput) {
    const std::string in = recording();
    const std::string out = dir.file("out.csv").string();
    const std::pair<std::vector<std::string>, int> settings[] = {
        {{}, 1}, {{"--average", "1"}, 1}, {{"--average", "3"}, 3}, {{"--average=30"}, 30}};
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
    const std::string again = dir.file("again.csv").string();
    EXPECT_EQ(run({"export", out, again}).exitCode, 0);
    EXPECT_EQ(readBytes(again), viewerExport(out, 1));
    EXPECT_EQ(run({"info", out}).out.rfind("format: CSV\ndate_key: 130715090530\n", 0), 0u);
    const std::string empty =
        write(NvdBuilder().start(2020, 1, 2, 23, 0, 0).end(1, 0, 0).recordCount(1), "empty.NVD");
    EXPECT_EQ(run({"export", empty, out}).exitCode, 0);
    EXPECT_EQ(readBytes(out), viewerExport(empty, 1));
}

// Exit 1 for a file that cannot be read or written, with one line saying why; exit 2 for a
// usage error, with the usage; no output file either way.
TEST_F(CommandLineTest, FailuresAndUsageErrorsWriteNothing) {
    const std::string in = recording();
    const std::string wrongTag =
        write(NvdBuilder().tag("QM43").continuation(0.7f, 0.4f, 0.2f), "x.NVD");
    const std::string missing = dir.file("missing.NVD").string();
    const std::string folder = dir.path().string();
    const std::string notes = dir.file("notes.csv").string();
    const std::string kept = dir.file("kept.csv").string();
    const std::string out = dir.file("new.csv").string();
    const std::string noFolder = dir.file("no-folder/new.csv").string();
    writeText(notes, "just some text\n");
    writeText(kept, "older export");
    const std::string notRecording = ": not a device recording or CSV export";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
    } cases[] = {
        {{"info", wrongTag}, 1, "nuvisca: " + wrongTag + notRecording},
        {{"info", missing}, 1, "nuvisca: " + missing + ": cannot open"},
        {{"info", folder}, 1, "nuvisca: " + folder + ": not a regular file"},
        {{"export", notes, out}, 1, "nuvisca: " + notes + notRecording},
        {{"export", missing, out}, 1, "nuvisca: " + missing + ": cannot open"},
        {{"export", notes, kept}, 1, "nuvisca: " + notes + notRecording},
        {{"export", in, noFolder}, 1, "nuvisca: " + noFolder + ": cannot write the export"},
        {{"info"}, 2, "missing FILE"},
        {{"info", in, in}, 2, "unexpected argument " + in},
        {{"info", "--verbose", in}, 2, "unknown option --verbose"},
        {{"info", "--help"}, 0, ""},
        {{"export"}, 2, "missing IN and OUT.csv"},
        {{"export", in}, 2, "missing OUT.csv"},
        {{"export", in, out, "extra"}, 2, "unexpected argument extra"},
        {{"export", in, out, "--average"}, 2, "missing N"},
        {{"export", in, out, "--average", "0"}, 2, "from 1 to 30, not 0"},
        {{"export", in, out, "--average", "31"}, 2, "from 1 to 30, not 31"},
        {{"export", in, out, "--average=5x"}, 2, "from 1 to 30, not 5x"},
        {{"export", in, out, "--smooth"}, 2, "unknown option --smooth"},
        {{"export", "--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        const CliResult result = run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.inErr;
        EXPECT_NE(result.err.find(c.inErr), std::string::npos) << result.err;
        EXPECT_EQ(result.out.empty(), c.exitCode != 0) << result.out;
        const std::string usage = "usage: nuvisca " + c.args[0] + " ";
        if (c.exitCode == 1) {
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        } else {
            EXPECT_NE((c.exitCode == 0 ? result.out : result.err).find(usage), std::string::npos);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(readBytes(kept), "older export");
}

}  // namespace
}  // namespace nuvisca::test
