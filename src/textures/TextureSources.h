#pragma once

#include "textures/FileBytes.h"
#include "textures/GobArchive.h"
#include "textures/Preferences.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sw {

class SettingsStore;

// The folders and GOB archives the user names as further places for textures: the game's
// resource archives, or a mod's tree with its mat folder. They are searched after the model's
// own folder and the game's layout around it, in the user's order, the first that has the
// image winning.
//
// A texture found in an archive is named by the archive's path followed by the file's place
// in it, as if the archive were a folder: "/games/jk/Res2.gob/mat/WALL.MAT". read() finds
// such a file again in the archive as long as this object has read its directory, which it
// does once per model load, at the archive's first use.
class TextureSources {
public:
    // The sources in search order; they take effect at the next search.
    void setPaths(std::vector<std::string> paths);
    const std::vector<std::string>& paths() const { return paths_; }

    // A model's load begins: each archive is read again at its first use, and the sources
    // skipped are counted afresh.
    void beginLoad();

    // The image for material `name` in the first source that holds it, looked for in the
    // formats the preferences search, in their order: "mat\NAME.MAT" and "3do\mat\NAME.MAT"
    // (BMP files under bmp), and in a folder also the file beside the sub-folders. Nothing
    // when no source has it.
    std::optional<std::string> find(const std::string& name, const Preferences& preferences);

    // Every place find() looks at for `name`, in its order, in the sources that can be used.
    std::vector<std::string> places(const std::string& name, const Preferences& preferences);

    // The content of `path`: a file inside an archive as find() names it, or else the file
    // itself.
    FileBytes read(const std::string& path);

    // For each source skipped since the load began, once: "PATH: why".
    const std::vector<std::string>& problems() const { return problems_; }

private:
    struct Source {
        bool usable = false;
        bool folder = false;
        GobDirectory archive;
    };
    const Source& open(const std::string& path);
    template <typename Look>
    void forEachPlace(const std::string& name, const Preferences& preferences, Look&& look);

    std::vector<std::string> paths_;
    std::map<std::string, Source> opened_; // by the path as named, during one load
    std::vector<std::string> problems_;
};

// Why `path` cannot serve as a texture source, as a phrase; empty when it can: a folder, or a
// GOB archive whose directory reads.
std::string textureSourceProblem(const std::string& path);

// The sources as stored: the list value "TextureSources" beside the preferences, one path per
// entry in search order. A missing value is an empty list; empty entries are dropped.
std::vector<std::string> loadTextureSources(SettingsStore& store);
void saveTextureSources(const std::vector<std::string>& paths, SettingsStore& store);

} // namespace sw
