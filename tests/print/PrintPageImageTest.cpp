#include <gtest/gtest.h>

#include <QSize>
#include <algorithm>
#include <memory>

#include "formats/NvdReader.h"
#include "graph/GraphImage.h"
#include "print/PrintImages.h"
#include "print/printView.h"
#include "store/MovingAverage.h"

namespace nuvisca::test {
namespace {

const QSize kViewSize(1000, 600);
const QRect kBand(0, 0, 1000, 96);

// What the user has done to the graph view before pressing print.
struct ViewCase {
    const char* name;
    std::int32_t zoomIndex;
    std::int32_t averageWindow;
    std::int32_t viewStart;
    std::int32_t viewEnd;  // 0: as the load left it
    float verticalOffset;
    std::array<std::int32_t, 4> traceShown;
};

void PrintTo(const ViewCase& c, std::ostream* out) {
    *out << c.name;
}

// clang-format off
const ViewCase kViews[] = {
    {"AsLoaded", 1, 0, 0, 0, 0, {0, 0, 1, 1}},
    {"LaterPartZoomedOffsetAndOxhbForToHb", 3, 0, 5000, 5900, 300, {1, 0, 0, 1}},
    {"WholeRecordingSmoothedAtHalfZoom", 0, 9, 0, 12000, 0, {1, 1, 1, 1}}};
// clang-format on

class PrintPageImageTest : public ::testing::TestWithParam<ViewCase> {
protected:
    void SetUp() override {
        resetMeasurementStore(*store, 0.0f, 0.0f);
        resetGraphViewState(view);
        view.viewWidth = 1000.0f;
        view.viewHeight = 600.0f;
        ASSERT_TRUE(readNVDFile(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD", *store, view));
        const auto begin = store->rso2Data.begin();
        ASSERT_TRUE(std::none_of(begin, begin + store->sampleCount, [](float v) {
            return v > 0.0f && v <= 0.01f;
        })) << "the two rSO2 rules would differ on this recording";
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
    const ViewCase& c = GetParam();
    store->zoomIndex = c.zoomIndex;
    store->averageWindow = c.averageWindow;
    Create_Av_data(*store);
    view.viewStart = c.viewStart;
    view.viewEnd = c.viewEnd > 0 ? c.viewEnd : view.viewEnd;
    view.verticalOffset = c.verticalOffset;
    view.traceShown = c.traceShown;

    const QImage graph = screen();
    printView page(*store, view);
    const QImage printed = pageImage(page);
    ASSERT_EQ(printed.size(), QSize(1000, 696));
    int differing = 0;
    for (int y = 1; y < 599; ++y) {
        for (int x = 1; x < 999; ++x) {
            differing += graph.pixel(x, y) != printed.pixel(x, y + 96) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    // The masked ring is the view's border, which the page leaves white; without a file
    // name the band above stays empty.
    EXPECT_NE(graph.pixel(0, 300), qRgb(255, 255, 255));
    EXPECT_NE(graph.pixel(500, 599), qRgb(255, 255, 255));
    for (const QRect& blank :
         {QRect(0, 96, 1, 600), QRect(999, 96, 1, 600), QRect(0, 695, 1000, 1), kBand}) {
        EXPECT_EQ(inkIn(printed, blank).count, 0);
    }
    EXPECT_GT(inkIn(printed, {11, 168, 978, 510}).count, 5000) << "the recording is on it";
}

INSTANTIATE_TEST_SUITE_P(Views, PrintPageImageTest, ::testing::ValuesIn(kViews),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PrintPageImageTest, FileNameStandsOnTheFootOfTheBandFromTheLeft) {
    screen();
    const QByteArray name("two-hours-pause-restart.NVD");
    setCurrentFileName(*store, name.constData(), static_cast<std::size_t>(name.size()));
    printView page(*store, view);
    // One line of 18-point text from x = 10, its descenders down to the band's last row and
    // not into the blank top of the graph below it.
    const InkBox ink = inkIn(pageImage(page), {0, 0, 1000, 104});
    EXPECT_GT(ink.count, 200);
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.left, 14);
    EXPECT_GT(ink.right, 150);
    EXPECT_LT(ink.right, 400);
    EXPECT_GE(ink.top, 96 - 24);
    EXPECT_EQ(ink.bottom, 95);
}

}  // namespace
}  // namespace nuvisca::test
