#pragma once

namespace nuvisca {

// Room that formatFixed needs: the widest float has 39 integer digits.
inline constexpr int kFixedBufferSize = 64;

// Writes value (widened to double) with the given number of decimals (0 to 9) exactly as
// printf "%.*f" would, into out (kFixedBufferSize bytes), and returns the end.
char* formatFixed(char* out, float value, int decimals);

}  // namespace nuvisca
