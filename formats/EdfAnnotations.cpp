#include "formats/EdfAnnotations.h"

#include <algorithm>

namespace nuvisca {
namespace {

constexpr char kAnnotationEnd = '\x14';
constexpr char kDurationMark = '\x15';
// Room for a record's time, a restart and a marker with the longest label, in one record.
constexpr std::size_t kSmallBlockBytes = 256;

std::string secondsText(std::int64_t steps) {
    return std::to_string(steps / kEdfSamplesPerRecord) +
           (steps % kEdfSamplesPerRecord != 0 ? ".5" : "");
}

std::string recordTime(std::size_t record) {
    return '+' + std::to_string(record) + kAnnotationEnd + kAnnotationEnd + '\0';
}

std::string annotationText(const EdfAnnotation& a) {
    std::string text = '+' + secondsText(a.onsetSteps);
    if (a.durationSteps >= 0) {
        text += kDurationMark + secondsText(a.durationSteps);
    }
    return text + kAnnotationEnd + a.text + kAnnotationEnd + '\0';
}

std::size_t recordOf(const EdfAnnotation& a) {
    return static_cast<std::size_t>(a.onsetSteps / kEdfSamplesPerRecord);
}

}  // namespace

std::vector<std::string> annotationBlocks(const EdfPlan& plan) {
    const auto records = static_cast<std::size_t>(plan.recordCount);
    std::vector<std::string> blocks(records);
    for (std::size_t r = 0; r < records; ++r) {
        blocks[r] = recordTime(r);
    }
    if (records == 0) {
        return blocks;
    }
    std::vector<std::string> texts;
    texts.reserve(plan.annotations.size());
    std::size_t longest = 0;
    for (const EdfAnnotation& a : plan.annotations) {
        texts.push_back(annotationText(a));
        longest = std::max(longest, texts.back().size());
    }
    std::vector<std::size_t> own(records, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        own[recordOf(plan.annotations[i])] += texts[i].size();
    }
    bool small = true;
    for (std::size_t r = 0; r < records && small; ++r) {
        small = blocks[r].size() + own[r] <= kSmallBlockBytes;
    }
    if (small) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            blocks[recordOf(plan.annotations[i])] += texts[i];
        }
        return blocks;
    }

    // Each record takes perRecord of the longest annotation at least; an annotation starts no
    // later than leaves room for those after it, and records fill in timeline order.
    const std::size_t count = texts.size();
    const std::size_t perRecord = std::max((kSmallBlockBytes - blocks.back().size()) / longest,
                                           (count + records - 1) / records);
    const std::size_t room = perRecord * longest;
    std::size_t record = 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t after = count - i;
        const std::size_t latest = records - (after + perRecord - 1) / perRecord;
        const std::size_t wanted = std::min(recordOf(plan.annotations[i]), latest);
        if (wanted > record) {
            record = wanted;
            used = 0;
        } else if (used + texts[i].size() > room) {
            ++record;
            used = 0;
        }
        blocks[record] += texts[i];
        used += texts[i].size();
    }
    return blocks;
}

}  // namespace nuvisca
