#pragma once

#include "platform/FileDialog.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sw::test {

// Records every file dialog and answers from a script: a chosen file, or cancel (also once
// the script runs out).
class FakeFileDialogs : public FileDialogService {
public:
    struct Shown {
        FileDialogRequest request;
        std::string initialPath;
    };

    void choose(std::string path, std::string fileName) {
        answers_.push_back(Choice{std::move(path), std::move(fileName)});
    }
    void cancel() { answers_.push_back(std::nullopt); }
    const std::vector<Shown>& shown() const { return shown_; }

    bool showFileDialog(const FileDialogRequest& request, std::string& path,
                        std::string& fileName) override {
        shown_.push_back({request, path});
        if (answers_.empty() || !answers_.front()) {
            if (!answers_.empty())
                answers_.pop_front();
            return false;
        }
        path = answers_.front()->path;
        fileName = answers_.front()->fileName;
        answers_.pop_front();
        return true;
    }

private:
    struct Choice {
        std::string path;
        std::string fileName;
    };
    std::deque<std::optional<Choice>> answers_;
    std::vector<Shown> shown_;
};

} // namespace sw::test
