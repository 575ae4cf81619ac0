#pragma once

#include <cstdint>
#include <string>

#include "store/Recording.h"

namespace nuvisca {

// A date and time of day as a recording or a date key holds them: the year in two digits,
// 2000-based, and nothing checked, since a damaged file may hold anything.
struct RecordingDate {
    std::int64_t year = 0;
    std::int64_t month = 0;
    std::int64_t day = 0;
    std::int64_t hour = 0;
    std::int64_t minute = 0;
    std::int64_t second = 0;
};

RecordingDate recordingStart(const Recording& store);
RecordingDate recordingEnd(const Recording& store);  // the time of day only
RecordingDate dateFromKey(std::int64_t key);         // YYMMDDhhmmss

enum class DateStyle {
    CsvHeader,  // 2014年,05月12日,10時20分30
    Heading,    // 2014年05月12日 10時20分30秒
    Iso,        // 2014-05-12 10:20:30
    FileList,   // 2014年05月12日 10:20:30
};

// Each field like printf "%02lld" (the ISO year "%04lld"). The year is 2000 + year, except in
// the heading, which shows a year above 99 as it is, and in the file list, which writes "20"
// before the two-digit year.
std::string formatDate(const RecordingDate& date, DateStyle style);

// The time-of-day part of formatDate alone.
std::string formatTimeOfDay(const RecordingDate& date, DateStyle style);

}  // namespace nuvisca
