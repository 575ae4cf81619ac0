// The sidecar reader on any bytes against one recording: it reads what is sound, and what it
// read, written and read again, comes back the same, in the same bytes.
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "SidecarRecording.h"
#include "formats/MarkerSidecar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nuvisca;
    static const auto recording = fuzz::sidecarRecording();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const SidecarRead read = decodeSidecar(text, *recording);
    const bool refused =
        read.problem == SidecarProblem::kNotASidecar || read.problem == SidecarProblem::kTooLarge;
    fuzz::require(!refused || read.kept == KeptAnnotations{}, "a refused text keeps nothing");
    fuzz::require((read.skippedRows == 0) == (read.firstBadLine == 0),
                  "a row left out names its line");
    fuzz::require(read.kept.markers.size() <= kMarkerLimit, "no more markers than the limit");
    for (const Marker& marker : read.kept.markers) {
        fuzz::require(marker.slot >= 0 && marker.durationSlots >= 0 &&
                          marker.endSlot() <= recording->sampleCount && !marker.label.empty(),
                      "markers lie inside the recording and have a label");
    }

    const std::string written = encodeSidecar(*recording, read.kept);
    const SidecarRead again = decodeSidecar(written, *recording);
    fuzz::require(again.problem == SidecarProblem::kNone,
                  "what was written reads without a problem");
    fuzz::require(again.kept == read.kept, "what was read comes back the same");
    fuzz::require(encodeSidecar(*recording, again.kept) == written,
                  "and is written in the same bytes");
    return 0;
}
