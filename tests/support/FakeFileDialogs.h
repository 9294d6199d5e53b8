#pragma once

#include "platform/FileDialog.h"

#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
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
        answers_.emplace_back(std::pair{std::move(path), std::move(fileName)});
    }
    void cancel() { answers_.emplace_back(std::nullopt); }
    const std::vector<Shown>& shown() const { return shown_; }

    bool showFileDialog(const FileDialogRequest& request, std::string& path,
                        std::string& fileName) override {
        shown_.push_back({request, path});
        const auto answer = answers_.empty() ? std::nullopt : answers_.front();
        if (!answers_.empty())
            answers_.pop_front();
        if (answer)
            std::tie(path, fileName) = *answer;
        return answer.has_value();
    }

private:
    std::deque<std::optional<std::pair<std::string, std::string>>> answers_;
    std::vector<Shown> shown_;
};

} // namespace sw::test
