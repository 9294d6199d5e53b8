#include "textures/TextureLoader.h"

#include "platform/FileNames.h"
#include "textures/BmpReader.h"
#include "textures/FileBytes.h"
#include "textures/MatReader.h"
#include "textures/TextureUpload.h"

#include <new>
#include <utility>

namespace sw {

namespace {

// The file name of `path` up to its first full stop. Both separators count: paths written on
// Windows reach us through model files and settings.
std::string nameFromPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find('.', start);
    std::string name =
        path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (name.size() > kMaxNameLength)
        name.resize(kMaxNameLength);
    return name;
}

} // namespace

TextureFormat formatForPath(const std::string& path) {
    return !path.empty() && (path.back() == 'P' || path.back() == 'p') ? TextureFormat::Bmp
                                                                       : TextureFormat::Mat;
}

std::vector<std::string> textureCandidates(const std::string& directory, const std::string& name,
                                           const Preferences& preferences) {
    const std::string mat = directory + "mat" + kPathSeparator + name + ".MAT";
    const std::string matHere = directory + name + ".MAT";
    const std::string bmp = directory + "bmp" + kPathSeparator + name + ".BMP";
    const std::string bmpHere = directory + name + ".BMP";
    if (preferences.primaryFormat == TextureFormat::Mat) {
        if (preferences.loadBmpIfMatFails)
            return {mat, matHere, bmp, bmpHere};
        return {mat, matHere};
    }
    if (preferences.loadMatIfBmpFails)
        return {bmp, bmpHere, mat, matHere};
    return {bmp, bmpHere};
}

std::vector<std::string> layoutCandidates(const std::string& directory, const std::string& name,
                                          const Preferences& preferences) {
    const std::string parent = directory + ".." + kPathSeparator;
    std::vector<std::string> candidates;
    for (const TextureFormat format : searchedFormats(preferences)) {
        if (format == TextureFormat::Mat)
            candidates.push_back(parent + "mat" + kPathSeparator + name + ".MAT");
        else
            candidates.push_back(parent + "bmp" + kPathSeparator + name + ".BMP");
    }
    return candidates;
}

std::optional<TextureFormat> decodeTexture(Material& material, const Palette& palette,
                                           const Preferences& preferences, const FileReader& read) {
    try {
        if (formatForPath(material.path) == TextureFormat::Bmp)
            return decodeBmp(material, palette, preferences, read);
        return decodeMat(material, palette, preferences, read);
    } catch (const std::bad_alloc&) {
        // An image too large to hold is one that cannot be read. The readers hand a Material
        // its image only once it is whole, so it is still as loading left it: not loaded.
        return std::nullopt;
    }
}

TextureLoader::TextureLoader(const Palette& palette, const Preferences& preferences)
    : palette_(palette), preferences_(preferences) {}

void TextureLoader::setDirectory(std::string currentDirectory) {
    directory_ = std::move(currentDirectory);
    sources_.beginLoad();
}

void TextureLoader::setSources(std::vector<std::string> paths) {
    sources_.setPaths(std::move(paths));
}

void TextureLoader::setUploadEnabled(bool enabled) {
    uploadEnabled_ = enabled;
}

std::string TextureLoader::findTexture(const std::string& name) {
    const std::vector<std::string> candidates = textureCandidates(directory_, name, preferences_);
    for (const std::string& candidate : candidates) {
        if (canOpenFile(candidate))
            return candidate;
    }
    for (const std::string& candidate : layoutCandidates(directory_, name, preferences_)) {
        if (canOpenFile(candidate))
            return candidate;
    }
    if (std::optional<std::string> found = sources_.find(name, preferences_))
        return std::move(*found);
    // Found nowhere: the path names the last file looked for beside the model, which the
    // readers then fail to open (or hand over from) as they would have without the others.
    return candidates.back();
}

void TextureLoader::loadTexture(Material& material, const std::string& path) {
    if (!path.empty()) {
        material.explicitPath = true;
        material.path = path;
        material.name = nameFromPath(path);
    } else {
        material.explicitPath = false;
        material.path = findTexture(material.name);
    }
    material.notLoaded = true;
    material.width = 0;
    material.height = 0;
    std::vector<std::uint8_t>().swap(material.pixels);
    material.usesPalette = false;

    const TextureFormat chosen = formatForPath(material.path);
    const std::optional<TextureFormat> decoded = decode(material);
    if (!uploadEnabled_)
        return;
    uploadTexture(material, decoded.value_or(chosen));
    std::vector<std::uint8_t>().swap(material.pixels); // GL holds its own copy now
}

std::vector<std::string> TextureLoader::placesSearched(const Material& material) {
    if (material.explicitPath)
        return {material.path};
    std::vector<std::string> places = textureCandidates(directory_, material.name, preferences_);
    for (std::string& place : layoutCandidates(directory_, material.name, preferences_))
        places.push_back(std::move(place));
    for (std::string& place : sources_.places(material.name, preferences_))
        places.push_back(std::move(place));
    return places;
}

void TextureLoader::reloadTexture(Material& material) {
    const std::string path = material.path;
    loadTexture(material, path);
}

void TextureLoader::reloadPaletteTextures(Model& model) {
    for (Material& material : model.materials) {
        if (material.usesPalette)
            reloadTexture(material);
    }
}

namespace {

// A copy of the Material without its texture, set to read exactly the file it came from.
Material freshCopy(const Material& material) {
    Material fresh;
    fresh.name = material.name;
    fresh.path = material.path;
    fresh.explicitPath = true;
    return fresh;
}

} // namespace

std::optional<TextureFormat> TextureLoader::decode(Material& material) {
    return decodeTexture(material, palette_, preferences_,
                         [this](const std::string& file) { return sources_.read(file); });
}

std::optional<TextureFormat> TextureLoader::decodeAgain(const Material& material, Material& fresh) {
    fresh = freshCopy(material);
    const std::optional<TextureFormat> decoded = decode(fresh);
    if (fresh.notLoaded)
        return std::nullopt;
    return decoded;
}

bool TextureLoader::reloadIfReadable(Material& material) {
    Material fresh;
    const std::optional<TextureFormat> decoded = decodeAgain(material, fresh);
    if (!decoded)
        return false;
    fresh.explicitPath = material.explicitPath;
    fresh.glTexture = material.glTexture;
    material = std::move(fresh);
    if (uploadEnabled_) {
        uploadTexture(material, *decoded);
        std::vector<std::uint8_t>().swap(material.pixels);
    }
    return true;
}

RgbaPixels TextureLoader::uprightImageOf(const Material& material) {
    Material fresh;
    const std::optional<TextureFormat> decoded = decodeAgain(material, fresh);
    if (!decoded)
        return {};
    try {
        return uprightImage(fresh.width, fresh.height, fresh.pixels, *decoded);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

TextureLoadFn TextureLoader::function() {
    return [this](Material& material, const std::string& path) { loadTexture(material, path); };
}

} // namespace sw
