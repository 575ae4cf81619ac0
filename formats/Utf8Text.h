#pragma once

#include <cstddef>
#include <string_view>

namespace nuvisca {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequence.
// A NUL byte is an ordinary character; a byte-order mark is an ordinary character too.
bool isValidUtf8(std::string_view text);

// Number of characters (code points) of valid UTF-8 text.
std::size_t characterCount(std::string_view text);

// Characters [from, to) of valid UTF-8 text, cut to the characters that exist.
std::string_view characterSlice(std::string_view text, std::size_t from, std::size_t to);

// Decodes the character at text[pos] of valid UTF-8 text and advances pos past it.
char32_t nextCharacter(std::string_view text, std::size_t& pos);

// Tab and the space separators (Unicode category Zs), skipped before a number.
bool isBlank(char32_t c);

}  // namespace nuvisca
