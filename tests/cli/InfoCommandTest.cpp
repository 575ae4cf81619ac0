#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;
using test::TempDir;

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class InfoCommandTest : public ::testing::Test {
protected:
    CliResult run(const std::vector<std::string>& args) const {
        const auto errPath = dir.file("stderr.txt");
        std::string command = shellQuoted(NUVISCA_CLI_PATH);
        for (const std::string& arg : args) {
            command += " " + shellQuoted(arg);
        }
        command += " 2>" + shellQuoted(errPath.string()) + " </dev/null";

        CliResult result;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            ADD_FAILURE() << "cannot run " << command;
            return result;
        }
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            result.out.append(buffer, got);
        }
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ostringstream err;
        err << std::ifstream(errPath).rdbuf();
        result.err = err.str();
        return result;
    }

    std::string write(const NvdBuilder& file, const std::string& name = "rec.NVD") const {
        const auto path = dir.file(name);
        file.writeTo(path);
        return path.string();
    }

    TempDir dir;
};

TEST_F(InfoCommandTest, PrintsWhatTheReaderLoads) {
    const std::string path = write(NvdBuilder()
                                       .start(2013, 7, 15, 9, 5, 30)
                                       .end(10, 5, 30)
                                       .deviceId("49012AB567894")
                                       .timeStamp(9, 5, 30, 0.7f, 0.4f, 0.2f)
                                       .continuation(0.7f, 0.4f, 0.2f)
                                       .gap(9, 5, 35, 0.7f, 0.4f, 0.2f));
    const CliResult result = run({"info", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "format: NVD\n"
              "date_key: 130715090530\n"
              "device_id: 4901200567894\n"
              "start: 2013-07-15 09:05:30\n"
              "end: 10:05:30\n"
              "samples: 10\n"
              "span_samples: 7200\n");

    const auto store = makeMeasurementStore();
    GraphViewState view;
    ASSERT_TRUE(readNVDFile(path, *store, view));
    EXPECT_EQ(store->sampleCount, 10);
    EXPECT_EQ(store->spanSamples, 7200);
}

TEST_F(InfoCommandTest, HeaderWithoutRecordsHasNoSamples) {
    const CliResult result =
        run({"info", write(NvdBuilder().start(2020, 1, 2, 23, 0, 0).end(1, 0, 0).recordCount(1))});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("start: 2020-01-02 23:00:00\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("samples: 0\nspan_samples: 14400\n"), std::string::npos)
        << result.out;
}

TEST_F(InfoCommandTest, FilesThatAreNoRecordingsFailWithOneLine) {
    const std::string wrongTag = write(NvdBuilder().tag("QM43").continuation(0.7f, 0.4f, 0.2f));
    const std::string missing = dir.file("missing.NVD").string();
    std::filesystem::create_directory(dir.file("folder"));
    const std::string folder = dir.file("folder").string();
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {{wrongTag, "not a device recording"},
                 {missing, "cannot open"},
                 {folder, "not a regular file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const CliResult result = run({"info", c.path});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("nuvisca: " + c.path + ": " + c.reason, 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

TEST_F(InfoCommandTest, UsageErrorsAndHelp) {
    const std::string path = write(NvdBuilder().continuation(0.7f, 0.4f, 0.2f));
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string inOut;  // expected in stdout
        std::string inErr;  // expected in stderr
    } cases[] = {
        {{"info"}, 2, "", "missing FILE"},
        {{"info", path, path}, 2, "", "unexpected argument " + path},
        {{"info", "--verbose", path}, 2, "", "unknown option --verbose"},
        {{"info", "--help"}, 0, "usage: nuvisca info FILE", ""},
        {{"info", "--", path}, 0, "format: NVD\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const CliResult result = run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.out.find(c.inOut), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(c.inErr), std::string::npos) << result.err;
        if (c.exitCode == 2) {
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find("usage: nuvisca info FILE"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace nuvisca
