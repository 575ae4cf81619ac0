#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/KeptInput.h"
#include "cli/OffscreenApplication.h"
#include "cli/RecordingInput.h"
#include "formats/AtomicFile.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "print/PageOutput.h"
#include "print/PrintPage.h"
#include "store/Channels.h"
#include "store/MovingAverage.h"
#include "store/Recording.h"

namespace nuvisca::cli {
namespace {

constexpr std::string_view kRenderUsage =
    "usage: nuvisca render IN OUT.png|OUT.jpg|OUT.bmp [--scale F] [options]\n"
    "       nuvisca render IN OUT.svg [options]\n"
    "       nuvisca render IN OUT.pdf|OUT.png --page [--paper NAME] [options]\n"
    "\n"
    "Draws the graph exactly as the viewer's graph view shows it at that size and state, in\n"
    "the format OUT's suffix names (.png, .jpg or .jpeg, .bmp), or as vector graphics (.svg).\n"
    "With --page, writes the print page as the print button prints it: one landscape sheet,\n"
    "the page fitted to the printable width under a band with the input's file name and the\n"
    "device's ID; a PDF, or a PNG of the sheet at 150 dpi.\n"
    "\n"
    "Options:\n"
    "  --size WxH        view size in points (default 1000x600)\n"
    "  --scale F         device pixels per point, 1 to 4 (default 1): F times the pixels\n"
    "                    each way, the same picture\n"
    "  --zoom 0..4       zoom box index: 1/2x, 1x, 2x, 4x, 8x (default 1)\n"
    "  --average N       moving-average box showing N, 1..30 (default 1, off)\n"
    "  --start SLOT|TIME first visible slot, or the first at or after the clock time\n"
    "                    HH:MM[:SS] as the time axis counts it (24:00 and later: the next day)\n"
    "  --end SLOT|TIME   end of the visible range, a slot or a clock time as --start\n"
    "  --hide LIST       comma list of oxhb,dxhb,tohb,rso2 to hide (toHb and rSO2 are shown)\n"
    "  --paper NAME      paper of --page: A4 (default), A3, Letter, B5 (JIS), ISOB5, ...\n"
    "  --no-markers      leaves out the markers and baseline the viewer keeps beside IN\n"
    "                    (NAME.events.tsv), which are otherwise drawn as the viewer draws them\n";

constexpr int kMaxSide = 16384;
constexpr double kMaxScale = 4.0;

struct RenderOptions {
    std::string input;
    std::string output;
    int width = 1000;
    int height = 600;
    double scale = 1.0;
    const char* imageFormat = "PNG";  // unused with a PDF page
    int zoomIndex = 1;
    int average = 1;
    RangeBounds range;
    ChannelFlags hidden{};
    bool page = false;
    bool noMarkers = false;
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
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = false;
        for (std::size_t k = 0; k < kChannelCount; ++k) {
            if (name == kChannels[k].key) {
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

// The image format of the output's suffix, or null when the suffix names none that fits.
const char* imageFormatOf(const std::string& output, bool page) {
    const std::string suffix = lowerCaseSuffix(output);
    if (suffix == ".png" || (page && suffix == ".pdf")) {
        return "PNG";
    }
    if (!page && suffix == ".svg") {
        return "SVG";
    }
    if (!page && (suffix == ".jpg" || suffix == ".jpeg")) {
        return "JPEG";
    }
    return !page && suffix == ".bmp" ? "BMP" : nullptr;
}

// The options, or the exit status when they end the command (help shown or a usage error).
std::variant<RenderOptions, int> parseArguments(std::span<const std::string_view> args) {
    CommandLine line("render", kRenderUsage, {"IN", "OUT.png"});
    for (const char* name : {"size", "scale", "zoom", "average", "start", "end", "hide", "paper"}) {
        line.addOption(name);
    }
    line.addOption("page", false);
    line.addOption("no-markers", false);
    if (const std::optional<int> status = line.parse(args)) {
        return *status;
    }
    RenderOptions options;
    options.input = line.operand(0);
    options.output = line.operand(1);
    options.page = line.isSet("page");
    options.noMarkers = line.isSet("no-markers");
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
        line.readRangeBounds(SlotLimits{0, kSampleCapacity}, options.range) &&
        line.readValues("hide", "a comma list of oxhb,dxhb,tohb,rso2",
                        [&](std::string_view list) { return parseHidden(list, options); }) &&
        line.readValues("paper", "a paper name such as A4, A3, Letter or B5", paper);
    if (!valid || !line.readDecimal("scale", 1.0, kMaxScale, options.scale)) {
        return kExitUsage;
    }
    if (options.page && (line.isSet("scale"))) {
        return usageError("render", "--scale applies to the graph image, not to --page");
    }
    if (!options.page && line.isSet("paper")) {
        return usageError("render", "--paper needs --page");
    }
    if (options.width * options.scale > kMaxSide || options.height * options.scale > kMaxSide) {
        return usageError("render", "--size times --scale exceeds " + std::to_string(kMaxSide) +
                                        " pixels a side");
    }
    const char* format = imageFormatOf(options.output, options.page);
    if (format == nullptr) {
        return usageError("render",
                          "OUT must end in .png, .jpg, .jpeg, .bmp or .svg (with --page "
                          ".pdf or .png), not '" +
                              options.output + "'");
    }
    if (std::string_view(format) == "SVG" && line.isSet("scale")) {
        return usageError("render", "--scale applies to pixel images, not to .svg");
    }
    options.imageFormat = format;
    return options;
}

// The view model as the viewer has it after start-up, window set-up and loading the file
// into a graph view of the given size; the exit status of a failure.
std::optional<int> loadAsViewer(const RenderOptions& options, ViewModel& model) {
    const std::shared_ptr<const Recording> recording = loadRecording(options.input);
    if (!recording) {
        return kExitFailure;
    }
    model.setZoomIndex(options.zoomIndex);
    model.setAverageWindow(options.average - 1);
    GraphViewState& view = model.editView();
    view.viewWidth = static_cast<float>(options.width);
    view.viewHeight = static_cast<float>(options.height);
    model.setRecording(recording);
    if (!options.noMarkers) {
        KeptAnnotations kept = loadKeptAnnotations(options.input, *recording);
        model.restoreKept(std::move(kept.markers), kept.baseline);
    }
    for (std::size_t k = 0; k < options.hidden.size(); ++k) {
        if (options.hidden[k]) {
            view.traceShown[k] = false;
        }
    }
    const std::optional<SlotRange> range =
        slotsOf("render", options.range, {view.viewStart, view.viewEnd}, *recording, options.input);
    if (!range) {
        return kExitUsage;
    }
    view.viewStart = static_cast<std::int32_t>(range->start);
    view.viewEnd = static_cast<std::int32_t>(range->end);
    model.commitView();
    return std::nullopt;
}

// Qt names files by QString, which cannot hold every byte string a path can be: the output is
// made in memory (or a temporary file) and written to the path's own bytes.
std::optional<QByteArray> imageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        return std::nullopt;
    }
    return bytes;
}

// Vector paths and text, drawn as the image is; a point is a CSS pixel.
std::optional<QByteArray> svgBytes(const ViewModel& model, QSize size, bool drawnBefore) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(QString::fromStdString(model.fileName()));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return std::nullopt;
    }
    paintGraph(painter, size, model, model.view(), drawnBefore);
    if (!painter.end()) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> printedPageBytes(const std::string& output, const QPageSize& paper,
                                           PrintPage& page) {
    const QString suffix = QString::fromLatin1(lowerCaseSuffix(output));
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/nuvisca-page-XXXXXX") + suffix);
    if (!file.open()) {
        return std::nullopt;
    }
    file.close();
    QFile written(file.fileName());
    if (!writePrintedPage(file.fileName(), paper, page) || !written.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return written.readAll();
}

}  // namespace

int runRender(std::span<const std::string_view> args) {
    const std::variant<RenderOptions, int> parsed = parseArguments(args);
    const RenderOptions* options = std::get_if<RenderOptions>(&parsed);
    if (options == nullptr) {
        return std::get<int>(parsed);
    }
    ViewModel model;
    if (const std::optional<int> failure = loadAsViewer(*options, model)) {
        return *failure;
    }
    const OffscreenApplication app;
    const QSize size(options->width, options->height);
    settleView(model.editView(), model.zoomIndex(),
               onScreenBounds(size));  // As a view that has drawn this recording before.
    const bool drawnBefore = model.recording().sampleCount > 0;
    std::optional<QByteArray> bytes;
    model.setFileName(std::filesystem::path(options->input).filename().string());
    if (options->page) {
        PrintPage page(model);
        bytes = printedPageBytes(options->output, options->paper, page);
    } else if (std::string_view(options->imageFormat) == "SVG") {
        bytes = svgBytes(model, size, drawnBefore);
    } else {
        const QImage image =
            renderGraphImage(model, model.view(), size, drawnBefore, options->scale);
        bytes = imageBytes(image, options->imageFormat);
    }
    std::error_code why;
    if (!bytes ||
        !writeFileAtomically(
            std::filesystem::path(options->output),
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), &why)) {
        const std::string reason = bytes ? why.message() : "the image could not be encoded";
        std::fprintf(stderr, "nuvisca render: cannot write %s (%s)\n", options->output.c_str(),
                     reason.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace nuvisca::cli
