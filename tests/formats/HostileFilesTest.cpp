// Files that are not what their names say, that are huge or odd, and exports that fail half
// way: no crash, no hang, no read beyond what is needed, and no file damaged.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"
#include "support/SmallTmpfs.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;
using test::TempDir;
using namespace std::string_literals;

struct Reader {
    const char* name;
    const char* extension;
    std::int64_t (*dateKey)(const std::filesystem::path&);
    bool (*load)(const std::filesystem::path&, MeasurementStore&, GraphViewState&);
};

const Reader kReaders[] = {{"Device", ".NVD", getDateFromNVD, readNVDFile},
                           {"Csv", ".csv", getDateFromCSV, readCSVFile}};

class HostileFilesTest : public ::testing::Test {
protected:
    HostileFilesTest() { view.viewWidth = 1000.0f; }

    // Neither operation accepts the file, and the loaded recording stays.
    void expectRefused(const Reader& reader, const std::filesystem::path& path) {
        SCOPED_TRACE(std::string(reader.name) + " reader on " + path.filename().string());
        EXPECT_EQ(reader.dateKey(path), 0);
        EXPECT_FALSE(reader.load(path, *store, view));
        EXPECT_EQ(store->sampleCount, 3);
        EXPECT_STREQ(store->deviceId.data(), "0123456789012");
    }

    TempDir dir;
    std::unique_ptr<MeasurementStore> store = test::makeRecording(3);
    GraphViewState view;
};

class HostileNamedLikeRecordingTest : public HostileFilesTest,
                                      public ::testing::WithParamInterface<Reader> {
protected:
    std::filesystem::path named(const std::string& stem) const {
        return dir.file(stem + GetParam().extension);
    }
};

TEST_P(HostileNamedLikeRecordingTest, FolderPipeLinkLoopAndUnreadableFileAreRefused) {
    std::filesystem::create_directory(named("folder"));
    expectRefused(GetParam(), named("folder"));

    // Opened for reading, a pipe would block until a writer came.
    ASSERT_EQ(::mkfifo(named("pipe").c_str(), 0600), 0);
    expectRefused(GetParam(), named("pipe"));

    std::filesystem::create_symlink(named("loop-b"), named("loop-a"));
    std::filesystem::create_symlink(named("loop-a"), named("loop-b"));
    expectRefused(GetParam(), named("loop-a"));

    // A regular file that opens but cannot be read, even by root: memory at address 0.
    std::filesystem::create_symlink("/proc/self/mem", named("unreadable"));
    char byte = 0;
    const int fd = ::open(named("unreadable").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_LT(::read(fd, &byte, 1), 0);
    ::close(fd);
    expectRefused(GetParam(), named("unreadable"));

    test::writeText(dir.file("plain"), "RM27");
    expectRefused(GetParam(), dir.file("plain") / (std::string("below") + GetParam().extension));
}

TEST_P(HostileNamedLikeRecordingTest, NamesOfAnyBytesLoadAndTooLongNamesAreRefused) {
    auto recording = test::makeRecording(4);
    const std::string name = std::string("\xFF\xFE-\x82\xA0") + GetParam().extension;
    const auto path = dir.file(name);
    if (GetParam().extension == std::string(".NVD")) {
        NvdBuilder().start(2014, 5, 12, 10, 20, 30).continuation(0.7f, 0.4f, 0.2f).writeTo(path);
    } else {
        ASSERT_TRUE(saveNVDFile(path, *recording, ExportSeries::Measured));
    }
    EXPECT_EQ(GetParam().dateKey(path), 140512102030);
    ASSERT_TRUE(GetParam().load(path, *store, view));

    store = test::makeRecording(3);
    expectRefused(GetParam(), dir.file(std::string(256, 'n') + GetParam().extension));
}

INSTANTIATE_TEST_SUITE_P(Readers, HostileNamedLikeRecordingTest, ::testing::ValuesIn(kReaders),
                         [](const auto& test) { return std::string(test.param.name); });

// Bytes this process has read so far, from any file.
std::uint64_t bytesReadByThisProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

TEST_F(HostileFilesTest, AGibibyteDeviceFileLoadsUpToTheCapacityAndNoFurther) {
    const auto path = dir.file("huge.NVD");
    NvdBuilder builder;
    builder.start(2014, 5, 12, 10, 0, 0).end(10, 30, 0).timeStamp(10, 0, 0, 0.7f, 0.4f, 0.2f);
    builder.continuation(0.6f, 0.3f, 0.1f);
    builder.writeTo(path);
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);  // sparse: zero records
    if (bytesReadByThisProcess() == 0) {
        GTEST_SKIP() << "/proc/self/io is not available to count the bytes read";
    }

    const std::uint64_t before = bytesReadByThisProcess();
    EXPECT_EQ(getDateFromNVD(path), 140512100000);
    ASSERT_TRUE(readNVDFile(path, *store, view));
    const std::uint64_t read = bytesReadByThisProcess() - before;

    ASSERT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_EQ(store->sampleTime[0], 36000u);
    EXPECT_EQ(store->sampleTime[1], continuationTag);
    EXPECT_FLOAT_EQ(store->rso2Data[1], 60.0f);
    // All-zero records are time stamps at midnight with zero values.
    EXPECT_EQ(store->sampleTime[kSampleCapacity - 1], 0u);
    EXPECT_EQ(store->oxhbData[kSampleCapacity - 1], 0.0f);
    // The capacity's records, and at most one more block of 64 KiB with the date key.
    EXPECT_LT(read, std::uint64_t{kSampleCapacity} * 16 + 4 * 65536);
}

