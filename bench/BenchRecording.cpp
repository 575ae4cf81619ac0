#include "bench/BenchRecording.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/SyntheticRecording.h"
#include "formats/NvdReader.h"
#include "formats/RecordingFile.h"
#include "support/NvdBuilder.h"

namespace nuvisca::bench {
namespace {

constexpr std::int32_t kStartSeconds = 8 * 3600;
constexpr std::int32_t kPauseFirstSlot = 30000;
// A gap record's sample lands 2 x its time - expected count - 1 slots on: with an even
// count, an odd slot.
constexpr std::int32_t kResumeSlot = 31199;
constexpr std::int32_t kRestartSlot = 50000;
constexpr std::int32_t kRestartSeconds = kStartSeconds + 25000 + 1200;

struct Clock {
    int hour;
    int minute;
    int second;
};

constexpr Clock clockOf(std::int32_t seconds) {
    return {seconds / 3600, seconds / 60 % 60, seconds % 60};
}

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "nuvisca-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            fail("cannot create a scratch folder");
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

void fail(const char* what) {
    std::fprintf(stderr, "nuvisca_bench: %s\n", what);
    std::exit(EXIT_FAILURE);
}

const std::filesystem::path& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

void writeFullDeviceRecording(const std::filesystem::path& path) {
    const auto signal = makeEmptyRecording();
    fillSyntheticRecording(*signal);
    const auto values = [&signal](std::int32_t slot) {
        const auto k = static_cast<std::size_t>(slot);
        return std::array<float, 3>{signal->measured[kRso2][k] / 100.0f, signal->measured[kOxhb][k],
                                    signal->measured[kDxhb][k]};
    };

    test::NvdBuilder builder;
    const Clock end = clockOf(kStartSeconds + kSampleCapacity / 2);
    builder.start(2024, 5, 14, 8, 0, 0).end(end.hour, end.minute, end.second);
    for (std::int32_t slot = 0; slot < kSampleCapacity; ++slot) {
        const auto [rso2, oxhb, dxhb] = values(slot);
        if (slot == 0 || slot == kRestartSlot) {
            const Clock at = clockOf(slot == 0 ? kStartSeconds : kRestartSeconds);
            builder.timeStamp(at.hour, at.minute, at.second, rso2, oxhb, dxhb);
        } else if (slot == kResumeSlot) {
            const Clock at = clockOf(kStartSeconds + (kResumeSlot + 1) / 2);
            const auto [r, o, d] = values(kResumeSlot + 1);
            builder.gap(at.hour, at.minute, at.second, r, o, d);
        } else if (slot < kPauseFirstSlot || slot > kResumeSlot) {
            builder.continuation(rso2, oxhb, dxhb);
        }
    }
    builder.writeTo(path);
}

const std::filesystem::path& fullDeviceRecording() {
    static const std::filesystem::path path = [] {
        auto file = scratchFolder() / "full.NVD";
        writeFullDeviceRecording(file);
        return file;
    }();
    return path;
}

LoadedRecording::LoadedRecording(float viewWidth, float viewHeight) {
    view.viewWidth = viewWidth;
    view.viewHeight = viewHeight;
    model.setRecording(openRecording(fullDeviceRecording()).recording);
    const Recording& loaded = model.recording();
    if (loaded.sampleCount != kSampleCapacity ||
        loaded.sampleTime[kRestartSlot] == continuationTag ||
        loaded.measured[kOxhb][kPauseFirstSlot] >= 0.0f) {
        fail("the full device recording does not load as 76800 slots with a pause and a restart");
    }
}

}  // namespace nuvisca::bench
