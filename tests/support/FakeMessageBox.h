#pragma once

#include "platform/MessageBox.h"

#include <deque>
#include <ostream>
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

        friend bool operator==(const Shown&, const Shown&) = default;
        friend std::ostream& operator<<(std::ostream& out, const Shown& box) {
            return out << "owner " << static_cast<int>(box.owner) << " \"" << box.text << "\" \""
                       << box.caption << "\" style " << box.style;
        }
    };

    int messageBox(Window owner, const std::string& text, const std::string& caption,
                   unsigned style) override {
        shown_.push_back({owner, text, caption, style});
        if (answers_.empty())
            return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
        const int button = answers_.front();
        answers_.pop_front();
        return button;
    }

    void answer(int button) { answers_.push_back(button); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    std::vector<Shown> shown_;
    std::deque<int> answers_;
};

} // namespace sw::test
