#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;

class ExportCommandTest : public ::testing::Test {
protected:
    test::TempDir dir;

    test::CliResult run(const std::vector<std::string>& args) const {
        return test::runCli(args, dir.file("stderr.txt"));
    }

    std::string recording() const {
        const auto path = dir.file("rec.NVD");
        NvdBuilder()
            .start(2014, 5, 12, 10, 20, 30)
            .end(10, 21, 0)
            .timeStamp(10, 20, 30, 0.65f, 0.4f, 0.2f)
            .continuation(0.66f, 0.41f, 0.21f)
            .continuation(0.67f, -1.0f, 0.22f)
            .continuation(0.68f, 0.43f, 0.23f)
            .gap(10, 20, 34, 0.69f, 0.44f, 0.24f)
            .timeStamp(10, 20, 40, 0.7f, 0.45f, 0.25f)
            .continuation(0.71f, 0.46f, 0.26f)
            .writeTo(path);
        return path.string();
    }

    // What the viewer writes for the file with the box at n ("はい" when n > 1).
    static std::string viewerExport(const std::string& in, int n) {
        const auto store = makeMeasurementStore();
        GraphViewState view;
        EXPECT_TRUE(readNVDFile(in, *store, view) || readCSVFile(in, *store, view));
        store->averageWindow = n - 1;
        if (n == 1) {
            return formatCsvExport(*store, ExportSeries::Measured);
        }
        Create_Av_data(*store);
        return formatCsvExport(*store, ExportSeries::Averaged);
    }
};

TEST_F(ExportCommandTest, WritesWhatTheViewerWritesForEachBoxSetting) {
    const std::string in = recording();
    const std::string out = dir.file("out.csv").string();
    const struct {
        std::vector<std::string> options;
        int n;
    } cases[] = {{{}, 1}, {{"--average", "1"}, 1}, {{"--average", "3"}, 3}, {{"--average=30"}, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        std::vector<std::string> args{"export", in, out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::CliResult result = run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(test::readBytes(out), viewerExport(in, c.n));
    }
    EXPECT_EQ(test::splitLines(test::readBytes(out))[1], "移動平均,30,終了時刻,,,10時21分00");
}

TEST_F(ExportCommandTest, ReadsCsvExportsAndInfoNamesThem) {
    const std::string first = dir.file("first.csv").string();
    ASSERT_EQ(run({"export", recording(), first, "--average", "2"}).exitCode, 0);
    const std::string second = dir.file("second.csv").string();
    const test::CliResult result = run({"export", first, second});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(test::readBytes(second), viewerExport(first, 1));

    const test::CliResult info = run({"info", first});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.out.rfind("format: CSV\ndate_key: 140512102030\n", 0), 0u) << info.out;
}

TEST_F(ExportCommandTest, RecordingWithoutSamplesWritesTheHeader) {
    const auto in = dir.file("empty.NVD");
    NvdBuilder().start(2014, 5, 12, 10, 20, 30).end(10, 25, 0).recordCount(1).writeTo(in);
    const std::string out = dir.file("out.csv").string();
    EXPECT_EQ(run({"export", in.string(), out}).exitCode, 0);
    EXPECT_EQ(test::splitLines(test::readBytes(out)).size(), 3u);
}

TEST_F(ExportCommandTest, FailuresCreateNoOutputAndSayWhyInOneLine) {
    test::writeText(dir.file("notes.csv"), "just some text\n");
    test::writeText(dir.file("kept.csv"), "older export");
    const struct {
        std::string in;
        std::string out;
        std::string message;
    } cases[] = {
        {dir.file("notes.csv").string(), dir.file("new.csv").string(),
         "not a device recording or CSV export"},
        {dir.file("missing.NVD").string(), dir.file("new.csv").string(), "cannot open"},
        {dir.file("notes.csv").string(), dir.file("kept.csv").string(),
         "not a device recording or CSV export"},
        {recording(), (dir.file("no-folder") / "new.csv").string(), "cannot write the export"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in + " -> " + c.out);
        const test::CliResult result = run({"export", c.in, c.out});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.csv")));
    EXPECT_EQ(test::readBytes(dir.file("kept.csv")), "older export");
}

TEST_F(ExportCommandTest, UsageErrorsAndHelp) {
    const std::string in = recording();
    const std::string out = dir.file("out.csv").string();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
    } cases[] = {
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
        SCOPED_TRACE(c.args.back());
        const test::CliResult result = run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.err.find(c.inErr), std::string::npos) << result.err;
        EXPECT_NE((c.exitCode == 0 ? result.out : result.err)
                      .find("usage: nuvisca export IN OUT.csv [--average N]"),
                  std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace nuvisca
