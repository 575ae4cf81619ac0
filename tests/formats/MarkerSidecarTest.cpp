#include "formats/MarkerSidecar.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include "formats/CsvTestSupport.h"
#include "formats/RecordingFile.h"
#include "graph/SlotClock.h"
#include "support/HostileFiles.h"
#include "support/SmallTmpfs.h"

namespace nuvisca {
namespace {

using namespace test;

constexpr std::string_view kHeader = "onset\tduration\ttrial_type\tclock\tvalue\n";

std::shared_ptr<const Recording> sample(const char* name) {
    auto opened = openRecording(std::filesystem::path(NUVISCA_SAMPLES_DIR) / name);
    EXPECT_TRUE(opened.recording) << name;
    return opened.recording;
}

std::int32_t firstRestart(const Recording& recording) {
    for (std::int32_t i = 1; i < recording.sampleCount; ++i) {
        if (recording.sampleTime[static_cast<std::size_t>(i)] != continuationTag) {
            return i;
        }
    }
    return -1;
}

// 60 slots from 23:59:50 (step i), a restart at slot 40 at 00:01:40 of the next day (step 220).
std::unique_ptr<Recording> pastMidnight() {
    auto store = makeRecording(60);
    store->sampleTime[0] = 86390;
    store->sampleTime[40] = 100;
    return store;
}

// Writes and reads the same: the rows, their order and their bytes, with a baseline,
// moments, a restart crossed, a duration cut at the end and a clock past midnight.
TEST(MarkerSidecarTest, WritesTimelineSecondsAndClockAndReadsThemBack) {
    const auto store = pastMidnight();
    const KeptAnnotations kept{
        {{20, 0, "Start"}, {30, 20, "クランプ \"A\""}, {41, 60, "after restart"}, {59, 0, "last"}},
        Baseline{71.25, BaselineMethod::kRange, 0, 20, 20}};
    const std::string text = encodeSidecar(*store, kept);
    EXPECT_EQ(text, std::string(kHeader) +
                        "0.0\t10.0\tbaseline/range\t23:59:50\t71.25\n"
                        "10.0\tn/a\tStart\t24:00:00\tn/a\n"
                        "15.0\t100.0\tクランプ \"A\"\t24:00:05\tn/a\n"
                        "110.5\t9.5\tafter restart\t24:01:40\tn/a\n"
                        "119.5\tn/a\tlast\t24:01:49\tn/a\n");
    const SidecarRead read = decodeSidecar(text, *store);
    EXPECT_EQ(read.problem, SidecarProblem::kNone);
    KeptAnnotations cut = kept;
    cut.markers[2].durationSlots = 19;  // to the end of the recording
    EXPECT_EQ(read.kept, cut);
    EXPECT_EQ(encodeSidecar(*store, read.kept), text);

    // A typed baseline has no slots; nothing kept is the header alone.
    const KeptAnnotations typed{{}, Baseline{64.0 / 3.0, BaselineMethod::kTyped, 0, 0, 0}};
    const std::string typedText = encodeSidecar(*store, typed);
    EXPECT_EQ(typedText,
              std::string(kHeader) + "0.0\tn/a\tbaseline/typed\t23:59:50\t21.333333333333332\n");
    EXPECT_EQ(decodeSidecar(typedText, *store).kept, typed);
    EXPECT_EQ(encodeSidecar(*store, {}), kHeader);
}

// The samples' restarts, pauses and midnight: every marker and baseline reads back at its
// slot, and writing what was read gives the same bytes.
TEST(MarkerSidecarTest, RoundTripsOverTheSamples) {
    for (const char* name : {"two-hours-pause-restart.NVD", "over-midnight.NVD"}) {
        const auto recording = sample(name);
        ASSERT_TRUE(recording);
        const std::int32_t count = recording->sampleCount;
        const std::int32_t restart = firstRestart(*recording);
        ASSERT_GT(restart, 0) << name;
        Markers markers;
        for (const Marker& marker : {Marker{0, count, "whole"}, Marker{restart, 0, "restart"},
                                     Marker{restart - 10, 40, "across"},
                                     Marker{restart - 1, 1, "before"}, Marker{count - 1, 0, "end"},
                                     Marker{count / 3, 0, "same"}, Marker{count / 3, 7, "same"}}) {
            insertMarker(markers, marker);
        }
        if (const auto midnight = slotAtClock(*recording, 86400)) {
            insertMarker(markers, {*midnight, 5, "midnight"});
        }
        for (const auto& baseline : {firstMinutesBaseline(*recording, nullptr, 10),
                                     measureBaseline(*recording, nullptr, BaselineMethod::kRange,
                                                     restart - 100, restart + 100)}) {
            ASSERT_TRUE(baseline);
            const KeptAnnotations kept{markers, baseline};
            const std::string text = encodeSidecar(*recording, kept);
            const SidecarRead read = decodeSidecar(text, *recording);
            EXPECT_EQ(read.problem, SidecarProblem::kNone) << name;
            EXPECT_EQ(read.kept, kept) << name;
            EXPECT_EQ(encodeSidecar(*recording, read.kept), text) << name;
        }
    }
}

// Files written elsewhere: CR LF, a byte-order mark, columns in another order, more of them,
// blank lines, onsets between slots or in a pause, a baseline row among the markers.
TEST(MarkerSidecarTest, ReadsColumnsByNameAndOnsetsAtTheNextSlot) {
    const auto store = pastMidnight();
    const std::string text =
        "\xEF\xBB\xBFtrial_type\tsample\tduration\tonset\r\n"
        "a\tx\tn/a\t0\r\n"
        "\r\n"
        "b\tx\t1.0\t10.2\r\n"  // 20.4 steps: slot 21, to 22.4: slot 23
        "c\tx\t 5 \t 30\r\n"   // in the pause: the restart; its 5 s end in the pause
        "d\tx\t0\t119.5\r\n";
    const SidecarRead read = decodeSidecar(text, *store);
    EXPECT_EQ(read.problem, SidecarProblem::kNone);
    EXPECT_EQ(read.kept.markers, (Markers{{0, 0, "a"}, {21, 2, "b"}, {40, 0, "c"}, {59, 0, "d"}}));
    EXPECT_FALSE(read.kept.baseline);

    // Without a value column, a row named like a baseline is a marker; with a value, it is
    // the baseline, whose count is the recording's.
    const std::string withValue = std::string(kHeader) +
                                  "5.0\tn/a\tm\t-\tn/a\n"
                                  "0.0\t2.0\tbaseline/first-minutes\t-\t60.5\n"
                                  "0.0\t2.0\tbaseline/typed\t-\tn/a\n";
    const SidecarRead both = decodeSidecar(withValue, *store);
    EXPECT_EQ(both.kept.markers, (Markers{{0, 4, "baseline/typed"}, {10, 0, "m"}}));
    EXPECT_EQ(both.kept.baseline, (Baseline{60.5, BaselineMethod::kFirstMinutes, 0, 4, 4}));
}

// Rows that are not sound are left out, counted, and the first of them named; the others are
// kept. A duration past the end is cut there rather than refused.
TEST(MarkerSidecarTest, LeavesOutUnsoundRowsAndKeepsTheRest) {
    const auto store = pastMidnight();
    const std::string rows[] = {
        "1.0\tn/a\tkept\tx\tn/a",          // line 2
        "1.0\tn/a\tshort\tx",              // 3: a column missing
        "1.0\tn/a\tlong\tx\tn/a\textra",   // 4
        "one\tn/a\tword\tx\tn/a",          // 5
        "-1\tn/a\tbefore\tx\tn/a",         // 6
        "nan\tn/a\tnan\tx\tn/a",           // 7
        "inf\tn/a\tinf\tx\tn/a",           // 8
        "120.0\tn/a\tbeyond\tx\tn/a",      // 9: past the last slot's 119.5
        "1.0\t-2\tnegative\tx\tn/a",       // 10
        "1.0\t2s\tunit\tx\tn/a",           // 11
        "1.0\tn/a\t \x01 \tx\tn/a",        // 12: empty once cleaned
        "1e400\tn/a\thuge\tx\tn/a",        // 13
        "0\t2\tbaseline/range\tx\t-1",     // 14: below 0 %
        "0\tn/a\tbaseline/range\tx\t50",   // 15: a measured baseline needs slots
        "0\t2\tbaseline/range\tx\t50",     // 16: kept
        "0\tn/a\tbaseline/typed\tx\t40",   // 17: a second baseline
        "100\t1e300\tto the end\tx\tn/a",  // 18: in the pause, kept, cut
    };
    std::string text(kHeader);
    for (const std::string& row : rows) {
        text += row + '\n';
    }
    const SidecarRead read = decodeSidecar(text, *store);
    EXPECT_EQ(read.problem, SidecarProblem::kBadRows);
    EXPECT_EQ(read.skippedRows, 14u);
    EXPECT_EQ(read.firstBadLine, 3u);
    EXPECT_EQ(read.kept.markers, (Markers{{2, 0, "kept"}, {40, 20, "to the end"}}));
    EXPECT_EQ(read.kept.baseline, (Baseline{50.0, BaselineMethod::kRange, 0, 4, 4}));
}

// Texts that are no sidecar are refused whole; too many markers keep the first ones.
TEST(MarkerSidecarTest, RefusesWhatIsNoSidecarAndStopsAtTheMarkerLimit) {
    const auto store = pastMidnight();
    const std::string body = "1.0\tn/a\ta\tx\tn/a\n";
    std::string withNul = std::string(kHeader) + "1.0\tn/a\ta";
    withNul += '\0';
    withNul += "b\tx\tn/a\n";
    const std::pair<std::string, SidecarProblem> refused[] = {
        {"", SidecarProblem::kNotASidecar},
        {std::string("\n").append(kHeader).append(body), SidecarProblem::kNotASidecar},
        {std::string("onset\tduration\tlabel\n").append(body), SidecarProblem::kNotASidecar},
        {"onset,duration,trial_type\n1,n/a,a\n", SidecarProblem::kNotASidecar},
        {std::string(kHeader) + "1.0\tn/a\t\xff\tx\tn/a\n", SidecarProblem::kNotASidecar},
        {withNul, SidecarProblem::kNotASidecar},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), SidecarProblem::kNotASidecar},
        {std::string(kHeader) + std::string(kSidecarByteLimit, '\n'), SidecarProblem::kTooLarge},
    };
    for (const auto& [text, problem] : refused) {
        const SidecarRead read = decodeSidecar(text, *store);
        EXPECT_EQ(read.problem, problem) << text.substr(0, 40);
        EXPECT_EQ(read.kept, KeptAnnotations{});
    }