TEST_F(HostileFilesTest, ACsvLineOf50MegabytesIsReadWithoutTrouble) {
    constexpr std::size_t kHuge = 50'000'000;
    const std::string header(test::kMeasuredHeader);
    const std::string line1 = header.substr(0, header.find('\n'));
    const std::string rest = header.substr(line1.size() + 1);
    const auto path = dir.file("long.csv");

    // Line 1 runs on for 50 MB after the start time.
    test::writeText(path, line1 + std::string(kHuge, '9') + "\n" + rest +
                              "10:20:30,00:00:00,65.30,0.4,0.2,0.6\n");
    EXPECT_EQ(getDateFromCSV(path), 140512102030);
    ASSERT_TRUE(readCSVFile(path, *store, view));
    EXPECT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->startSecond, 30);
    EXPECT_EQ(store->rso2Data[0], 65.3f);

    // One data line of 50 MB: zeros in front of a value, then a number too large for float.
    test::writeText(path, header + "10:20:30,00:00:00," + std::string(kHuge, '0') + "1.5,0.25," +
                              std::string(kHuge, '9') + ",0.375\n");
    ASSERT_TRUE(readCSVFile(path, *store, view));
    ASSERT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->rso2Data[0], 1.5f);
    EXPECT_EQ(store->oxhbData[0], 0.25f);
    EXPECT_TRUE(std::isinf(store->dxhbData[0]) && store->dxhbData[0] > 0.0f);
}

TEST_F(HostileFilesTest, NulInvalidUtf8AndByteOrderMarkInACsvFile) {
    const std::string header(test::kMeasuredHeader);
    const auto path = dir.file("odd.csv");

    // A NUL is a character like any other: the number before it counts.
    test::writeText(path, header +
                              "10:20:30,00:00:00,6\0"
                              "5,0.4,0.2,0.6\n"s);
    ASSERT_TRUE(readCSVFile(path, *store, view));
    ASSERT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->rso2Data[0], 6.0f);
    EXPECT_EQ(store->oxhbData[0], 0.4f);

    // A NUL inside a heading: that column is not found, the channel has no data.
    std::string brokenHeading = header;
    brokenHeading.replace(brokenHeading.find("oxHb"), 1, std::string(1, '\0'));
    test::writeText(path, brokenHeading + "10:20:30,00:00:00,65,0.4,0.2,0.6\n");
    ASSERT_TRUE(readCSVFile(path, *store, view));
    EXPECT_EQ(store->oxhbData[0], noDataValue);
    EXPECT_EQ(store->dxhbData[0], 0.2f);

    store = test::makeRecording(3);
    for (const std::string& text :
         {header + "10:20:30,00:00:00,6\xC3\x28,0.4,0.2,0.6\n", "\xEF\xBB\xBF" + header}) {
        test::writeText(path, text);
        expectRefused(kReaders[1], path);
    }
}

