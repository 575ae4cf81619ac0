#include "formats/CsvReader.h"

#include <array>
#include <string>
#include <string_view>

#include "formats/CsvFields.h"
#include "formats/CsvLayout.h"
#include "formats/TextNumbers.h"
#include "formats/Utf8Text.h"
#include "formats/WholeFile.h"
#include "store/Channels.h"

namespace nuvisca {
namespace {

constexpr std::int64_t kLastSecondOfDay = 86399;
constexpr std::size_t kClockLength = 8;  // hh:mm:ss

// Reads a CSV export whole; refused when it is too large, unreadable, not UTF-8 or not
// tagged "RM27".
CsvRefusal loadCsvText(const std::filesystem::path& path, std::string& text) {
    switch (readWholeFile(path, text, kCsvSizeLimit)) {
        case WholeFileRead::kTooLarge:
            return CsvRefusal::kTooLarge;
        case WholeFileRead::kUnreadable:
            return CsvRefusal::kNotAnExport;
        case WholeFileRead::kRead:
            break;
    }
    return isValidUtf8(text) && text.starts_with(csv::kFormatTag) ? CsvRefusal::kNone
                                                                  : CsvRefusal::kNotAnExport;
}

// Records why in the caller's refusal, when it asked; true when there is nothing to record.
bool accepted(CsvRefusal why, CsvRefusal* refusal) {
    if (refusal != nullptr) {
        *refusal = why;
    }
    return why == CsvRefusal::kNone;
}

std::int32_t intAt(std::string_view field, std::size_t from, std::size_t to) {
    return intValue(characterSlice(field, from, to));
}

struct Clock {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;

    std::int64_t seconds() const {
        return std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
    }
};

// "hh:mm:ss", "10時20分30": characters 0-1, 3-4 and 6-7.
Clock readClock(std::string_view field) {
    return {intAt(field, 0, 2), intAt(field, 3, 5), intAt(field, 6, 8)};
}

// What line 1 holds, filled field by field; absent fields leave zeros.
struct StartHeader {
    std::array<char, kDeviceIdLength + 1> deviceId{};
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    Clock start;

    StartHeader() {
        deviceId.fill('0');
        deviceId[kDeviceIdLength] = '\0';
    }

    std::int64_t dateKey() const {
        return std::int64_t{year} * 10'000'000'000 + std::int64_t{month} * 100'000'000 +
               std::int64_t{day} * 1'000'000 + std::int64_t{start.hour} * 10'000 +
               std::int64_t{start.minute} * 100 + start.second;
    }
};

void examineStartField(int column, std::string_view field, StartHeader& header) {
    switch (column) {
        case 1: {
            // "ID " and then the identifier; anything but a digit, or nothing, reads as 0.
            const std::string_view id = characterSlice(field, 3, 3 + kDeviceIdLength);
            std::size_t pos = 0;
            for (std::size_t k = 0; k < kDeviceIdLength && pos < id.size(); ++k) {
                const char32_t c = nextCharacter(id, pos);
                header.deviceId[k] = c >= U'0' && c <= U'9' ? static_cast<char>(c) : '0';
            }
            break;
        }
        case 3:
            header.year = intAt(field, 0, 4) % 100;
            break;
        case 4:
            header.month = intAt(field, 0, 2);
            header.day = intAt(field, 3, 5);
            break;
        case 5:
            header.start = readClock(field);
            break;
        default:
            break;
    }
}

// Returns whether line 1 was complete (not cut at the field limit).
bool readStartLine(std::string_view line, StartHeader& header) {
    return csv::forEachField(line, [&header](int column, std::string_view field, bool) {
        examineStartField(column, field, header);
    });
}

// The channels read from their columns; toHb is recomputed from the parts.
constexpr std::array kReadChannels{kRso2, kOxhb, kDxhb};

struct Columns {
    int time = -1;
    std::array<int, kChannelCount> channel{-1, -1, -1, -1};
};

Columns readHeadings(std::string_view line) {
    Columns columns;
    csv::forEachField(line, [&columns](int column, std::string_view field, bool) {
        if (field == csv::kHeadingTime) {
            columns.time = column;
        }
        for (const Channel channel : kReadChannels) {
            if (field == kChannels[channel].heading) {
                columns.channel[channel] = column;
            }
        }
    });
    return columns;
}

float channelValue(std::string_view field) {
    return field == csv::kError ? noDataValue : floatValue(field);
}

bool isRestartMark(std::string_view field, bool isLast) {
    // The last field carries the line terminator, so there the mark is a prefix.
    return field == csv::kRestart ||
           (isLast && field.size() > csv::kRestart.size() && field.starts_with(csv::kRestart));
}

// The data lines' working values, which carry over from one line to the next.
class SampleReader {
public:
    SampleReader(Recording& store, Columns columns, std::int64_t startSeconds)
        : store_(store), columns_(columns), startSeconds_(startSeconds) {}

