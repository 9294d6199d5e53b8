#pragma once

#include "platform/FileDialog.h"
#include "platform/FileWatcher.h"
#include "platform/ImageFiles.h"
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

// Records every file dialog and answers from a script of chosen files (and file types); once
// the script runs out it cancels.
class FakeFileDialogs : public FileDialogService {
public:
    struct Shown {
        FileDialogRequest request;
        std::string initialPath;
    };

    void choose(std::string path, std::string fileName, int filter = 0) {
        answers_.push_back({std::move(path), std::move(fileName), filter});
    }
    const std::vector<Shown>& shown() const { return shown_; }

    bool showFileDialog(const FileDialogRequest& request, std::string& path,
                        std::string& fileName) override {
        shown_.push_back({request, path});
        if (answers_.empty())
            return false;
        std::tie(path, fileName, std::ignore) = answers_.front();
        if (request.chosenFilter != nullptr)
            *request.chosenFilter = std::get<2>(answers_.front());
        answers_.pop_front();
        return true;
    }

private:
    std::deque<std::tuple<std::string, std::string, int>> answers_;
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

// Images by path, as a paint program left them: any other path holds no image. Written images
// join them.
class FakeImageFiles : public ImageFiles {
public:
    std::map<std::string, RgbaPixels> files;

    ImageRead read(const std::string& path, std::int64_t, std::int64_t) override {
        ImageRead result;
        const auto it = files.find(path);
        result.status = it == files.end() ? ImageRead::Status::NotAnImage : ImageRead::Status::Read;
        result.image = it == files.end() ? RgbaPixels{} : it->second;
        result.reason = it == files.end() ? "Unsupported image format" : "";
        return result;
    }
    std::string writePng(const std::string& path, const RgbaPixels& image) override {
        files[path] = image;
        return {};
    }
};

// The files watched; a test reports a change by hand.
class FakeFileWatcher : public FileWatcher {
public:
    std::vector<std::string> watched;

    void setListener(Listener listener) override { listener_ = std::move(listener); }
    void watch(const std::vector<std::string>& paths) override { watched = paths; }
    void change(const std::string& path) const { listener_(path); }

private:
    Listener listener_;
};

} // namespace sw::test
