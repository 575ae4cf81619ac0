#include "formats/TextNumbers.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <optional>
#include <system_error>

#include "formats/Utf8Text.h"

namespace nuvisca {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80u && byte != ' ' && byte != '\t') {
            break;  // the usual case: no character to decode
        }
        std::size_t next = pos;
        if (!isBlank(nextCharacter(text, next))) {
            break;
        }
        pos = next;
    }
    return pos;
}

// Skips an optional sign; true when it was a minus.
bool skipSign(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

std::size_t skipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// The decimal number at the start of text (no sign): its length, 0 when there is none.
std::size_t decimalLength(std::string_view text) {
    std::size_t pos = skipDigits(text, 0);
    std::size_t digits = pos;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionEnd = skipDigits(text, pos + 1);
        digits += fractionEnd - pos - 1;
        pos = fractionEnd;
    }
    if (digits == 0) {
        return 0;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        skipSign(text, exponent);
        const std::size_t exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent) {
            pos = exponentEnd;
        }
    }
    return pos;
}

// Whether a decimal number that float cannot hold is too large (rather than too small):
// the power of ten of its first significant digit decides.
bool magnitudeAtLeastOne(std::string_view number) {
    std::int64_t power = 0;
    std::size_t pos = 0;
    bool significant = false;
    for (; pos < number.size() && isDigit(number[pos]); ++pos) {
        significant = significant || number[pos] != '0';
        power += significant ? 1 : 0;
    }
    if (!significant && pos < number.size() && number[pos] == '.') {
        for (++pos; pos < number.size() && number[pos] == '0'; ++pos) {
            --power;
        }
    }
    while (pos < number.size() && number[pos] != 'e' && number[pos] != 'E') {
        ++pos;
    }
    if (pos < number.size()) {
        ++pos;
        const bool negative = skipSign(number, pos);
        std::int64_t exponent = 0;
        for (; pos < number.size() && exponent < 1'000'000'000; ++pos) {
            exponent = exponent * 10 + (number[pos] - '0');
        }
        power += negative ? -exponent : exponent;
    }
    return power > 0;
}

}  // namespace

std::int32_t intValue(std::string_view text) {
    std::size_t pos = skipBlanks(text);
    const bool negative = skipSign(text, pos);
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > kLimit) {
            value = kLimit;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Exact for short plain decimals: digits and power of ten are both exact in float, so one
// division rounds correctly. Longer forms and exponents go to the general parser.
std::optional<float> shortDecimal(std::string_view number) {
    constexpr std::size_t kExactDigits = 7;  // below 2^24
    std::uint32_t digits = 0;
    std::size_t count = 0;
    std::size_t decimals = 0;
    bool point = false;
    for (const char c : number) {
        if (c == '.' && !point) {
            point = true;
        } else if (isDigit(c) && count < kExactDigits) {
            digits = digits * 10 + static_cast<std::uint32_t>(c - '0');
            ++count;
            decimals += point ? 1 : 0;
        } else {
            return std::nullopt;
        }
    }
    constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    return static_cast<float>(digits) / kPowers[decimals];
}

float floatValue(std::string_view text) {
    std::size_t pos = skipBlanks(text);
    const bool negative = skipSign(text, pos);
    const std::string_view rest = text.substr(pos);
    const std::string_view number = rest.substr(0, decimalLength(rest));
    if (number.empty()) {
        return 0.0f;
    }
    if (const std::optional<float> exact = shortDecimal(number)) {
        return negative ? -*exact : *exact;
    }
    float value = 0.0f;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = magnitudeAtLeastOne(number) ? std::numeric_limits<float>::infinity() : 0.0f;
    } else if (error != std::errc{} || end != number.data() + number.size()) {
        value = 0.0f;  // the scan above only passes forms the parser takes whole
    }
    return negative ? -value : value;
}

}  // namespace nuvisca
