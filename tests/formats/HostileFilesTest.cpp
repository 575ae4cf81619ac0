// Files that are not what their names say, that are huge or odd: no crash, no hang, and a
// refused file leaves the loaded recording as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/NvdReader.h"
#include "support/HostileFiles.h"
#include "support/NvdBuilder.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;

struct Reader {
    const char* extension;
    std::int64_t (*dateKey)(const std::filesystem::path&);
    bool (*load)(const std::filesystem::path&, Recording&);
};
const Reader kNvd{".NVD", getDateFromNVD, readNVDFile};
const Reader kCsv{
    ".csv", [](const std::filesystem::path& path) { return getDateFromCSV(path); },
    [](const std::filesystem::path& path, Recording& store) { return readCSVFile(path, store); }};

class HostileFilesTest : public test::LoadTest {
protected:
    // Neither operation accepts the file, and the recording read into stays as it was.
    void expectRefused(const Reader& reader, const std::filesystem::path& path) {
        SCOPED_TRACE(path.filename().string());
        const auto before = makeEmptyRecording();
        for (SampleArray& series : before->measured) {
            series.fill(-7.5f);
        }
        before->sampleTime.fill(0xA5A5A5A5u);
        std::tie(before->sampleCount, before->spanSamples, before->startYear, before->endSecond) =
            std::tuple(-5, -6, -7, -8);
        before->deviceId.fill('x');
        before->truncated = true;
        *store = *before;
        EXPECT_EQ(reader.dateKey(path), 0);
        EXPECT_FALSE(reader.load(path, *store));
        EXPECT_TRUE(*store == *before);
    }
};

std::string deviceBytes(NvdBuilder file) {
    const test::Bytes bytes = file.continuation(0.7f, 0.4f, 0.2f).bytes();
    return {bytes.begin(), bytes.end()};
}

// Files of another format or too large, and paths that are not regular readable files, for
// both readers.
TEST_F(HostileFilesTest, WhatIsNotARecordingIsRefused) {
    const std::string device = deviceBytes(NvdBuilder());
    const std::string header(test::kMeasuredHeader);
    // clang-format off
    const std::pair<const Reader*, std::string> contents[] = {
        {&kNvd, deviceBytes(NvdBuilder().tag("QM43"))}, {&kNvd, deviceBytes(NvdBuilder().tag("qm42"))},
        {&kNvd, deviceBytes(NvdBuilder().recordCount(0))}, {&kNvd, ""}, {&kNvd, device.substr(0, 4)},
        {&kNvd, device.substr(0, 13)},  // cut before the record count
        {&kCsv, "RM2"}, {&kCsv, "QM42,ID 0123456789012\n"}, {&kCsv, "\xEF\xBB\xBF" + header},
        // Not UTF-8: a stray continuation byte, overlong forms of two, three and four bytes,
        // surrogates, beyond U+10FFFF, five-byte forms and cut sequences, near the start or not.
        {&kCsv, "RM27,ID \x80"}, {&kCsv, "RM27,ID \xC1\xBF"}, {&kCsv, "RM27,ID \xE0\x9F\xBF"},
        {&kCsv, "RM27,ID \xF0\x8F\xBF\xBF"},
        {&kCsv, "RM27,ID \xED\xA0\x80"}, {&kCsv, "RM27,ID \xF4\x90\x80\x80"},
        {&kCsv, "RM27,ID \xF5\x80\x80\x80"}, {&kCsv, "RM27,ID \xF8\x88\x80\x80\x80"},
        {&kCsv, "RM27,ID 01234\xE6\xB8\n"}, {&kCsv, header + "10:20:30,00:00:00,6\xC3\x28,0.4\n"}};
    // clang-format on
    std::vector<std::pair<const Reader*, std::filesystem::path>> refused;
    for (std::size_t k = 0; k < std::size(contents); ++k) {
        refused.emplace_back(contents[k].first,
                             dir.file(std::to_string(k) + contents[k].first->extension));
        test::writeText(refused.back().second, contents[k].second);
    }
    // Too large to be an export, however it begins.
    refused.emplace_back(&kCsv, test::writeSparse(dir.file("big.csv"), header, kCsvSizeLimit + 1));
    test::writeText(dir.file("plain"), "RM27");
    for (const Reader* reader : {&kNvd, &kCsv}) {
        const auto named = [&](const std::string& stem) {
            return dir.file(stem + reader->extension);
        };
        std::filesystem::create_directory(named("folder"));
        ASSERT_EQ(::mkfifo(named("pipe").c_str(), 0600), 0);  // opening it would block
        std::filesystem::create_symlink(named("loop-b"), named("loop-a"));
        std::filesystem::create_symlink(named("loop-a"), named("loop-b"));
        // A regular file that opens but cannot be read, even by root: memory at address 0.
        std::filesystem::create_symlink("/proc/self/mem", named("unreadable"));
        for (const auto& path : {named("missing"), named("folder"), named("pipe"), named("loop-a"),
                                 named("unreadable"), named(std::string(256, 'n')),
                                 dir.file("plain") / named("below").filename()}) {
            refused.emplace_back(reader, path);
        }
    }
    for (const auto& [reader, path] : refused) {
        expectRefused(*reader, path);
    }
}

}  // namespace
}  // namespace nuvisca
