#pragma once

#include <cstddef>

namespace sw {

// Room that formatReal and formatInt need, terminating NUL not included.
inline constexpr std::size_t kMaxNumberText = 24;

// Writes `value` as the 3DO files of the game's tools have it: printf's %g with precision 6
// (at most six significant digits, no trailing zeros, exponent form below 1e-4 and from 1e6
// on) with the exponent always a sign and three digits, as the C library those tools were
// built with writes it: 5e-005, 2e+006. Zero is written 0 and negative zero -0, which real
// models hold and a resave keeps; a value that is not finite, which no file can hold, is
// written as the nearest finite one (NaN as 0). Returns the end of the text; nothing is
// terminated.
char* formatReal(double value, char* out);

char* formatInt(long long value, char* out);

} // namespace sw
