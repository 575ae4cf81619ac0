#include <gtest/gtest.h>

#include <string>

#include "store/Markers.h"

namespace nuvisca::test {
namespace {

TEST(Markers, LabelsKeepNoControlCharactersAndAreCutAtAWholeCharacter) {
    EXPECT_EQ(cleanMarkerLabel("  大動脈\t遮断\r\n"), "大動脈 遮断");
    EXPECT_EQ(cleanMarkerLabel("a\xC2\x85"
                               "b\xE2\x80\xA8"
                               "c\x7F"),
              "a b c");
    EXPECT_EQ(cleanMarkerLabel("\xFF"
                               "x\xE3\x81"),
              "\uFFFDx\uFFFD\uFFFD");
    EXPECT_EQ(cleanMarkerLabel(" \t\n"), "");
    const std::string kana(100, 'a');
    const std::string cut = cleanMarkerLabel(kana + "遮断遮断遮断遮断");
    EXPECT_EQ(cut, kana + "遮断遮断遮断") << "120 bytes hold 6 of the 8 characters";
    EXPECT_EQ(cleanMarkerLabel(std::string(500, 'z')).size(), kMarkerLabelBytes);
}

TEST(Markers, PhasesRunBetweenConsecutiveMarkersInsideTheRecording) {
    const Markers markers{{-5, 0, "before"}, {0, 0, "start"}, {100, 0, "a"},
                          {100, 0, "b"},     {250, 30, "c"},  {400, 0, "after"}};
    EXPECT_EQ(
        phasesOf(markers, 400),
        (std::vector<Phase>{{0, 100, "start", "a"}, {100, 250, "b", "c"}, {250, 400, "c", ""}}));
    EXPECT_EQ(phasesOf({}, 10), (std::vector<Phase>{{0, 10, "", ""}}));
    EXPECT_TRUE(phasesOf(markers, 0).empty());
    EXPECT_EQ(findMarker(markers, "b"), 3u);
    EXPECT_EQ(findMarker(markers, "B"), std::nullopt);
}

TEST(Markers, HistoryKeepsItsDepthAndDropsRedoOnANewEdit) {
    MarkerHistory history;
    for (int i = 0; i < static_cast<int>(MarkerHistory::kDepth) + 3; ++i) {
        history.recordEdit({{i, 0, "x"}});
    }
    Markers current;
    std::size_t undone = 0;
    while (auto before = history.undo(current)) {
        current = *before;
        ++undone;
    }
    EXPECT_EQ(undone, MarkerHistory::kDepth);
    EXPECT_EQ(current, (Markers{{3, 0, "x"}})) << "the oldest edits went first";
    EXPECT_TRUE(history.canRedo());
    history.recordEdit(current);
    EXPECT_FALSE(history.canRedo());
}

}  // namespace
}  // namespace nuvisca::test
