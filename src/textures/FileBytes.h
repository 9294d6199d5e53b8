#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sw {

// Texture and palette files are small; anything larger than this is no file of theirs and is
// not read into memory.
inline constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

enum class FileStatus { Read, CannotOpen, TooLarge };

struct FileBytes {
    FileStatus status = FileStatus::CannotOpen;
    std::vector<std::uint8_t> bytes;
};

// Whether `path` names a regular file that opens for reading. Paths are resolved without
// regard to letter case (resolveFileName); a path longer than the 259 characters a path field
// holds opens nothing.
bool canOpenFile(const std::string& path);

// The whole content of the file `path` names, resolved as canOpenFile does.
FileBytes readFileBytes(const std::string& path);

// Writes `bytes` to a new file beside `path` that takes its place once it is whole, so that a
// failure leaves the file that was there as it was; a file there that may not be written is
// not replaced. Returns why it could not; empty when it was written.
std::string writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// How the image readers get a file's content: readFileBytes, or the texture loader's reader,
// which also finds files inside archives.
using FileReader = std::function<FileBytes(const std::string& path)>;

} // namespace sw
