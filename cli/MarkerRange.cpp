#include "cli/MarkerRange.h"

#include <algorithm>

namespace nuvisca::cli {
namespace {

constexpr std::size_t kLabelsNamed = 20;

std::string quoted(std::string_view text) {
    return std::string(1, '\'').append(text).append(1, '\'');
}

// "its markers: 'a', 'b' and 3 more", each label once, in slot order.
std::string labelsOf(const Markers& markers) {
    std::vector<std::string_view> labels;
    for (const Marker& marker : markers) {
        if (std::find(labels.begin(), labels.end(), marker.label) == labels.end()) {
            labels.push_back(marker.label);
        }
    }
    if (labels.empty()) {
        return "it has no markers";
    }
    std::string text = "its markers: ";
    for (std::size_t i = 0; i < std::min(labels.size(), kLabelsNamed); ++i) {
        text += (i == 0 ? "" : ", ") + quoted(labels[i]);
    }
    if (labels.size() > kLabelsNamed) {
        text.append(" and ").append(std::to_string(labels.size() - kLabelsNamed)).append(" more");
    }
    return text;
}

}  // namespace

bool takeBetween(std::string_view command, std::vector<std::string_view>& args,
                 std::optional<MarkerLabels>& between) {
    const auto end = std::find(args.begin(), args.end(), std::string_view("--"));
    const auto at = std::find(args.begin(), end, std::string_view("--between"));
    if (at == end) {
        return true;
    }
    if (end - at < 3) {
        usageError(command, "--between takes two marker labels");
        return false;
    }
    between = MarkerLabels{std::string(at[1]), std::string(at[2])};
    const auto rest = args.erase(at, at + 3);
    const auto restEnd = std::find(rest, args.end(), std::string_view("--"));
    if (std::find(rest, restEnd, std::string_view("--between")) != restEnd) {
        usageError(command, "--between comes once");
        return false;
    }
    return true;
}

std::optional<SlotRange> slotsBetween(std::string_view command, const std::string& file,
                                      const Markers& markers, const MarkerLabels& between) {
    const std::optional<std::size_t> from = findMarker(markers, between.from);
    const std::optional<std::size_t> to = findMarker(markers, between.to);
    std::string problem;
    if (!from || !to) {
        problem.append(file).append(" has no marker ");
        problem.append(quoted(!from ? between.from : between.to));
    } else if (markers[*to].slot <= markers[*from].slot) {
        problem.append("--between: marker ").append(quoted(between.to));
        problem.append(" (slot ").append(std::to_string(markers[*to].slot));
        problem.append(") is not after ").append(quoted(between.from));
        problem.append(" (slot ").append(std::to_string(markers[*from].slot));
        problem.append(") in ").append(file);
    } else {
        return SlotRange{markers[*from].slot, markers[*to].slot};
    }
    usageError(command, problem.append("; ").append(labelsOf(markers)));
    return std::nullopt;
}

}  // namespace nuvisca::cli
