#include <QImage>
#include <QString>
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OffscreenApplication.h"
#include "cli/RecordingInput.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "print/PageOutput.h"
#include "print/PrintPage.h"
#include "store/MeasurementStore.h"
#include "store/MovingAverage.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kRenderUsage =
    "usage: nuvisca render IN OUT.png [options]\n"
    "       nuvisca render IN OUT.pdf|OUT.png --page [--paper NAME] [options]\n"
    "\n"
    "Draws the graph exactly as the viewer's graph view shows it at that size and state.\n"
    "With --page, writes the print page as the print button prints it: one landscape sheet,\n"
    "the page fitted to the printable width under a band with the input's file name; a PDF,\n"
    "or a PNG of the sheet at 150 dpi.\n"
    "\n"
    "Options:\n"
    "  --size WxH        view size in points (default 1000x600)\n"
    "  --zoom 0..4       zoom box index: 1/2x, 1x, 2x, 4x, 8x (default 1)\n"
    "  --average N       moving-average box showing N, 1..30 (default 1, off)\n"
    "  --start SLOT      first visible slot\n"
    "  --end SLOT        end of the visible range\n"
    "  --hide LIST       comma list of oxhb,dxhb,tohb,rso2 to hide (toHb and rSO2 are shown)\n"
    "  --paper NAME      paper of --page: A4 (default), A3, Letter, B5 (JIS), ISOB5, ...\n";

constexpr int kMaxSide = 16384;

struct RenderOptions {
    std::string input;
    std::string output;
    int width = 1000;
    int height = 600;
    int zoomIndex = 1;
    int average = 1;
    std::optional<int> start;
    std::optional<int> end;
    std::array<bool, 4> hidden{};
    bool page = false;
    QPageSize paper{QPageSize::A4};
};

bool parseSize(std::string_view text, RenderOptions& options) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto width = parseInt(text.substr(0, x), 1, kMaxSide);
    const auto height = parseInt(text.substr(x + 1), 1, kMaxSide);
    if (!width || !height) {
        return false;
    }
    options.width = *width;
    options.height = *height;
    return true;
}

bool parseHidden(std::string_view list, RenderOptions& options) {
    constexpr std::array<std::string_view, 4> kNames{"oxhb", "dxhb", "tohb", "rso2"};
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = false;
        for (std::size_t k = 0; k < kNames.size(); ++k) {
            if (name == kNames[k]) {
                options.hidden[k] = known = true;
            }
        }
        if (!known) {
            return false;
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return true;
}

// The options, or the exit status when they end the command (help shown or a usage error).
std::variant<RenderOptions, int> parseArguments(std::span<const std::string_view> args) {
    CommandLine line("render", kRenderUsage, {"IN", "OUT.png"});
    for (const char* name : {"size", "zoom", "average", "start", "end", "hide", "paper"}) {
        line.addOption(name);
    }
    line.addOption("page", false);
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    RenderOptions options;
    options.input = line.operand(0);
    options.output = line.operand(1);
    options.page = line.isSet("page");
    const auto paper = [&](std::string_view name) {
        const std::optional<QPageSize> size = paperSizeNamed(name);
        options.paper = size.value_or(options.paper);
        return size.has_value();
    };
    const bool valid =
        line.readValues("size", "WxH, each from 1 to " + std::to_string(kMaxSide),
                        [&](std::string_view text) { return parseSize(text, options); }) &&
        line.readInt("zoom", 0, 4, options.zoomIndex) &&
        line.readInt("average", 1, kLargestAverage, options.average) &&
        line.readInt("start", 0, kSampleCapacity, options.start) &&
        line.readInt("end", 0, kSampleCapacity, options.end) &&
        line.readValues("hide", "a comma list of oxhb,dxhb,tohb,rso2",
                        [&](std::string_view list) { return parseHidden(list, options); }) &&
        line.readValues("paper", "a paper name such as A4, A3, Letter or B5", paper);
    if (!valid) {
        return kExitUsage;
    }
    return options;
}

// The view state as the viewer has it after start-up, window set-up and loading the file
// into a graph view of the given size.
bool loadAsViewer(const RenderOptions& options, MeasurementStore& store, GraphViewState& view) {
    resetMeasurementStore(store, 0.0f, 0.0f);
    resetGraphViewState(view);
    store.zoomIndex = options.zoomIndex;
    store.averageWindow = options.average - 1;
    view.viewWidth = static_cast<float>(options.width);
    view.viewHeight = static_cast<float>(options.height);
    if (!loadRecording(options.input, store, view)) {
        return false;
    }
    if (store.averageWindow > 0 && store.sampleCount > 0) {
        computeMovingAverage(store);
    }
    for (std::size_t k = 0; k < options.hidden.size(); ++k) {
        if (options.hidden[k]) {
            view.traceShown[k] = false;
        }
    }
    view.viewStart = options.start.value_or(view.viewStart);
    view.viewEnd = options.end.value_or(view.viewEnd);
    return true;
}

}  // namespace

int runRender(std::span<const std::string_view> args) {
    const std::variant<RenderOptions, int> parsed = parseArguments(args);
    const RenderOptions* options = std::get_if<RenderOptions>(&parsed);
    if (options == nullptr) {
        return std::get<int>(parsed);
    }
    const auto store = makeMeasurementStore();
    GraphViewState view;
    if (!loadAsViewer(*options, *store, view)) {
        return kExitFailure;
    }
    const OffscreenApplication app;
    const QSize size(options->width, options->height);
    settleView(view, store->zoomIndex, onScreenBounds(size));
    TextAttributes attributes = attributesAfterDraw(*store);
    const QString output = QString::fromStdString(options->output);
    bool written = false;
    if (options->page) {
        const std::string name = std::filesystem::path(options->input).filename().string();
        setCurrentFileName(*store, name.data(), name.size());
        PrintPage page(*store, view);
        written = writePrintedPage(output, options->paper, page);
    } else {
        written = renderGraphImage(*store, view, size, attributes).save(output, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "nuvisca render: cannot write %s\n", options->output.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
