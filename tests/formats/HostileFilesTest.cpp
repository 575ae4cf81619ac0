// Files that are not what their names say, that are huge or odd: no crash, no hang, and a
// refused file leaves the loaded recording as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;

struct Reader {
    const char* name;
    const char* extension;
    std::int64_t (*dateKey)(const std::filesystem::path&);
    bool (*load)(const std::filesystem::path&, MeasurementStore&, GraphViewState&);
};

const Reader kReaders[] = {{"Device", ".NVD", getDateFromNVD, readNVDFile},
                           {"Csv", ".csv", getDateFromCSV, readCSVFile}};
const Reader& kNvd = kReaders[0];
const Reader& kCsv = kReaders[1];

class HostileFilesTest : public ::testing::Test {
protected:
    HostileFilesTest() { view.viewWidth = 1000.0f; }

    // Neither operation accepts the file, and the store and the view stay byte for byte.
    void expectRefused(const Reader& reader, const std::filesystem::path& path) {
        SCOPED_TRACE(std::string(reader.name) + " reader on " + path.filename().string());
        const auto before = makeMeasurementStore();
        std::memset(static_cast<void*>(before.get()), 0xA5, sizeof(MeasurementStore));
        std::memcpy(static_cast<void*>(store.get()), before.get(), sizeof(MeasurementStore));
        view.viewStart = 123;
        const GraphViewState viewBefore = view;
        EXPECT_EQ(reader.dateKey(path), 0);
        EXPECT_FALSE(reader.load(path, *store, view));
        EXPECT_EQ(std::memcmp(store.get(), before.get(), sizeof(MeasurementStore)), 0);
        EXPECT_EQ(std::memcmp(&view, &viewBefore, sizeof view), 0);
    }

    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
};

std::string deviceBytes(NvdBuilder file) {
    const test::Bytes bytes = file.continuation(0.7f, 0.4f, 0.2f).bytes();
    return {bytes.begin(), bytes.end()};
}

TEST_F(HostileFilesTest, FilesOfAnotherFormatAreRefused) {
    const std::string device = deviceBytes(NvdBuilder());
    const std::string header(test::kMeasuredHeader);
    // clang-format off
    const std::pair<const Reader&, std::string> cases[] = {
        {kNvd, deviceBytes(NvdBuilder().tag("QM43"))}, {kNvd, deviceBytes(NvdBuilder().tag("qm42"))},
        {kNvd, deviceBytes(NvdBuilder().recordCount(0))}, {kNvd, ""}, {kNvd, device.substr(0, 4)},
        {kNvd, device.substr(0, 13)},  // cut before the record count
        {kCsv, "RM2"}, {kCsv, "QM42,ID 0123456789012\n"}, {kCsv, "\xEF\xBB\xBF" + header},
        // Not UTF-8: a stray continuation byte, overlong forms, surrogates, beyond U+10FFFF,
        // five-byte forms and cut sequences, near the start or far from it.
        {kCsv, "RM27,ID \x80"}, {kCsv, "RM27,ID \xC1\xBF"}, {kCsv, "RM27,ID \xC0\x80"},
        {kCsv, "RM27,ID \xE0\x9F\xBF"}, {kCsv, "RM27,ID \xF0\x8F\xBF\xBF"},
        {kCsv, "RM27,ID \xED\xA0\x80"}, {kCsv, "RM27,ID \xF4\x90\x80\x80"},
        {kCsv, "RM27,ID \xF5\x80\x80\x80"}, {kCsv, "RM27,ID \xF8\x88\x80\x80\x80"},
        {kCsv, "RM27,ID 01234\xE6\xB8\n"}, {kCsv, header + "10:20:30,00:00:00,6\xC3\x28,0.4\n"}};
    // clang-format on
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE("case " + std::to_string(k));
        const auto path = dir.file(std::string("refused") + cases[k].first.extension);
        test::writeText(path, cases[k].second);
        expectRefused(cases[k].first, path);
    }
}

class HostileNamedLikeRecordingTest : public HostileFilesTest,
                                      public ::testing::WithParamInterface<Reader> {
protected:
    std::filesystem::path named(const std::string& stem) const {
        return dir.file(stem + GetParam().extension);
    }
};

TEST_P(HostileNamedLikeRecordingTest, WhatIsNotARegularReadableFileIsRefused) {
    expectRefused(GetParam(), named("missing"));
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
    expectRefused(GetParam(), named(std::string(256, 'n')));
    if (std::filesystem::exists("/dev/zero")) {
        expectRefused(GetParam(), "/dev/zero");
    }
}

TEST_P(HostileNamedLikeRecordingTest, NamesOfAnyBytesLoad) {
    const auto path = named("\xFF\xFE-\x82\xA0");
    if (GetParam().extension == std::string(".NVD")) {
        NvdBuilder().start(2014, 5, 12, 10, 20, 30).continuation(0.7f, 0.4f, 0.2f).writeTo(path);
    } else {
        ASSERT_TRUE(saveNVDFile(path, *test::makeRecording(4), ExportSeries::Measured));
    }
    EXPECT_EQ(GetParam().dateKey(path), 140512102030);
    ASSERT_TRUE(GetParam().load(path, *store, view));
}

INSTANTIATE_TEST_SUITE_P(Readers, HostileNamedLikeRecordingTest, ::testing::ValuesIn(kReaders),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(HostileFilesTest, ACsvLineOf100MegabytesIsReadWithoutTrouble) {
    constexpr std::size_t kHuge = 50'000'000;
    const std::string header(test::kMeasuredHeader);
    const auto path = dir.file("long.csv");
    // Zeros in front of a value, then a number too large for float.
    test::writeText(path, header + "10:20:30,00:00:00," + std::string(kHuge, '0') + "1.5,0.25," +
                              std::string(kHuge, '9') + ",0.375\n");
    ASSERT_TRUE(readCSVFile(path, *store, view));
    ASSERT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->rso2Data[0], 1.5f);
    EXPECT_EQ(store->oxhbData[0], 0.25f);
    EXPECT_TRUE(std::isinf(store->dxhbData[0]) && store->dxhbData[0] > 0.0f);
}

}  // namespace
}  // namespace nuvisca
