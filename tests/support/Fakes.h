#pragma once

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"

#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// The message boxes, file dialogs and settings of the platform, in memory.
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

// Records every file dialog and answers from a script of chosen files; once the script runs out
// it cancels.
class FakeFileDialogs : public FileDialogService {
public:
    struct Shown {
        FileDialogRequest request;
        std::string initialPath;
    };

    void choose(std::string path, std::string fileName) {
        answers_.emplace_back(std::move(path), std::move(fileName));
    }
    const std::vector<Shown>& shown() const { return shown_; }

    bool showFileDialog(const FileDialogRequest& request, std::string& path,
                        std::string& fileName) override {
        shown_.push_back({request, path});
        if (answers_.empty())
            return false;
        std::tie(path, fileName) = answers_.front();
        answers_.pop_front();
        return true;
    }

private:
    std::deque<std::pair<std::string, std::string>> answers_;
    std::vector<Shown> shown_;
};

// Settings held in memory. A test fills `values` (and `lists`) to stand for a key that exists
// already.
class FakeSettings : public SettingsStore {
public:
    bool openOrCreate(bool& created) override {
        if (failOpen)
            return false;
        created = !exists;
        exists = true;
        return true;
    }
    std::optional<std::string> readString(const std::string& name) override {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void writeString(const std::string& name, const std::string& value) override {
        values[name] = value;
    }
    std::optional<std::vector<std::string>> readStringList(const std::string& name) override {
        const auto it = lists.find(name);
        return it == lists.end() ? std::nullopt : std::optional(it->second);
    }
    void writeStringList(const std::string& name, const std::vector<std::string>& values) override {
        lists[name] = values;
    }

    bool exists = false;
    bool failOpen = false;
    std::map<std::string, std::string> values;
    std::map<std::string, std::vector<std::string>> lists;
};

} // namespace sw::test
