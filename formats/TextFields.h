#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nuvisca {

// The fields of the command line's tables, written as printf in the C locale writes them
// (the viewer runs under the user's LC_NUMERIC).
void appendInteger(std::string& out, std::int64_t value);
void appendFixed(std::string& out, double value, int decimals);  // "%.*f"
void appendFixed(std::string& out, float value, int decimals);
// A CSV field, quoted when it holds a comma, a quote or a line break.
void appendQuoted(std::string& out, std::string_view field);

}  // namespace nuvisca
