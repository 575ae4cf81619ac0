#pragma once

#include <edflib.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "formats/EdfExport.h"

namespace nuvisca::test {

using Annotations = std::vector<std::tuple<std::string, long long, long long>>;

// A file as edflib's own reader sees it; annotation times in half-seconds.
struct ReadBack {
    edf_hdr_struct header{};
    std::array<std::vector<int>, kEdfSignalCount> digital;
    std::array<std::vector<double>, kEdfSignalCount> physical;
    Annotations annotations;

    explicit ReadBack(const std::filesystem::path& file) {
        if (edfopen_file_readonly(file.c_str(), &header, EDFLIB_READ_ALL_ANNOTATIONS) != 0) {
            ADD_FAILURE() << "edflib cannot open " << file;
            return;
        }
        for (int s = 0; s < std::min(header.edfsignals, 4); ++s) {
            const int n = static_cast<int>(header.signalparam[s].smp_in_file);
            const auto k = static_cast<std::size_t>(s);
            digital[k].resize(static_cast<std::size_t>(n));
            physical[k].resize(static_cast<std::size_t>(n));
            edfread_digital_samples(header.handle, s, n, digital[k].data());
            edfseek(header.handle, s, 0, EDFSEEK_SET);
            edfread_physical_samples(header.handle, s, n, physical[k].data());
        }
        for (int i = 0; i < header.annotations_in_file; ++i) {
            edf_annotation_struct a{};
            edf_get_annotation(header.handle, i, &a);
            annotations.emplace_back(a.annotation, a.onset / 5000000, a.duration_l / 5000000);
        }
        edfclose_file(header.handle);
    }
};

}  // namespace nuvisca::test
