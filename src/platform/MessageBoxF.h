#pragma once

#include "platform/MessageBox.h"

#include <string>

namespace sw {

// A message box with one OK button and no icon whose text is formatted by the printf rules.
// The caption comes before the format. A path or other text that must show as it is goes in
// as an argument of "%s", never as the format.
void messageBoxF(MessageBoxService& boxes, Window owner, const std::string& caption,
                 const char* format, ...) __attribute__((format(printf, 4, 5)));

} // namespace sw
