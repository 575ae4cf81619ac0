#include "store/RecordingDate.h"

#include <array>
#include <charconv>
#include <string_view>

namespace nuvisca {
namespace {

// The texts before the year and after each field, year to second.
struct StyleTexts {
    std::string_view beforeYear;
    std::array<std::string_view, 6> after;
};

StyleTexts textsOf(DateStyle style) {
    switch (style) {
        case DateStyle::CsvHeader:
            return {"", {"年,", "月", "日,", "時", "分", ""}};
        case DateStyle::Heading:
            return {"", {"年", "月", "日 ", "時", "分", "秒"}};
        case DateStyle::Iso:
            return {"", {"-", "-", " ", ":", ":", ""}};
        case DateStyle::FileList:
            return {"20", {"年", "月", "日 ", ":", ":", ""}};
    }
    return {};
}

std::int64_t yearShown(std::int64_t year, DateStyle style) {
    switch (style) {
        case DateStyle::Heading:
            return year <= 99 ? year + 2000 : year;
        case DateStyle::FileList:
            return year;
        case DateStyle::CsvHeader:
        case DateStyle::Iso:
            break;
    }
    return year + 2000;
}

// printf "%0*lld": the sign counts toward the width.
void appendPadded(std::string& out, std::int64_t value, std::size_t width) {
    char digits[24];
    char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const auto length = static_cast<std::size_t>(end - digits);
    const bool negative = value < 0;
    if (negative) {
        out += '-';
    }
    if (length < width) {
        out.append(width - length, '0');
    }
    out.append(digits + (negative ? 1 : 0), end);
}

void appendTimeOfDay(std::string& out, const RecordingDate& date, const StyleTexts& texts) {
    const std::array<std::int64_t, 3> fields{date.hour, date.minute, date.second};
    for (std::size_t k = 0; k < fields.size(); ++k) {
        appendPadded(out, fields[k], 2);
        out += texts.after[3 + k];
    }
}

}  // namespace

RecordingDate recordingStart(const Recording& store) {
    return {store.startYear, store.startMonth,  store.startDay,
            store.startHour, store.startMinute, store.startSecond};
}

RecordingDate recordingEnd(const Recording& store) {
    return {0, 0, 0, store.endHour, store.endMinute, store.endSecond};
}

RecordingDate dateFromKey(std::int64_t key) {
    return {key / 10'000'000'000,
            (key % 10'000'000'000) / 100'000'000,
            (key % 100'000'000) / 1'000'000,
            (key % 1'000'000) / 10'000,
            (key % 10'000) / 100,
            key % 100};
}

std::string formatDate(const RecordingDate& date, DateStyle style) {
    const StyleTexts texts = textsOf(style);
    std::string out(texts.beforeYear);
    appendPadded(out, yearShown(date.year, style), style == DateStyle::Iso ? 4 : 2);
    out += texts.after[0];
    appendPadded(out, date.month, 2);
    out += texts.after[1];
    appendPadded(out, date.day, 2);
    out += texts.after[2];
    appendTimeOfDay(out, date, texts);
    return out;
}

std::string formatTimeOfDay(const RecordingDate& date, DateStyle style) {
    std::string out;
    appendTimeOfDay(out, date, textsOf(style));
    return out;
}

}  // namespace nuvisca