    // 10 000 rows of odd labels, all at the end of the recording first.
    std::string many(kHeader);
    for (int i = 0; i < 10000; ++i) {
        many.append(i < 5000 ? "119.5" : "0.0").append("\tn/a\t\"q\" ");
        many.append(std::to_string(i)).append(200, 'x').append("\tx\tn/a\n");
    }
    const SidecarRead read = decodeSidecar(many, *store);
    EXPECT_EQ(read.problem, SidecarProblem::kTooManyRows);
    EXPECT_EQ(read.skippedRows, 8000u);
    EXPECT_EQ(read.firstBadLine, 2002u);
    ASSERT_EQ(read.kept.markers.size(), kMarkerLimit);
    EXPECT_EQ(read.kept.markers.front().label,
              std::string("\"q\" 0").append(kMarkerLabelBytes - 5, 'x'));
    EXPECT_EQ(read.kept.markers.back().slot, 59);
}

// Where the sidecar lives, reading it back from there or beside the recording, replacing it
// whole or not at all, and removing it once nothing is kept.
TEST(MarkerSidecarFileTest, PlacesLoadsSavesAndRemoves) {
    const TempDir dir;
    auto store = pastMidnight();
    store->dateKey = 140512102030;
    EXPECT_EQ(sidecarBeside("/media/x/A12.NVD"), "/media/x/A12.events.tsv");
    EXPECT_EQ(sidecarBeside("rec.v2.csv"), "rec.v2.events.tsv");
    EXPECT_EQ(sidecarInDataFolder("/d", *store), "/d/0123456789012_140512102030.events.tsv");
    auto anonymous = pastMidnight();
    anonymous->deviceId.fill('\0');
    anonymous->dateKey = 1020304;
    EXPECT_EQ(sidecarInDataFolder("/d", *anonymous), "/d/unknown_000001020304.events.tsv");

    const auto recordingPath = dir.file("rec.NVD");
    const auto data = dir.file("data") / "markers";
    const SidecarPlace beside = sidecarPlace(recordingPath, data, *store);
    EXPECT_EQ(beside.path, dir.file("rec.events.tsv"));
    EXPECT_FALSE(beside.inDataFolder);
    const SidecarPlace away = sidecarPlace(dir.file("gone") / "rec.NVD", data, *store);
    EXPECT_EQ(away.path, sidecarInDataFolder(data, *store));
    EXPECT_TRUE(away.inDataFolder);

    const KeptAnnotations kept{{{3, 0, "a"}}, std::nullopt};
    const KeptAnnotations other{{{5, 2, "b"}}, std::nullopt};
    EXPECT_EQ(loadSidecar(beside, recordingPath, *store).kept, KeptAnnotations{});
    ASSERT_FALSE(saveSidecar(beside.path, *store, kept));
    const SidecarPlace inData{sidecarInDataFolder(data, *store), true};
    const SidecarRead fallback = loadSidecar(inData, recordingPath, *store);
    EXPECT_EQ(fallback.kept, kept);  // beside, as a fallback
    EXPECT_EQ(fallback.source, beside.path);
    ASSERT_FALSE(saveSidecar(inData.path, *store, other));  // makes the folder
    EXPECT_EQ(loadSidecar(inData, recordingPath, *store).source, inData.path);
    EXPECT_EQ(loadSidecar(inData, recordingPath, *store).kept, other);

    // A failed write leaves the sidecar as it was.
    EXPECT_TRUE(failsPastFileSize(40, [&] { return !saveSidecar(beside.path, *store, other); }));
    writeText(recordingPath, "recording");
    EXPECT_TRUE(saveSidecar(recordingPath / "x.events.tsv", *store, other));
    EXPECT_EQ(loadSidecar(beside, recordingPath, *store).kept, kept);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);

    ASSERT_FALSE(saveSidecar(beside.path, *store, {}));
    EXPECT_FALSE(std::filesystem::exists(beside.path));
    EXPECT_FALSE(saveSidecar(beside.path, *store, {}));  // nothing to remove

    // A folder where the file should be, and a file too large to be read.
    std::filesystem::create_directory(beside.path);
    const SidecarRead folder = loadSidecar(beside, recordingPath, *store);
    EXPECT_EQ(folder.problem, SidecarProblem::kUnreadable);
    EXPECT_TRUE(folder.error);
    std::filesystem::remove(beside.path);
    writeSparse(beside.path, kHeader, std::uintmax_t{40} * 1000 * 1000 * 1000);
    EXPECT_EQ(loadSidecar(beside, recordingPath, *store).problem, SidecarProblem::kTooLarge);
}

