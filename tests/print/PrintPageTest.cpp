#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "print/PagePlacement.h"
#include "print/PrintPageDrawing.h"

namespace nuvisca::test {
namespace {

// How the page looks beside the view is pinned by the image tests; here what they cannot see:
// rSO2 above 0, the name only when it is text, and the device beside it or above a long one.
TEST(PrintPage, DrawsRso2AboveZeroAndTheNameAndTheDeviceInBlack18) {
    // At 10.8 a character the device's 16 end at 990 from 817.2: a name ending 18 before
    // that (73 characters) leaves it beside, a longer one puts it a row up.
    const std::string longest(69, 'a');
    // Slots, the bytes of the name, and the band's texts: nothing for no UTF-8 or no data.
    // clang-format off
    const std::tuple<std::int32_t, std::string, std::vector<std::string>> rows[] = {
        {12, "朝の記録.csv", {"朝の記録.csv@10,600", "ID 0123456789012@817.2,600"}},
        {12, "", {"ID 0123456789012@817.2,600"}},
        {12, "bad\xff.NVD", {"ID 0123456789012@817.2,600"}},
        {12, "\xe8\xa8", {"ID 0123456789012@817.2,600"}},
        {12, longest + ".NVD", {longest + ".NVD@10,600", "ID 0123456789012@817.2,600"}},
        {12, longest + "a.NVD", {longest + "a.NVD@10,600", "ID 0123456789012@817.2,636"}},
        {0, "朝の記録.csv", {"朝の記録.csv@10,600"}}};
    // clang-format on
    for (const auto& [count, bytes, band] : rows) {
        GraphFixture f(count);
        f.drawnBefore = true;  // the view has drawn the recording
        f.store->measured[kRso2][5] = 0.005f;
        const std::string_view id = "0123456789012";
        std::copy(id.begin(), id.end(), f.store->deviceId.begin());
        f.model.setFileName(bytes);
        RecordingPainter painter;
        drawPrintPage(painter, f.model, f.drawnBefore);
        if (count > 0) {
            EXPECT_EQ(painter.strokesOf(traceColour(kRso2), 2.0).at(0)->runs.size(), 1u)
                << "one run through the slot of 0.005";
        }
        std::vector<std::string> shown;
        for (const RecordedText& text : painter.texts) {
            if (text.at.y >= 600.0) {
                std::ostringstream at;
                at << text.text << "@" << text.at.x << "," << text.at.y;
                shown.push_back(at.str());
                EXPECT_EQ(std::pair(text.attributes.fontSize, text.attributes.foreground),
                          std::pair(18.0, kBlack));
            }
        }
        EXPECT_EQ(shown, band) << bytes;
    }
}

TEST(PagePlacement, FitsTheWidthFromTheTopOrTheHeightWhenThenTooTall) {
    EXPECT_EQ(placePage({1400, 896}, 700, 500), (RectF{0, 52, 700, 448}));
    // Too tall once fitted: still one page, scaled to the height and centred across.
    EXPECT_EQ(placePage({1000, 696}, 785, 522), (RectF{17.5, 0, 750, 522}));
    EXPECT_EQ(placePage({0, 96}, 700, 500), (RectF{0, 500, 0, 0})) << "not yet drawn";
}

}  // namespace
}  // namespace nuvisca::test
