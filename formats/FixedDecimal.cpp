#include "formats/FixedDecimal.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace nuvisca {
namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,      10000,
                                          100000, 1000000, 10000000, 100000000, 1000000000};

// value = mantissa x 2^-shift exactly; false for values of 2^24 and more, infinities, NaNs.
bool splitBelowTwoTo24(float value, std::uint64_t& mantissa, int& shift) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const auto exponent = static_cast<int>((bits >> 23) & 0xFFu);
    const std::uint32_t fraction = bits & 0x7FFFFFu;
    if (exponent > 150) {
        return false;
    }
    mantissa = exponent == 0 ? fraction : (fraction | 0x800000u);
    shift = exponent == 0 ? 149 : 150 - exponent;
    return true;
}

// mantissa x 10^decimals / 2^shift rounded half to even, as printf rounds the exact value.
std::uint64_t scaledAndRounded(std::uint64_t mantissa, int shift, int decimals) {
    const std::uint64_t scaled = mantissa * kPowersOfTen[decimals];  // below 2^54
    if (shift == 0) {
        return scaled;
    }
    if (shift > 60) {
        return 0;  // scaled is below half of 2^shift
    }
    const std::uint64_t quotient = scaled >> shift;
    const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool up = remainder > half || (remainder == half && (quotient & 1u) != 0);
    return quotient + (up ? 1u : 0u);
}

}  // namespace

char* formatFixed(char* out, float value, int decimals) {
    std::uint64_t mantissa = 0;
    int shift = 0;
    if (!splitBelowTwoTo24(value, mantissa, shift)) {
        return std::to_chars(out, out + kFixedBufferSize, static_cast<double>(value),
                             std::chars_format::fixed, decimals)
            .ptr;
    }
    // Measured values are small: exact integer arithmetic is far faster than the general path.
    std::uint64_t digits = scaledAndRounded(mantissa, shift, decimals);
    char reversed[24];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0 || count <= decimals);
    if (std::signbit(value)) {
        *out++ = '-';
    }
    while (count > 0) {
        if (count == decimals) {
            *out++ = '.';
        }
        *out++ = reversed[--count];
    }
    return out;
}

}  // namespace nuvisca
