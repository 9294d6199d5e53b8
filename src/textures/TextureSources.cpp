#include "textures/TextureSources.h"

#include "model/Model.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace sw {

namespace {

constexpr const char* kSourcesValue = "TextureSources";
constexpr const char* kMissing = "there is no such folder or archive";

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::string join(const std::string& folder, const std::string& relative) {
    if (!folder.empty() && isSeparator(folder.back()))
        return folder + relative;
    return folder + kPathSeparator + relative;
}

// The part of `path` after `archive` when `path` names something inside it.
std::optional<std::string_view> memberOf(std::string_view path, std::string_view archive) {
    if (archive.empty() || path.size() <= archive.size() || !path.starts_with(archive))
        return std::nullopt;
    if (isSeparator(archive.back()))
        return path.substr(archive.size());
    if (!isSeparator(path[archive.size()]))
        return std::nullopt;
    return path.substr(archive.size() + 1);
}

// What `path` is as a source: a folder, or an archive whose directory is read into `archive`.
// Returns why it cannot serve as one, or null when it can.
const char* examine(const std::string& path, bool& folder, GobDirectory& archive) {
    folder = false;
    if (path.empty() || path.size() > kMaxPathLength)
        return kMissing;
    const std::string resolved = resolveFileName(path);
    std::error_code error;
    if (std::filesystem::is_directory(resolved, error)) {
        folder = true;
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(resolved, error))
        return kMissing;
    GobReadResult read = readGobDirectory(path);
    if (!read)
        return describeGobError(read.error);
    archive = std::move(read.directory);
    return nullptr;
}

} // namespace

void TextureSources::setPaths(std::vector<std::string> paths) {
    paths_ = std::move(paths);
}

void TextureSources::beginLoad() {
    opened_.clear();
    problems_.clear();
}

const TextureSources::Source& TextureSources::open(const std::string& path) {
    if (const auto it = opened_.find(path); it != opened_.end())
        return it->second;
    Source source;
    if (const char* why = examine(path, source.folder, source.archive))
        problems_.push_back(path + ": " + why);
    else
        source.usable = true;
    return opened_.emplace(path, std::move(source)).first->second;
}

// Calls `look` with each place of each usable source, in search order, until it returns
// true: the source, the place in it and its full path.
template <typename Look>
void TextureSources::forEachPlace(const std::string& name, const Preferences& preferences,
                                  Look&& look) {
    for (const std::string& path : paths_) {
        const Source& source = open(path);
        if (!source.usable)
            continue;
        for (const TextureFormat format : searchedFormats(preferences)) {
            const std::string sub = format == TextureFormat::Mat ? "mat" : "bmp";
            const std::string file = name + (format == TextureFormat::Mat ? ".MAT" : ".BMP");
            // The game's archives keep the textures of levels under mat\ and those of models
            // under 3do\mat\; a folder may also hold the files themselves.
            const std::string places[] = {sub + kPathSeparator + file,
                                          "3do" + (kPathSeparator + sub) + kPathSeparator + file,
                                          file};
            for (std::size_t i = 0; i < (source.folder ? 3u : 2u); ++i) {
                const std::string full = join(path, places[i]);
                if (full.size() <= kMaxPathLength && look(source, places[i], full))
                    return;
            }
        }
    }
}

std::optional<std::string> TextureSources::find(const std::string& name,
                                                const Preferences& preferences) {
    std::optional<std::string> found;
    forEachPlace(name, preferences,
                 [&](const Source& source, const std::string& place, const std::string& full) {
                     if (source.folder ? canOpenFile(full) : source.archive.find(place) != nullptr)
                         found = full;
                     return found.has_value();
                 });
    return found;
}

std::vector<std::string> TextureSources::places(const std::string& name,
                                                const Preferences& preferences) {
    std::vector<std::string> all;
    forEachPlace(name, preferences,
                 [&](const Source&, const std::string&, const std::string& full) {
                     all.push_back(full);
                     return false;
                 });
    return all;
}

FileBytes TextureSources::read(const std::string& path) {
    for (const auto& [archive, source] : opened_) {
        if (!source.usable || source.folder)
            continue;
        if (const auto member = memberOf(path, archive)) {
            if (const GobEntry* entry = source.archive.find(*member))
                return readGobEntry(archive, *entry);
        }
    }
    return readFileBytes(path);
}

std::string textureSourceProblem(const std::string& path) {
    bool folder = false;
    GobDirectory archive;
    const char* why = examine(path, folder, archive);
    return why != nullptr ? why : "";
}

std::vector<std::string> loadTextureSources(SettingsStore& store) {
    bool created = false;
    if (!store.openOrCreate(created))
        return {};
    std::vector<std::string> paths =
        store.readStringList(kSourcesValue).value_or(std::vector<std::string>{});
    std::erase(paths, std::string());
    return paths;
}

void saveTextureSources(const std::vector<std::string>& paths, SettingsStore& store) {
    bool created = false;
    if (store.openOrCreate(created))
        store.writeStringList(kSourcesValue, paths);
}

} // namespace sw