// Runs step in a child process and returns its exit code (-signal when it was killed).
int inChild(const std::function<int()>& step) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(step());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

class FailedExportTest : public HostileFilesTest {
protected:
    FailedExportTest() {
        for (std::int32_t i = 0; i < kSampleCapacity; ++i) {
            recording->oxhbData[static_cast<std::size_t>(i)] = 0.001f * static_cast<float>(i % 997);
        }
    }

    void writeOld(const std::filesystem::path& target) { test::writeText(target, kOld); }

    std::size_t entriesIn(const std::filesystem::path& folder) const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                      std::filesystem::directory_iterator()));
    }

    static constexpr std::string_view kOld = "RM27,ID 0000000000000,the old export\n";
    std::unique_ptr<MeasurementStore> recording = test::makeRecording(kSampleCapacity);
};

TEST_F(FailedExportTest, AFileSizeLimitHalfWayLeavesTheOldFileWhole) {
    const auto target = dir.file("out.csv");
    writeOld(target);
    const int code = inChild([&] {
        const rlimit limit{4096, 4096};
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        return saveNVDFile(target, *recording, ExportSeries::Measured) ? 1 : 0;
    });
    EXPECT_EQ(code, 0) << "1: the export claimed success; 2: no limit";
    EXPECT_EQ(test::readBytes(target), kOld);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST_F(FailedExportTest, AFullDiskLeavesTheOldFileWhole) {
    const test::SmallTmpfs disk(dir.file("disk"), 64 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << "no privilege to mount a small tmpfs; the file size limit test stands in";
    }
    const auto target = dir.file("disk") / "out.csv";
    writeOld(target);
    disk.fill();
    EXPECT_FALSE(saveNVDFile(target, *recording, ExportSeries::Measured));
    EXPECT_EQ(test::readBytes(target), kOld);
    EXPECT_EQ(entriesIn(dir.file("disk")), 3u);  // the old file and the two fillers
}

TEST_F(FailedExportTest, AFolderWithoutWritePermissionLeavesTheOldFileWhole) {
    const auto folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    const auto target = folder / "out.csv";
    writeOld(target);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    // Root ignores permission bits: the child gives up root first.
    const int code = inChild([&] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return 2;
        }
        const int probe = ::open((folder / "probe").c_str(), O_WRONLY | O_CREAT, 0600);
        if (probe >= 0) {
            return 3;
        }
        return saveNVDFile(target, *recording, ExportSeries::Measured) ? 1 : 0;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(code, 0) << "1: the export claimed success; 2: cannot give up root; 3: not locked";
    EXPECT_EQ(test::readBytes(target), kOld);
    EXPECT_EQ(entriesIn(folder), 1u);
}

bool holdsTemporaryFile(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".nuvisca-")) {
            return true;
        }
    }
    return false;
}

TEST_F(FailedExportTest, AProcessKilledWhileExportingLeavesAWholeFile) {
    const auto target = dir.file("out.csv");
    writeOld(target);
    const std::string complete = formatCsvExport(*recording, ExportSeries::Measured);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (;;) {
                saveNVDFile(target, *recording, ExportSeries::Measured);
            }
        }
        // Killed while its temporary file exists, that is, while it writes.
        for (int wait = 0; wait < 100000 && !holdsTemporaryFile(dir.path()); ++wait) {
            std::this_thread::yield();
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const std::string now = test::readBytes(target);
        EXPECT_TRUE(now == kOld || now == complete) << "target holds " << now.size() << " bytes";
        // A killed process cannot remove its temporary file, which never bears the name.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "out.csv" || name.starts_with(".nuvisca-")) << name;
            if (name != "out.csv") {
                std::filesystem::remove(entry.path());
            }
        }
    }
}

TEST_F(FailedExportTest, LongestNameIsWrittenAndALongerOneFailsCleanly) {
    const auto longest = dir.file(std::string(251, 'n') + ".csv");
    EXPECT_TRUE(saveNVDFile(longest, *recording, ExportSeries::Measured));
    EXPECT_EQ(test::readBytes(longest).size(),
              formatCsvExport(*recording, ExportSeries::Measured).size());
    EXPECT_FALSE(
        saveNVDFile(dir.file(std::string(252, 'n') + ".csv"), *recording, ExportSeries::Measured));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace nuvisca
