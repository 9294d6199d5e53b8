#pragma once

#include "platform/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

namespace sw::test {

// Records every message box and answers from a script (kIdOk once the script runs out, or
// kIdNo for a Yes/No box).
class FakeMessageBox : public MessageBoxService {
public:
    struct Shown {
        Window owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    int messageBox(Window owner, const std::string& text, const std::string& caption,
                   unsigned style) override;

    void answer(int button) { answers_.push_back(button); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<int> answers_;
};

} // namespace sw::test