    void readLine(std::string_view line) {
        if (csv::isBlankLine(line)) {
            return;
        }
        restart_ = false;
        clockUnreadable_ = false;
        const bool complete =
            csv::forEachField(line, [this](int column, std::string_view field, bool isLast) {
                examine(column, field, isLast);
            });
        if (complete && !clockUnreadable_) {
            storeSlot();
        }
    }

    bool full() const { return count_ >= kSampleCapacity; }
    std::int32_t count() const { return count_; }

private:
    void examine(int column, std::string_view field, bool isLast) {
        if (column == columns_.time) {
            if (characterCount(field) < kClockLength) {
                clockUnreadable_ = true;
            } else {
                clock_ = readClock(field);
            }
            return;
        }
        for (const Channel channel : kReadChannels) {
            if (column == columns_.channel[channel]) {
                values_[channel] = channelValue(field);
                return;
            }
        }
        if (column == csv::kRestartColumn) {
            restart_ = isRestartMark(field, isLast);
        }
    }

    std::uint64_t tagFor(std::int64_t seconds) const {
        const auto ownTime = static_cast<std::uint64_t>(seconds);
        if (count_ == 0) {
            return static_cast<std::uint64_t>(startSeconds_);
        }
        if (restart_) {
            return ownTime;
        }
        if (seconds < previousSeconds_) {
            // Only the step over midnight continues the count.
            return previousSeconds_ == kLastSecondOfDay && seconds == 0 ? continuationTag : ownTime;
        }
        return seconds - previousSeconds_ <= 1 ? continuationTag : ownTime;
    }

    void storeSlot() {
        if (full()) {
            return;
        }
        const std::int64_t seconds = clock_.seconds();
        const auto slot = static_cast<std::size_t>(count_);
        store_.sampleTime[slot] = tagFor(seconds);
        values_[kTohb] = values_[kOxhb] + values_[kDxhb];
        putSample(store_, slot, values_);
        previousSeconds_ = seconds;
        ++count_;
    }

    Recording& store_;
    Columns columns_;
    std::int64_t startSeconds_;
    Clock clock_;
    ChannelValues values_{noDataValue, noDataValue, noDataValue, noDataValue};
    bool restart_ = false;
    bool clockUnreadable_ = false;
    std::int64_t previousSeconds_ = 0;
    std::int32_t count_ = 0;
};

void storeStart(Recording& store, const StartHeader& header) {
    store.startYear = header.year;
    store.startMonth = header.month;
    store.startDay = header.day;
    store.startHour = header.start.hour;
    store.startMinute = header.start.minute;
    store.startSecond = header.start.second;
}

}  // namespace

std::int64_t getDateFromCSV(const std::filesystem::path& path, CsvRefusal* refusal) {
    std::string text;
    if (!accepted(loadCsvText(path, text), refusal)) {
        return 0;
    }
    std::size_t pos = 0;
    StartHeader header;
    readStartLine(csv::nextLine(text, pos), header);
    const std::int64_t key = header.dateKey();
    accepted(key > 0 ? CsvRefusal::kNone : CsvRefusal::kNotAnExport, refusal);
    return key;
}

bool readCSVFile(const std::filesystem::path& path, Recording& store, CsvRefusal* refusal) {
    std::string text;
    if (!accepted(loadCsvText(path, text), refusal)) {
        return false;
    }
    std::size_t pos = 0;
    StartHeader header;
    const bool startComplete = readStartLine(csv::nextLine(text, pos), header);
    store.deviceId = header.deviceId;
    if (startComplete) {
        storeStart(store, header);
    }

    Clock end;
    if (pos < text.size()) {
        csv::forEachField(csv::nextLine(text, pos),
                          [&end](int column, std::string_view field, bool) {
                              if (column == 5) {
                                  end = readClock(field);
                              }
                          });
    }
    store.endHour = end.hour;
    store.endMinute = end.minute;
    store.endSecond = end.second;

    const Columns columns = pos < text.size() ? readHeadings(csv::nextLine(text, pos)) : Columns{};
    SampleReader samples(store, columns, header.start.seconds());
    while (pos < text.size() && !samples.full()) {
        samples.readLine(csv::nextLine(text, pos));
    }
    bool cut = false;
    while (pos < text.size() && !cut) {
        cut = !csv::isBlankLine(csv::nextLine(text, pos));
    }

    store.sampleCount = samples.count();
    store.truncated = cut;
    store.spanSamples = computeSpanSamples(store);
    return true;
}

}  // namespace nuvisca
