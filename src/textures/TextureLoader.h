#pragma once

#include "model/Model.h"
#include "textures/DecodedImage.h"
#include "textures/FileBytes.h"
#include "textures/Preferences.h"
#include "textures/TextureSources.h"

#include <optional>
#include <string>
#include <vector>

namespace sw {

struct Palette;

// The reader a path selects: BMP when its last character is the letter P in either case,
// MAT otherwise.
TextureFormat formatForPath(const std::string& path);

// The files tried, in order, for a material `name` in `directory` (which ends in its
// separator): the preferred format's sub-folder, then the folder itself, then, when the
// preferences allow the other format, the same two for it.
std::vector<std::string> textureCandidates(const std::string& directory, const std::string& name,
                                           const Preferences& preferences);

// The files tried next, in the game's layout: a mod keeps its models in a 3do folder and their
// textures in the mat folder beside it, so these are the sub-folders of the model folder's
// parent, in the preferred format's order (the other one only when the preferences allow it).
std::vector<std::string> layoutCandidates(const std::string& directory, const std::string& name,
                                          const Preferences& preferences);

// Decodes material.path with the reader formatForPath picks (which may hand over to the other
// one); returns the format whose reader filled the pixels, nothing when the image could not be
// read or is too large to hold in memory.
std::optional<TextureFormat> decodeTexture(Material& material, const Palette& palette,
                                           const Preferences& preferences,
                                           const FileReader& read = readFileBytes);

// Finds, decodes and uploads the texture of each Material. It reads the palette and the
// preferences as they are at each call, so changing them takes effect at the next load.
// With upload enabled a GL context must be current; the decoded pixels are released once
// uploaded. With upload disabled no GL call is made and the pixels stay in the Material.
class TextureLoader {
public:
    TextureLoader(const Palette& palette, const Preferences& preferences);

    // A model's load begins: its folder, with the final separator, where searched textures
    // are found first. The texture sources' archives are read again at their first use.
    void setDirectory(std::string currentDirectory);
    void setUploadEnabled(bool enabled);
    // The folders and archives searched after the model's folder and its layout, in order.
    void setSources(std::vector<std::string> paths);
    const std::vector<std::string>& sources() const { return sources_.paths(); }
    // The sources skipped since the load began, each once: "PATH: why".
    const std::vector<std::string>& sourceProblems() const { return sources_.problems(); }

    // An empty path searches for the image by material.name: textureCandidates, then
    // layoutCandidates, then the sources; when none has it, the path is the last of
    // textureCandidates. A non-empty path is the file to load (and gives the Material its
    // name). The outcome shows in material.notLoaded; the
    // Material gets a new GL texture either way, empty when nothing was decoded.
    void loadTexture(Material& material, const std::string& path);
    // The files looked at for the Material's image, in order: the one it names, or every place
    // a search by its name tries.
    std::vector<std::string> placesSearched(const Material& material);

    // Loads the Material again from the file it was loaded from.
    void reloadTexture(Material& material);
    // Reloads every Material whose colours came through the palette, after a palette change.
    void reloadPaletteTextures(Model& model);
    // Reads the Material's file again, that file exactly, and takes its image when it decodes;
    // false, with the Material as it was, when it does not (a file still being written, or
    // gone), so that what is shown is never a broken image.
    bool reloadIfReadable(Material& material);
    // The image in the Material's file, decoded anew (the GL texture holds the one shown) and
    // upright; empty when it does not decode.
    RgbaPixels uprightImageOf(const Material& material);

    // loadTexture as the callable that model preparation takes; valid while the loader lives.
    TextureLoadFn function();

private:
    std::string findTexture(const std::string& name);
    // Decodes the file `material` names, reading through the sources (archives included).
    std::optional<TextureFormat> decode(Material& material);
    // Decodes the file `material` came from once more into `fresh`; nothing when it does not
    // decode whole.
    std::optional<TextureFormat> decodeAgain(const Material& material, Material& fresh);

    const Palette& palette_;
    const Preferences& preferences_;
    std::string directory_;
    TextureSources sources_;
    bool uploadEnabled_ = true;
};

} // namespace sw
