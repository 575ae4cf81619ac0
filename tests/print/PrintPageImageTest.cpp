#include <gtest/gtest.h>

#include <QSize>
#include <algorithm>
#include <memory>
#include <optional>

#include "formats/NvdReader.h"
#include "graph/GraphImage.h"
#include "print/PrintImages.h"
#include "print/printView.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

using test::inkIn;
using test::isWhite;

const QSize kViewSize(1000, 600);

struct HeldDrag {
    float fromX;
    float toX;
    std::int32_t shift;
};

// What the user has done to the graph view before pressing print.
struct ViewCase {
    const char* name;
    std::int32_t zoomIndex = 1;
    std::int32_t averageWindow = 0;
    std::int32_t viewStart = 0;
    std::int32_t viewEnd = 0;  // 0: as the load left it
    float verticalOffset = 0.0f;
    std::array<std::int32_t, 4> traceShown{0, 0, 1, 1};
    std::optional<HeldDrag> drag{};
};

void PrintTo(const ViewCase& c, std::ostream* out) {
    *out << c.name;
}

class PrintPageImageTest : public ::testing::TestWithParam<ViewCase> {
protected:
    void SetUp() override {
        resetMeasurementStore(*store, 0.0f, 0.0f);
        resetGraphViewState(view);
        view.viewWidth = static_cast<float>(kViewSize.width());
        view.viewHeight = static_cast<float>(kViewSize.height());
        ASSERT_TRUE(readNVDFile(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD", *store, view));
        const auto begin = store->rso2Data.begin();
        ASSERT_TRUE(std::none_of(begin, begin + store->sampleCount, [](float v) {
            return v > 0.0f && v <= 0.01f;
        })) << "the two rSO2 rules would differ on this recording";
    }

    void apply(const ViewCase& c) {
        store->zoomIndex = c.zoomIndex;
        store->averageWindow = c.averageWindow;
        Create_Av_data(*store);
        view.viewStart = c.viewStart;
        view.viewEnd = c.viewEnd > 0 ? c.viewEnd : view.viewEnd;
        view.verticalOffset = c.verticalOffset;
        view.traceShown = c.traceShown;
        if (c.drag) {
            view.mouseDownInPlot = 1;
            view.shiftDrag = c.drag->shift;
            view.anchorX = c.drag->fromX;
            view.dragX = c.drag->toX;
            view.anchorY = view.dragY = 300.0f;
        }
    }

    // The view as the user sees it: it has drawn before, so its attributes are not fresh.
    QImage screen() {
        renderGraphImage(*store, view, kViewSize, screenAttributes);
        return renderGraphImage(*store, view, kViewSize, screenAttributes);
    }

    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
    TextAttributes screenAttributes;
};

TEST_P(PrintPageImageTest, LowerPartIsTheViewsPictureWithoutItsBorder) {
    apply(GetParam());
    const QImage graph = screen();
    const GraphViewState before = view;
    printView page(*store, view);
    const QImage printed = test::pageImage(page);
    ASSERT_EQ(printed.size(), QSize(1000, 696));
    EXPECT_EQ(view.viewStart, before.viewStart);
    EXPECT_EQ(view.viewEnd, before.viewEnd);
    EXPECT_EQ(view.verticalOffset, before.verticalOffset);

    const int band = 96;
    int differing = 0;
    for (int y = 1; y < graph.height() - 1; ++y) {
        for (int x = 1; x < graph.width() - 1; ++x) {
            differing += graph.pixel(x, y) != printed.pixel(x, y + band) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // The masked ring is the view's border, which the page leaves white.
    EXPECT_FALSE(isWhite(graph.pixel(0, 300)));
    EXPECT_FALSE(isWhite(graph.pixel(500, graph.height() - 1)));
    const QRect ring[] = {{0, band, 1, 600}, {999, band, 1, 600}, {0, 695, 1000, 1}};
    for (const QRect& edge : ring) {
        EXPECT_EQ(inkIn(printed, edge).count, 0);
    }
    // Something of the recording is on it.
    EXPECT_GT(inkIn(printed, {11, band + 72, 978, 510}).count, 5000);
}

INSTANTIATE_TEST_SUITE_P(Views, PrintPageImageTest,
                         ::testing::Values(ViewCase{"AsLoaded"},
                                           ViewCase{.name = "LaterPartZoomedOffsetAndOxhbForToHb",
                                                    .zoomIndex = 3,
                                                    .viewStart = 5000,
                                                    .viewEnd = 5900,
                                                    .verticalOffset = 300.0f,
                                                    .traceShown = {1, 0, 0, 1}},
                                           ViewCase{.name = "WholeRecordingSmoothedAtHalfZoom",
                                                    .zoomIndex = 0,
                                                    .averageWindow = 9,
                                                    .viewEnd = 12000,
                                                    .traceShown = {1, 1, 1, 1}},
                                           ViewCase{.name = "WhileADragIsHeld",
                                                    .viewStart = 3000,
                                                    .drag = HeldDrag{600, 400, 0}},
                                           ViewCase{.name = "WhileAShiftDragIsHeld",
                                                    .drag = HeldDrag{600, 200, 1}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PrintPageImageTest, HeaderBandHoldsTheFileNameOnly) {
    screen();
    const QRect band(0, 0, 1000, 96);
    printView unnamed(*store, view);
    EXPECT_EQ(inkIn(test::pageImage(unnamed), band).count, 0);

    const QByteArray name("two-hours-pause-restart.NVD");
    setCurrentFileName(*store, name.constData(), static_cast<std::size_t>(name.size()));
    printView named(*store, view);
    const test::InkBox ink = inkIn(test::pageImage(named), band);
    EXPECT_GT(ink.count, 200);
    // From x = 10 rightwards, on the foot of the band, one line of 18-point text.
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.left, 14);
    EXPECT_GT(ink.right, 150);
    EXPECT_LT(ink.right, 400);
    EXPECT_GE(ink.top, 96 - 24);
    EXPECT_EQ(ink.bottom, 95);
}

}  // namespace
}  // namespace nuvisca
