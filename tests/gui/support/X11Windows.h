#pragma once

#include <string>
#include <vector>

namespace sw::test {

// The titles of the top-level windows on the X display that are mapped, of every program.
std::vector<std::string> shownWindowTitles();

// Asks the window with this exact title to close, as its close box would. False when there
// is no such window.
bool closeWindowTitled(const std::string& title);

} // namespace sw::test
