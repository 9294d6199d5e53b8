#pragma once

#include "model/Model.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace sw {

// The unsaved state of the open model, kept on the disk so that a model closed without saving,
// or a program that ended or crashed, loses nothing: a 3DO file in the user's state folder,
// one per model path, written as saves are written (a temporary file, then a rename). The
// writing runs on a thread of its own, from a copy of the model, so that the editor does not
// wait for it.
class RecoveryFile {
public:
    RecoveryFile() = default;
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    // The folder the files go to; without one (as in tests that do not ask for it) nothing
    // is kept.
    void setFolder(std::string folder);
    bool enabled() const { return !folder_.empty(); }

    // Where the unsaved state of the model at `modelPath` is kept.
    std::string pathFor(const std::string& modelPath) const;
    // The kept state of `modelPath` and when it was written, when there is one that is newer
    // than the model file.
    std::optional<std::chrono::system_clock::time_point>
    newerThanModel(const std::string& modelPath) const;

    // Starts writing a copy of `model` as the kept state of `modelPath`. False, with nothing
    // done, while the previous write is still running: try again a little later.
    bool writeInBackground(const Model& model, const std::string& modelPath);
    // Writes the state now, on this thread, after any write that is running.
    void writeNow(const Model& model, const std::string& modelPath);
    // Forgets the kept state of `modelPath`, after any write that is running.
    void remove(const std::string& modelPath);
    // Waits for the write that is running, if any.
    void wait();
    // How long to wait after a change before keeping it: a second, or longer where copying
    // the model takes the editor more than a fiftieth of that time (models far larger than
    // the game takes), so that keeping never holds up more than about 2% of the editing.
    int delayMilliseconds() const;

private:
    std::string folder_;
    std::thread writer_;
    std::atomic<bool> writing_ = false; // the writer has not finished yet
    std::chrono::steady_clock::duration lastCopy_{};
};

} // namespace sw
