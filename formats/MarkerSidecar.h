#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "store/Baseline.h"
#include "store/Markers.h"
#include "store/Recording.h"

namespace nuvisca {

// What a recording keeps beside it: the markers and the review's baseline.
struct KeptAnnotations {
    Markers markers;
    std::optional<Baseline> baseline;
    friend bool operator==(const KeptAnnotations&, const KeptAnnotations&) = default;
};

// The sidecar's text, tab-separated in the column layout of research events files:
//   onset  duration  trial_type  clock  value
// onset and duration in seconds on the recording's continuous timeline (the one the EDF+
// export uses), duration "n/a" for a moment; trial_type the label; clock the slot's time as
// the time axis shows it ("24:03:00" past midnight); value "n/a" on marker rows. The baseline,
// when there is one, is the first row: trial_type "baseline/first-minutes", "baseline/range"
// or "baseline/typed", value its rSO2 percent, onset and duration its slots (onset 0 and
// duration "n/a" when typed). Lines end in LF; the same input gives the same bytes.
std::string encodeSidecar(const Recording& recording, const KeptAnnotations& kept);

enum class SidecarProblem {
    kNone,
    kNotASidecar,  // nothing read: not text, no header with onset, duration and trial_type
    kTooLarge,     // nothing read: over kSidecarByteLimit
    kBadRows,      // some rows left out: unreadable numbers, onsets outside the recording, ...
    kTooManyRows,  // rows after the first kMarkerLimit markers left out
    kUnreadable,   // the file exists but could not be read (see `error`)
};

inline constexpr std::size_t kSidecarByteLimit = 4u << 20;

struct SidecarRead {
    KeptAnnotations kept;  // what was sound
    SidecarProblem problem = SidecarProblem::kNone;
    std::size_t skippedRows = 0;
    std::size_t firstBadLine = 0;  // 1-based line of the first row left out, 0 if none
    std::error_code error;
    std::filesystem::path source;  // the file loadSidecar read; empty when there was none
};

// Reads the rows that are sound: each onset is placed at the recording's slot whose place on
// the continuous timeline it names (the first slot at or after it), labels are cleaned as
// cleanMarkerLabel does, and rows outside the recording are left out; a duration running past
// its end is cut there. Columns are found by name, in any order; CR LF and a byte-order mark
// are read. A row is the baseline when its trial_type names one and its value is a number (a
// marker may bear such a label); a measured baseline counts the recording's values.
SidecarRead decodeSidecar(std::string_view text, const Recording& recording);

// NAME.events.tsv beside NAME.EXT.
std::filesystem::path sidecarBeside(const std::filesystem::path& recordingPath);
// DEVICEID_YYMMDDhhmmss.events.tsv in the folder ("unknown" without a device ID).
std::filesystem::path sidecarInDataFolder(const std::filesystem::path& dataFolder,
                                          const Recording& recording);

// Where a recording's sidecar lives: beside it when its folder can be written, else in the
// application's data folder.
struct SidecarPlace {
    std::filesystem::path path;
    bool inDataFolder = false;
};
SidecarPlace sidecarPlace(const std::filesystem::path& recordingPath,
                          const std::filesystem::path& dataFolder, const Recording& recording);

// Reads the sidecar at the place; a missing file reads as nothing kept, without a problem.
// In the data folder, a missing file falls back to the one beside the recording.
SidecarRead loadSidecar(const SidecarPlace& place, const std::filesystem::path& recordingPath,
                        const Recording& recording);

// Writes atomically: on failure the previous sidecar stays whole. Writing nothing kept
// removes the sidecar.
std::error_code saveSidecar(const std::filesystem::path& path, const Recording& recording,
                            const KeptAnnotations& kept);

}  // namespace nuvisca
