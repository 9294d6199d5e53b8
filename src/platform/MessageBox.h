#pragma once

#include <string>

namespace sw {

// The program's top-level windows; a message box or dialog names one of them as its owner.
enum class Window { None, Main, Controls, Options, GlView, Sources };

// Message box styles and results, with the values the Windows API gives them.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// A modal message box: shows text and caption with the buttons and icon of the style and
// returns the button the user pressed.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int messageBox(Window owner, const std::string& text, const std::string& caption,
                           unsigned style) = 0;
};

} // namespace sw
