#include "model/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace sw {

namespace {
constexpr int kExponentDigits = 3;
}

char* formatReal(double value, char* out) {
    if (std::isnan(value)) {
        *out = '0';
        return out + 1;
    }
    if (std::isinf(value))
        value = std::copysign(std::numeric_limits<double>::max(), value);
    // to_chars with a precision is defined as printf's conversion in the C locale.
    char text[kMaxNumberText];
    const char* end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
    const char* exponent =
        static_cast<const char*>(std::memchr(text, 'e', static_cast<std::size_t>(end - text)));
    if (!exponent) {
        std::memcpy(out, text, static_cast<std::size_t>(end - text));
        return out + (end - text);
    }
    const char* digits = exponent + 2; // past "e" and its sign
    std::memcpy(out, text, static_cast<std::size_t>(digits - text));
    out += digits - text;
    for (auto n = end - digits; n < kExponentDigits; ++n)
        *out++ = '0';
    std::memcpy(out, digits, static_cast<std::size_t>(end - digits));
    return out + (end - digits);
}

char* formatInt(long long value, char* out) {
    return std::to_chars(out, out + kMaxNumberText, value).ptr;
}

} // namespace sw
