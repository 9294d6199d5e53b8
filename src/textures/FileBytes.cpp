#include "textures/FileBytes.h"

#include "model/Model.h"
#include "platform/FileNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace sw {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file for binary reading; nothing for folders, devices and the like, which a
// texture search must pass over as Windows does.
FilePtr openRegularFile(const std::string& path, std::uintmax_t& size) {
    if (path.empty() || path.size() > kMaxPathLength)
        return nullptr;
    const std::string resolved = resolveFileName(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(resolved, error))
        return nullptr;
    size = std::filesystem::file_size(resolved, error);
    if (error)
        return nullptr;
    return FilePtr(std::fopen(resolved.c_str(), "rb"));
}

} // namespace

bool canOpenFile(const std::string& path) {
    std::uintmax_t size = 0;
    return openRegularFile(path, size) != nullptr;
}

FileBytes readFileBytes(const std::string& path) {
    FileBytes result;
    std::uintmax_t size = 0;
    const FilePtr file = openRegularFile(path, size);
    if (!file)
        return result;
    if (size > kMaxFileBytes) {
        result.status = FileStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(size));
    // A file that shrank since its size was taken gives what it still holds.
    result.bytes.resize(std::fread(result.bytes.data(), 1, result.bytes.size(), file.get()));
    result.status = FileStatus::Read;
    return result;
}

std::string writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    // Renaming over a file needs only the folder's permission: a file that is there must open
    // for writing, or it is not replaced.
    std::error_code status;
    if (std::filesystem::exists(path, status)) {
        if (!std::filesystem::is_regular_file(path, status))
            return "There is something other than a file of that name.";
        errno = 0;
        if (!FilePtr(std::fopen(path.c_str(), "r+b")))
            return std::string("The file there cannot be opened for writing: ") +
                   std::strerror(errno) + ".";
    }
    std::random_device random;
    std::string temporary;
    FilePtr file;
    errno = 0;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = path + ".saving-" + std::to_string(random() % 1000000);
        // "x": never take over a file that is there already.
        file.reset(std::fopen(temporary.c_str(), "wbx"));
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        return std::string("No file can be made in its folder: ") + std::strerror(errno) + ".";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool closed = std::fclose(file.release()) == 0;
    std::error_code error;
    if (written && closed)
        std::filesystem::rename(temporary, path, error);
    if (written && closed && !error)
        return {};
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return written && closed
               ? "The file could not take the place of the old one: " + error.message() + "."
               : std::string("The file could not be written in full.");
}

} // namespace sw
