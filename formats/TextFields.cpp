#include "formats/TextFields.h"

#include <charconv>
#include <system_error>

#include "formats/FixedDecimal.h"

namespace nuvisca {

void appendInteger(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void appendFixed(std::string& out, double value, int decimals) {
    char buffer[400];  // the largest double has 309 integer digits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc{}) {
        out.append(buffer, result.ptr);
    }
}

void appendFixed(std::string& out, float value, int decimals) {
    char buffer[kFixedBufferSize];
    out.append(buffer, formatFixed(buffer, value, decimals));
}

void appendQuoted(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

}  // namespace nuvisca
