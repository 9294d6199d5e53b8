#include "support/FakeMessageBox.h"

namespace sw::test {

int FakeMessageBox::messageBox(Window owner, const std::string& text, const std::string& caption,
                               unsigned style) {
    shown_.push_back({owner, text, caption, style});
    if (!answers_.empty()) {
        const int button = answers_.front();
        answers_.pop_front();
        return button;
    }
    return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

} // namespace sw::test
