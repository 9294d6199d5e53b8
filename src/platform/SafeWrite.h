#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace sw {

// The file that a save writes until it is complete, beside the target; it takes the target's
// place on commit and is removed otherwise, so that the target is never left half written.
// Each step that fails says why in `error`.
class TempFile {
public:
    TempFile(const std::filesystem::path& target, std::string& error);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // Null when no file could be made.
    std::FILE* file() const { return file_; }

    // Flushes the file to the disk and closes it, gives it the owner and mode of the file it
    // replaces, and puts it in place of `target`.
    bool commit(const std::filesystem::path& target, std::string& error);

    // Why a write failed, from errno.
    static std::string writeError();

private:
    void takeOverAttributes(const std::filesystem::path& target) const;

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// Putting the new file in place needs only the folder's permission, so it would replace a file
// the user may not write. A file that is there must open for writing, or the save stops before
// anything is written. A missing file or folder, or a folder of that name, is left to the steps
// that make and place the new file, which say what is wrong.
bool mayReplace(const std::filesystem::path& target, std::string& error);

} // namespace sw
