#include "bench/PlainCsvExport.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace nuvisca::bench {
namespace {

using ULong = unsigned long long;

void writeHeader(std::FILE* file, const Recording& store, const AveragedSeries* averaged) {
    std::fprintf(file, "RM27,ID %.*s,測定日時,%d年,%02d月%02d日,%02d時%02d分%02d\n",
                 static_cast<int>(::strnlen(store.deviceId.data(), store.deviceId.size())),
                 store.deviceId.data(), store.startYear + 2000, store.startMonth, store.startDay,
                 store.startHour, store.startMinute, store.startSecond);
    if (averaged != nullptr) {
        std::fprintf(file, "移動平均,%d,", averaged->box());
    } else {
        std::fprintf(file, ",,");
    }
    std::fprintf(file, "終了時刻,,,%02d時%02d分%02d\n", store.endHour, store.endMinute,
                 store.endSecond);
    std::fprintf(file, "測定時刻,経過時間,rSO2[%%],oxHb[Index],dxHb[Index],toHb[Index]\n");
}

void writeCounter(std::FILE* file, ULong halfSeconds, bool wrapHours) {
    const ULong seconds = halfSeconds / 2;
    const ULong hours = seconds / 3600;
    std::fprintf(file, "%02llu:%02llu:%02llu,", wrapHours ? hours % 24 : hours, seconds % 3600 / 60,
                 seconds % 60);
}

void writeSamples(std::FILE* file, const Recording& store, const AveragedSeries* averaged) {
    const auto& series = averaged != nullptr ? averaged->values : store.measured;
    const SampleArray& rso2 = series[kRso2];
    const SampleArray& oxhb = series[kOxhb];
    const SampleArray& dxhb = series[kDxhb];
    const SampleArray& tohb = series[kTohb];
    const ULong first = store.sampleTime[0] != continuationTag
                            ? store.sampleTime[0]
                            : static_cast<ULong>(startTimeOfDay(store));
    ULong clock = 2 * first;
    ULong elapsed = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(store.sampleCount); ++i) {
        const ULong tag = store.sampleTime[i];
        const bool restart = i > 0 && tag != continuationTag;
        if (restart) {
            clock = 2 * tag;
            const ULong back = (first - tag) % 86400;
            elapsed = 2 * (tag >= first ? tag - first : back == 0 ? 0 : 86400 - back);
        } else if (i > 0) {
            ++clock;
            ++elapsed;
        }
        writeCounter(file, clock, true);
        writeCounter(file, elapsed, false);
        if (oxhb[i] >= 0.0f) {
            std::fprintf(file, "%.2f,", static_cast<double>(rso2[i]));
            std::fprintf(file, "%.5f,", static_cast<double>(oxhb[i]));
            std::fprintf(file, "%.5f,", static_cast<double>(dxhb[i]));
            std::fprintf(file, "%.5f", static_cast<double>(tohb[i]));
        } else {
            std::fprintf(file, "ERROR,ERROR,ERROR,ERROR");
        }
        std::fprintf(file, restart ? ",restart\n" : "\n");
    }
}

}  // namespace

bool writeCsvExportFprintf(const std::filesystem::path& path, const Recording& store,
                           const AveragedSeries* averaged, bool sync) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    writeHeader(file, store, averaged);
    writeSamples(file, store, averaged);
    bool ok = std::ferror(file) == 0;
    if (sync) {
        ok = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0 && ok;
    }
    return std::fclose(file) == 0 && ok;
}

}  // namespace nuvisca::bench
