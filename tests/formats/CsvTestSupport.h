#pragma once

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "store/Recording.h"
#include "support/TempDir.h"

namespace nuvisca::test {

inline constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
inline constexpr float kInf = std::numeric_limits<float>::infinity();

inline void setSample(Recording& store, std::size_t slot, std::uint64_t tag, float rso2, float oxhb,
                      float dxhb, float tohb) {
    store.sampleTime[slot] = tag;
    putSample(store, slot, {oxhb, dxhb, tohb, rso2});
}

// Device 0123456789012 from 2014-05-12 10:20:30 to 10:25:00, every slot a continuation slot
// with value 1 until set otherwise.
inline std::unique_ptr<Recording> makeRecording(std::int32_t count) {
    auto store = makeEmptyRecording();
    std::string_view("0123456789012").copy(store->deviceId.data(), kDeviceIdLength);
    std::tie(store->startYear, store->startMonth, store->startDay, store->startHour,
             store->startMinute, store->startSecond, store->endHour, store->endMinute,
             store->endSecond) = std::tuple(14, 5, 12, 10, 20, 30, 10, 25, 0);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        setSample(*store, i, i == 0 ? 37230 : continuationTag, 1.0f, 1.0f, 1.0f, 2.0f);
    }
    store->sampleCount = count;
    store->spanSamples = computeSpanSamples(*store);
    return store;
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const std::filesystem::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Whether `save` fails, in a child whose disk refuses the bytes past `bytes`.
template <typename Save>
bool failsPastFileSize(rlim_t bytes, Save save) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{bytes, bytes};
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 && !save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline constexpr std::string_view kMeasuredHeader =
    "RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30\n"
    ",,終了時刻,,,10時25分00\n"
    "測定時刻,経過時間,rSO2[%],oxHb[Index],dxHb[Index],toHb[Index]\n";

// A store and a folder for the files a reader test loads.
class LoadTest : public ::testing::Test {
protected:
    // Slot k in export column order: rSO2, oxHb, dxHb, toHb.
    std::array<float, 4> values(std::size_t k) const {
        return {store->measured[kRso2][k], store->measured[kOxhb][k], store->measured[kDxhb][k],
                store->measured[kTohb][k]};
    }

    TempDir dir;
    std::unique_ptr<Recording> store = makeEmptyRecording();
};

}  // namespace nuvisca::test
