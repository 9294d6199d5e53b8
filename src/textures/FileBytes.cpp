#include "textures/FileBytes.h"

#include "model/Model.h"
#include "platform/FileNames.h"
#include "platform/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

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
    std::error_code status;
    if (std::filesystem::exists(path, status) && !std::filesystem::is_regular_file(path, status))
        return "There is something other than a file of that name.";
    std::string error;
    if (!mayReplace(path, error))
        return error;
    TempFile file(path, error);
    if (!file.file())
        return error;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.file()) != bytes.size())
        return TempFile::writeError();
    if (!file.commit(path, error))
        return error;
    return {};
}

} // namespace sw
