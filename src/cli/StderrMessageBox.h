#pragma once

#include "platform/MessageBox.h"

namespace sw::cli {

// Message boxes of the core, written to stderr as "caption: text". Nobody answers: an OK box
// counts as acknowledged and a Yes/No question as declined.
class StderrMessageBox : public MessageBoxService {
public:
    int messageBox(Window owner, const std::string& text, const std::string& caption,
                   unsigned style) override;
};

} // namespace sw::cli
