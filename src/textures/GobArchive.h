#pragma once

#include "textures/FileBytes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sw {

// Where one file lies inside an archive.
struct GobEntry {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

enum class GobError {
    None,
    CannotOpen, // no file to read
    NotGob,     // the file does not start with "GOB "
    Truncated,  // the file ends inside the header or the directory
    OutOfRange, // the directory, or a file it lists, lies outside the file
    Empty,      // the directory lists no file
    TooLarge,   // more entries than any archive of the game has by far
    OutOfMemory,
};

// Why an archive was refused, as a phrase for the user.
const char* describeGobError(GobError error);

// The directory of a GOB archive (the game's .gob and .goo files), indexed by name, so that a
// lookup costs the same whatever the number of files in the archive.
class GobDirectory {
public:
    void reserve(std::size_t entries) { entries_.reserve(entries); }
    // Adds an entry, unless one of the same name is there: of two, the first counts.
    void add(std::string_view name, GobEntry entry);
    // The entry whose name equals `name` without regard to ASCII letter case, a slash standing
    // for a backslash; null when there is none.
    const GobEntry* find(std::string_view name) const;
    std::size_t size() const { return entries_.size(); }

private:
    std::unordered_map<std::string, GobEntry> entries_; // by name in lower case, backslashes
};

struct GobReadResult {
    GobDirectory directory; // meaningful when error is None
    GobError error = GobError::None;

    explicit operator bool() const { return error == GobError::None; }
};

// Reads and checks the directory of an archive held in memory: every file it lists lies inside
// the archive.
GobReadResult readGobDirectory(std::span<const std::uint8_t> archive);
// The same for the archive file `path` names (letter case resolved as for every path), which
// reads the header and the directory only.
GobReadResult readGobDirectory(const std::string& path);
// One file of the archive `path` names, read from where its entry says. A file that shrank
// since its directory was read gives what it still holds.
FileBytes readGobEntry(const std::string& path, const GobEntry& entry);

} // namespace sw
