#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sw::test {

// The titles of the mapped top-level windows of one process on the X display.
std::vector<std::string> shownWindowTitles(long long pid);

// Where that process's window with this exact title lies on the screen, frame excluded.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
std::optional<ScreenArea> windowAreaTitled(long long pid, const std::string& title);

// Asks that process's window with this exact title to close, as its close box would. False
// when there is no such window.
bool closeWindowTitled(long long pid, const std::string& title);

} // namespace sw::test
