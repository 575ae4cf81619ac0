#include "formats/EdfExport.h"

#include <edflib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace nuvisca {
namespace {

constexpr std::int64_t kAnnotationUnitsPerStep = 5000;  // edflib's unit is 100 us
constexpr int kFixedHeaderBytes = 256;

// Reserves a fresh name beside target, with the usual permissions (umask).
bool reserveBeside(const std::filesystem::path& target, std::filesystem::path& reserved) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (int attempt = 0; attempt < 64; ++attempt) {
        reserved = folder / (".nuvisca-" + std::to_string(generator() % 1'000'000'000ull) + ".tmp");
        const int fd = ::open(reserved.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// edflib truncates the digits it prints: a nudge of a tenth of the last digit away from zero
// makes it print the text itself.
double forEdflib(const std::string& text) {
    const std::size_t point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    const double value = std::strtod(text.c_str(), nullptr);
    const double nudge = 0.1 * std::pow(10.0, -decimals);
    return text.front() == '-' ? value - nudge : value + nudge;
}

bool describeSignals(int handle, const EdfPlan& plan, const MeasurementStore& store,
                     ExportSeries series, EdfFlavour flavour) {
    constexpr const char* kLabels[kEdfSignalCount] = {"rSO2", "oxHb", "dxHb", "toHb"};
    const EdfDigitalRange digital = digitalRangeOf(flavour);
    const std::string prefilter = series == ExportSeries::Averaged
                                      ? "moving average " + std::to_string(store.averageWindow + 1)
                                      : std::string();
    bool ok = true;
    for (int s = 0; s < static_cast<int>(kEdfSignalCount); ++s) {
        const EdfPhysicalRange& range = plan.ranges[static_cast<std::size_t>(s)];
        ok = ok && edf_set_samplefrequency(handle, s, kEdfSamplesPerRecord) == 0 &&
             edf_set_digital_minimum(handle, s, digital.minimum) == 0 &&
             edf_set_digital_maximum(handle, s, digital.maximum) == 0 &&
             edf_set_physical_minimum(handle, s, forEdflib(range.minimumText)) == 0 &&
             edf_set_physical_maximum(handle, s, forEdflib(range.maximumText)) == 0 &&
             edf_set_label(handle, s, kLabels[s]) == 0 &&
             edf_set_physical_dimension(handle, s, s == 0 ? "%" : "Index") == 0 &&
             edf_set_prefilter(handle, s, prefilter.c_str()) == 0;
    }
    return ok;
}

bool writeWithEdflib(const std::filesystem::path& file, const EdfPlan& plan,
                     const MeasurementStore& store, ExportSeries series, EdfFlavour flavour) {
    const int handle = edfopen_file_writeonly(
        file.c_str(),
        flavour == EdfFlavour::Edf ? EDFLIB_FILETYPE_EDFPLUS : EDFLIB_FILETYPE_BDFPLUS,
        static_cast<int>(kEdfSignalCount));
    if (handle < 0) {
        return false;
    }
    // edflib stores as many annotations per record as there are annotation signals.
    const auto annotations = static_cast<std::int64_t>(plan.annotations.size());
    const auto annotationSignals = static_cast<int>(
        std::clamp<std::int64_t>((annotations + plan.recordCount - 1) / plan.recordCount, 1, 64));
    const std::string equipment(store.deviceId.data(),
                                ::strnlen(store.deviceId.data(), store.deviceId.size()));
    bool ok = describeSignals(handle, plan, store, series, flavour) &&
              edf_set_startdatetime(handle, plan.year, plan.month, plan.day, plan.hour, plan.minute,
                                    plan.second) == 0 &&
              edf_set_equipment(handle, equipment.c_str()) == 0 &&
              edf_set_number_of_annotation_signals(handle, annotationSignals) == 0;
    constexpr std::size_t kRecordSamples = kEdfSignalCount * kEdfSamplesPerRecord;
    // edflib takes the buffer without const; it only reads it.
    auto* samples = const_cast<std::int32_t*>(plan.samples.data());
    for (std::int64_t r = 0; ok && r < plan.recordCount; ++r) {
        ok = edf_blockwrite_digital_samples(
                 handle, samples + static_cast<std::size_t>(r) * kRecordSamples) == 0;
    }
    for (const EdfAnnotation& a : plan.annotations) {
        ok = ok && edfwrite_annotation_utf8(
                       handle, a.onsetSteps * kAnnotationUnitsPerStep,
                       a.durationSteps < 0 ? -1 : a.durationSteps * kAnnotationUnitsPerStep,
                       a.text.c_str()) == 0;
    }
    return edfclose_file(handle) == 0 && ok;
}

double headerNumber(const char* field, std::size_t width) {
    const std::string text(field, width);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? std::nan("") : value;
}

// edflib reports success after failed writes and formats the physical range itself: the
// file must be as long as its header says and hold the range the samples were computed for.
bool isWhole(int fd, const EdfPlan& plan, EdfFlavour flavour) {
    char fixed[kFixedHeaderBytes];
    if (::pread(fd, fixed, sizeof fixed, 0) != kFixedHeaderBytes) {
        return false;
    }
    const double headerBytes = headerNumber(fixed + 184, 8);
    const double signals = headerNumber(fixed + 252, 4);
    if (headerNumber(fixed + 236, 8) != static_cast<double>(plan.recordCount) ||
        !(signals > static_cast<double>(kEdfSignalCount) && signals <= EDFLIB_MAXSIGNALS) ||
        headerBytes != kFixedHeaderBytes * (signals + 1)) {
        return false;
    }
    const auto n = static_cast<std::size_t>(signals);
    std::string header(n * kFixedHeaderBytes, '\0');
    if (::pread(fd, header.data(), header.size(), kFixedHeaderBytes) !=
        static_cast<ssize_t>(header.size())) {
        return false;
    }
    for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
        if (headerNumber(header.data() + n * 104 + s * 8, 8) != plan.ranges[s].minimum ||
            headerNumber(header.data() + n * 112 + s * 8, 8) != plan.ranges[s].maximum) {
            return false;
        }
    }
    double recordSamples = 0.0;
    for (std::size_t s = 0; s < n; ++s) {
        recordSamples += headerNumber(header.data() + n * 216 + s * 8, 8);
    }
    struct stat status {};
    const double sampleBytes = flavour == EdfFlavour::Edf ? 2.0 : 3.0;
    return ::fstat(fd, &status) == 0 &&
           static_cast<double>(status.st_size) ==
               headerBytes + static_cast<double>(plan.recordCount) * recordSamples * sampleBytes;
}

bool checkAndSync(const std::filesystem::path& file, const EdfPlan& plan, EdfFlavour flavour) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = isWhole(fd, plan, flavour) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

EdfResult saveEdfExport(const std::filesystem::path& path, const MeasurementStore& store,
                        ExportSeries series, EdfFlavour flavour) {
    EdfPlan plan;
    if (EdfResult planned = planEdfExport(store, series, flavour, plan); !planned.ok) {
        return planned;
    }
    std::filesystem::path temporary;
    if (!path.has_filename() || !reserveBeside(path, temporary)) {
        return {false, "cannot create a file beside " + path.string()};
    }
    std::error_code error;
    if (writeWithEdflib(temporary, plan, store, series, flavour) &&
        checkAndSync(temporary, plan, flavour)) {
        std::filesystem::rename(temporary, path, error);
        if (!error) {
            return {true, {}};
        }
    }
    std::filesystem::remove(temporary, error);
    return {false, "cannot write " + path.string()};
}

}  // namespace nuvisca
