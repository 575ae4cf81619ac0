#include "formats/Utf8Text.h"

#include <cstdint>
#include <cstring>

namespace nuvisca {
namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0u) == 0x80u;
}

unsigned char byteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

// Length of the sequence led by a valid lead byte.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80u) {
        return 1;
    }
    if (lead < 0xE0u) {
        return 2;
    }
    return lead < 0xF0u ? 3 : 4;
}

// Length of the valid sequence at pos, or 0.
std::size_t validSequenceAt(std::string_view text, std::size_t pos) {
    const unsigned char lead = byteAt(text, pos);
    const std::size_t left = text.size() - pos;
    if (lead >= 0xC2u && lead <= 0xDFu) {
        return left >= 2 && isContinuation(byteAt(text, pos + 1)) ? 2 : 0;
    }
    if (lead >= 0xE0u && lead <= 0xEFu) {
        if (left < 3) {
            return 0;
        }
        const unsigned char second = byteAt(text, pos + 1);
        // E0 needs A0..BF (no overlong form), ED needs 80..9F (no surrogate).
        const unsigned char low = lead == 0xE0u ? 0xA0u : 0x80u;
        const unsigned char high = lead == 0xEDu ? 0x9Fu : 0xBFu;
        return second >= low && second <= high && isContinuation(byteAt(text, pos + 2)) ? 3 : 0;
    }
    if (lead >= 0xF0u && lead <= 0xF4u) {
        if (left < 4) {
            return 0;
        }
        const unsigned char second = byteAt(text, pos + 1);
        // F0 needs 90..BF (no overlong form), F4 needs 80..8F (nothing above U+10FFFF).
        const unsigned char low = lead == 0xF0u ? 0x90u : 0x80u;
        const unsigned char high = lead == 0xF4u ? 0x8Fu : 0xBFu;
        return second >= low && second <= high && isContinuation(byteAt(text, pos + 2)) &&
                       isContinuation(byteAt(text, pos + 3))
                   ? 4
                   : 0;
    }
    return 0;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size) {
        // Exports are nearly all ASCII: skip eight plain bytes at a time.
        while (pos + 8 <= size) {
            std::uint64_t block;
            std::memcpy(&block, text.data() + pos, sizeof block);
            if ((block & 0x8080808080808080ull) != 0) {
                break;
            }
            pos += 8;
        }
        if (pos >= size) {
            break;
        }
        if (byteAt(text, pos) < 0x80u) {
            ++pos;
            continue;
        }
        const std::size_t length = validSequenceAt(text, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += isContinuation(static_cast<unsigned char>(byte)) ? 0u : 1u;
    }
    return count;
}

std::string_view characterSlice(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t pos = 0;
    std::size_t index = 0;
    while (index < from && pos < text.size()) {
        pos += sequenceLength(byteAt(text, pos));
        ++index;
    }
    const std::size_t begin = pos < text.size() ? pos : text.size();
    while (index < to && pos < text.size()) {
        pos += sequenceLength(byteAt(text, pos));
        ++index;
    }
    const std::size_t end = pos < text.size() ? pos : text.size();
    return text.substr(begin, end - begin);
}

char32_t nextCharacter(std::string_view text, std::size_t& pos) {
    const unsigned char lead = byteAt(text, pos);
    const std::size_t length = sequenceLength(lead);
    if (length == 1 || pos + length > text.size()) {
        ++pos;
        return lead;
    }
    static constexpr unsigned char kLeadMask[] = {0, 0, 0x1Fu, 0x0Fu, 0x07u};
    char32_t c = lead & kLeadMask[length];
    for (std::size_t k = 1; k < length; ++k) {
        c = (c << 6) | (byteAt(text, pos + k) & 0x3Fu);
    }
    pos += length;
    return c;
}

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace nuvisca
