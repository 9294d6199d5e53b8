#pragma once

#include <optional>
#include <string>

namespace sw::test {

// Where a mapped top-level window lies on the screen, frame excluded.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The area of the window with this exact title that the process shows on the X display;
// nothing while it shows none.
std::optional<ScreenArea> shownWindow(long long pid, const std::string& title);

// Asks that window to close, as its close box would. False when it is not shown.
bool closeWindow(long long pid, const std::string& title);

} // namespace sw::test
