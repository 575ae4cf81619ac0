// Writes the sample device recordings of samples/ into the folder given as argument.
// Same seed, same files: run it again after changing a recording below.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <numbers>
#include <random>
#include <vector>

#include "NvdBuilder.h"

namespace {

using nuvisca::samples::NvdBuilder;

struct Values {
    float rso2Fraction;
    float oxhb;
    float dxhb;
};

// Slow drift, a slower random walk and measurement noise, per half-second sample.
class SignalModel {
public:
    explicit SignalModel(std::uint32_t seed) : random_(seed) {}

    Values at(double seconds) {
        walk_ = std::clamp(walk_ + 0.0015 * noise(), -0.04, 0.04);
        const double rso2 = 0.675 + 0.07 * wave(seconds, 1900.0, 0.3) +
                            0.02 * wave(seconds, 430.0, 1.1) + walk_ + 0.004 * noise();
        const double oxhb =
            0.40 + 0.06 * wave(seconds, 1500.0, 0.8) + 0.6 * walk_ + 0.003 * noise();
        const double dxhb =
            0.225 + 0.045 * wave(seconds, 2300.0, 2.0) - 0.3 * walk_ + 0.003 * noise();
        return {static_cast<float>(std::clamp(rso2, 0.55, 0.80)),
                static_cast<float>(std::clamp(oxhb, 0.30, 0.50)),
                static_cast<float>(std::clamp(dxhb, 0.15, 0.30))};
    }

private:
    static double wave(double seconds, double period, double phase) {
        return std::sin(2.0 * std::numbers::pi * seconds / period + phase);
    }

    // In [-1, 1], triangular; from the engine's raw output, which is the same everywhere.
    double noise() {
        const double a = static_cast<double>(random_()) / 4294967296.0;
        const double b = static_cast<double>(random_()) / 4294967296.0;
        return a + b - 1.0;
    }

    std::mt19937 random_;
    double walk_ = 0.0;
};

enum class SegmentStart { kTimeStamp, kGap };

// A stretch of uninterrupted samples; its first record carries the start time.
struct Segment {
    int hour, minute, second;
    int durationSeconds;
    SegmentStart start;
};

struct Recording {
    const char* fileName;
    const char* deviceId;
    int year, month, day;
    std::uint32_t seed;
    std::vector<Segment> segments;
};

int secondsOfDay(const Segment& s) {
    return s.hour * 3600 + s.minute * 60 + s.second;
}

NvdBuilder build(const Recording& recording) {
    const Segment& first = recording.segments.front();
    const Segment& last = recording.segments.back();
    const int end = (secondsOfDay(last) + last.durationSeconds) % 86400;

    NvdBuilder file;
    file.start(recording.year, recording.month, recording.day, first.hour, first.minute,
               first.second)
        .end(end / 3600, end / 60 % 60, end % 60)
        .deviceId(recording.deviceId);

    SignalModel model(recording.seed);
    const int startOfDay = secondsOfDay(first);
    for (const Segment& segment : recording.segments) {
        const int offset = (secondsOfDay(segment) - startOfDay + 86400) % 86400;
        for (int half = 0; half < 2 * segment.durationSeconds; ++half) {
            const Values v = model.at(offset + half / 2.0);
            if (half > 0) {
                file.continuation(v.rso2Fraction, v.oxhb, v.dxhb);
            } else if (segment.start == SegmentStart::kGap) {
                file.gap(segment.hour, segment.minute, segment.second, v.rso2Fraction, v.oxhb,
                         v.dxhb);
            } else {
                file.timeStamp(segment.hour, segment.minute, segment.second, v.rso2Fraction, v.oxhb,
                               v.dxhb);
            }
        }
    }
    return file;
}

const std::vector<Recording> kRecordings = {
    {"short-3min.NVD",
     "7205318640021",
     2024,
     5,
     14,
     11,
     {{8, 30, 0, 180, SegmentStart::kTimeStamp}}},
    {"two-hours-pause-restart.NVD",
     "7205318640038",
     2024,
     5,
     14,
     22,
     {{9, 0, 0, 45 * 60, SegmentStart::kTimeStamp},
      {9, 55, 0, 35 * 60, SegmentStart::kGap},
      {10, 40, 0, 20 * 60, SegmentStart::kTimeStamp}}},
    {"over-midnight.NVD",
     "7205318640045",
     2024,
     5,
     14,
     33,
     {{23, 20, 0, 45 * 60, SegmentStart::kTimeStamp},
      {0, 10, 0, 15 * 60, SegmentStart::kGap},
      {0, 30, 0, 10 * 60, SegmentStart::kTimeStamp}}},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: nuvisca-make-samples FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    try {
        for (const Recording& recording : kRecordings) {
            const NvdBuilder file = build(recording);
            file.writeTo(folder / recording.fileName);
            std::printf("%s: %zu records\n", recording.fileName, (file.bytes().size() - 32) / 16);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "nuvisca-make-samples: %s\n", error.what());
        return 1;
    }
    return 0;
}
