#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace nuvisca::csv {

// At most this many fields of a line are examined.
inline constexpr int kFieldLimit = 21;

// The line that starts at pos, its terminator (LF, CR LF or CR) included; advances pos.
inline std::string_view nextLine(std::string_view text, std::size_t& pos) {
    const char* begin = text.data() + pos;
    const std::size_t left = text.size() - pos;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
    const std::size_t searchCr = lf != nullptr ? static_cast<std::size_t>(lf - begin) : left;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', searchCr));
    std::size_t length = left;
    if (cr != nullptr) {
        const std::size_t crAt = static_cast<std::size_t>(cr - begin);
        length = crAt + 1 < left && begin[crAt + 1] == '\n' ? crAt + 2 : crAt + 1;
    } else if (lf != nullptr) {
        length = searchCr + 1;
    }
    pos += length;
    return {begin, length};
}

// Whether the line holds nothing but its terminator.
inline bool isBlankLine(std::string_view line) {
    return line == "\n" || line == "\r" || line == "\r\n";
}

// Cuts a line at commas from the left and calls visit(column, field, isLast) for each
// non-empty field, up to the field limit. The last field keeps the line terminator.
// Returns false when the line has more fields than the limit: the rest is dropped.
template <typename Visit>
bool forEachField(std::string_view line, Visit&& visit) {
    std::size_t start = 0;
    for (int column = 0; column < kFieldLimit; ++column) {
        const auto* comma =
            static_cast<const char*>(std::memchr(line.data() + start, ',', line.size() - start));
        if (comma == nullptr) {
            if (start < line.size()) {
                visit(column, line.substr(start), true);
            }
            return true;
        }
        const std::size_t end = static_cast<std::size_t>(comma - line.data());
        if (end > start) {
            visit(column, line.substr(start, end - start), false);
        }
        start = end + 1;
    }
    return false;
}

}  // namespace nuvisca::csv
