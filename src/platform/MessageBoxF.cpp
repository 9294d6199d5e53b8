#include "platform/MessageBoxF.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace sw {

void messageBoxF(MessageBoxService& boxes, Window owner, const std::string& caption,
                 const char* format, ...) {
    // Sized to the text rather than to a fixed buffer, so a long palette path is shown whole.
    std::va_list args;
    va_start(args, format);
    std::va_list counting;
    va_copy(counting, args);
    const int length = std::vsnprintf(nullptr, 0, format, counting);
    va_end(counting);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    boxes.messageBox(owner, text, caption, kMbOk);
}

} // namespace sw
