#include "textures/GobArchive.h"

#include "model/Model.h"
#include "platform/FileNames.h"
#include "textures/FileLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <vector>

namespace sw {

namespace {

// Far more files than any archive of the game holds; a count beyond it is damage, and reading
// its directory would only cost memory.
constexpr std::uint64_t kMaxEntries = std::uint64_t{1} << 18;
// Entries are read this many at a time, so that a large directory needs no large buffer.
constexpr std::uint64_t kEntriesPerRead = 1024;

std::string lookupKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (c == '/')
            c = '\\';
    }
    return key;
}

GobReadResult refuse(GobError error) {
    GobReadResult result;
    result.error = error;
    return result;
}

// Reads the header and the directory of an archive of `size` bytes through
// readAt(offset, bytes), which fills `bytes` from that offset and says whether it could.
template <typename ReadAt> GobReadResult readDirectory(std::uint64_t size, ReadAt&& readAt) {
    std::array<std::uint8_t, gob::kHeaderSize> header{};
    const auto headerBytes =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, gob::kHeaderSize));
    if (headerBytes < sizeof gob::kMagic || !readAt(0, std::span(header).first(headerBytes)) ||
        std::memcmp(header.data(), gob::kMagic, sizeof gob::kMagic) != 0)
        return refuse(GobError::NotGob);
    if (headerBytes < gob::kHeaderSize)
        return refuse(GobError::Truncated);

    const std::uint64_t directory = readU32(header.data() + gob::kDirectoryOffsetOffset);
    std::array<std::uint8_t, gob::kCountSize> countBytes{};
    if (directory + gob::kCountSize > size)
        return refuse(GobError::OutOfRange);
    if (!readAt(directory, countBytes))
        return refuse(GobError::Truncated);
    const std::uint64_t count = readU32(countBytes.data());
    if (count == 0)
        return refuse(GobError::Empty);
    if (count > kMaxEntries)
        return refuse(GobError::TooLarge);
    const std::uint64_t first = directory + gob::kCountSize;
    if (first + count * gob::kEntrySize > size)
        return refuse(GobError::Truncated);

    GobReadResult result;
    try {
        result.directory.reserve(static_cast<std::size_t>(count));
        std::vector<std::uint8_t> chunk;
        for (std::uint64_t done = 0; done < count;) {
            const std::uint64_t n = std::min(kEntriesPerRead, count - done);
            chunk.resize(static_cast<std::size_t>(n * gob::kEntrySize));
            if (!readAt(first + done * gob::kEntrySize, std::span(chunk)))
                return refuse(GobError::Truncated);
            for (std::size_t i = 0; i < chunk.size(); i += gob::kEntrySize) {
                const std::uint8_t* entry = chunk.data() + i;
                const GobEntry where{readU32(entry + gob::kEntryOffsetOffset),
                                     readU32(entry + gob::kEntryLengthOffset)};
                if (std::uint64_t{where.offset} + where.length > size)
                    return refuse(GobError::OutOfRange);
                const auto* name = reinterpret_cast<const char*>(entry + gob::kEntryNameOffset);
                const char* end = std::find(name, name + gob::kEntryNameSize, '\0');
                result.directory.add({name, static_cast<std::size_t>(end - name)}, where);
            }
            done += n;
        }
    } catch (const std::bad_alloc&) {
        return refuse(GobError::OutOfMemory);
    }
    return result;
}

// The archive file, opened for reading, with its size; nothing for folders and the like.
struct ArchiveFile {
    std::ifstream stream;
    std::uint64_t size = 0;

    explicit ArchiveFile(const std::string& path) {
        if (path.empty() || path.size() > kMaxPathLength)
            return;
        const std::string resolved = resolveFileName(path);
        std::error_code error;
        if (!std::filesystem::is_regular_file(resolved, error))
            return;
        size = std::filesystem::file_size(resolved, error);
        if (!error)
            stream.open(resolved, std::ios::binary);
    }
    bool isOpen() const { return stream.is_open(); }

    // Reads as much of `bytes` as the file still holds from `offset`; returns how much.
    std::size_t read(std::uint64_t offset, std::span<std::uint8_t> bytes) {
        stream.clear();
        stream.seekg(static_cast<std::streamoff>(offset));
        stream.read(reinterpret_cast<char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
        return static_cast<std::size_t>(stream.gcount());
    }
};

} // namespace

const char* describeGobError(GobError error) {
    switch (error) {
    case GobError::None:
        return "no error";
    case GobError::CannotOpen:
        return "the file cannot be opened";
    case GobError::NotGob:
        return "the file is no GOB archive";
    case GobError::Truncated:
        return "the archive ends inside its directory";
    case GobError::OutOfRange:
        return "the archive's directory points outside the file";
    case GobError::Empty:
        return "the archive holds no files";
    case GobError::TooLarge:
        return "the archive's directory lists too many files";
    case GobError::OutOfMemory:
        return "there is not enough memory for the archive's directory";
    }
    return "unknown error";
}

void GobDirectory::add(std::string_view name, GobEntry entry) {
    entries_.emplace(lookupKey(name), entry);
}

const GobEntry* GobDirectory::find(std::string_view name) const {
    const auto it = entries_.find(lookupKey(name));
    return it == entries_.end() ? nullptr : &it->second;
}

GobReadResult readGobDirectory(std::span<const std::uint8_t> archive) {
    return readDirectory(archive.size(),
                         [archive](std::uint64_t offset, std::span<std::uint8_t> bytes) {
                             if (offset > archive.size() || archive.size() - offset < bytes.size())
                                 return false;
                             std::memcpy(bytes.data(), archive.data() + offset, bytes.size());
                             return true;
                         });
}

GobReadResult readGobDirectory(const std::string& path) {
    ArchiveFile file(path);
    if (!file.isOpen())
        return refuse(GobError::CannotOpen);
    return readDirectory(file.size, [&file](std::uint64_t offset, std::span<std::uint8_t> bytes) {
        return file.read(offset, bytes) == bytes.size();
    });
}

FileBytes readGobEntry(const std::string& path, const GobEntry& entry) {
    FileBytes result;
    ArchiveFile file(path);
    if (!file.isOpen())
        return result;
    if (entry.length > kMaxFileBytes) {
        result.status = FileStatus::TooLarge;
        return result;
    }
    try {
        result.bytes.resize(entry.length);
    } catch (const std::bad_alloc&) {
        result.status = FileStatus::TooLarge;
        return result;
    }
    result.bytes.resize(file.read(entry.offset, result.bytes));
    result.status = FileStatus::Read;
    return result;
}

} // namespace sw