// A recording on a medium that cannot be written keeps its sidecar in the data folder.
TEST(MarkerSidecarFileTest, ReadOnlyFolderSendsTheSidecarToTheDataFolder) {
    const TempDir dir;
    const auto store = pastMidnight();
    const auto medium = dir.file("medium");
    const SmallTmpfs readOnly(medium, 4096);
    if (!readOnly.mounted()) {
        GTEST_SKIP() << "mounting needs privileges";
    }
    writeText(medium / "rec.events.tsv", std::string(kHeader) + "1.0\tn/a\tfrom medium\tx\tn/a\n");
    ASSERT_EQ(::mount(nullptr, medium.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const SidecarPlace place = sidecarPlace(medium / "rec.NVD", dir.file("data"), *store);
    EXPECT_TRUE(place.inDataFolder);
    EXPECT_EQ(loadSidecar(place, medium / "rec.NVD", *store).kept.markers,
              (Markers{{2, 0, "from medium"}}));
    EXPECT_FALSE(saveSidecar(place.path, *store, {{{1, 0, "kept"}}, std::nullopt}));
    EXPECT_EQ(loadSidecar(place, medium / "rec.NVD", *store).kept.markers,
              (Markers{{1, 0, "kept"}}));
}

}  // namespace
}  // namespace nuvisca
