#pragma once

#include <filesystem>
#include <memory>

#include "graph/GraphViewState.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca::bench {

// A folder of this run's own under the temporary directory, removed when the process ends.
const std::filesystem::path& scratchFolder();

// A device recording that fills all 76800 slots with the synthetic test signal: a time-stamped
// start at 08:00:00, a pause closed by a gap record (1199 break slots), a restart with a
// time-stamp record at slot 50000, and continuation records everywhere else.
void writeFullDeviceRecording(const std::filesystem::path& path);

// That recording, written once into the scratch folder.
const std::filesystem::path& fullDeviceRecording();

// The view model as the viewer has it after loading the full recording into a graph view of
// the given size. Stops the run when the load does not fill the recording.
struct LoadedRecording {
    ViewModel model;
    GraphViewState& view = model.editView();

    LoadedRecording(float viewWidth, float viewHeight);
    const Recording& store() const { return model.recording(); }
};

// Stops the whole run with a message: a benchmark whose input or baseline is wrong has no
// figure worth printing.
[[noreturn]] void fail(const char* what);

}  // namespace nuvisca::bench
