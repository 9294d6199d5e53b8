#pragma once

#include <Qt>

namespace sw::qt {

// The virtual-key code of a Qt key, as the handlers and keyDown know keys; 0 for a key that
// has none. Keys of the numeric pad keep their own codes ("*", "+", "-", digits).
int virtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);

} // namespace sw::qt
