#include "app/TextureReload.h"

#include "app/ShellState.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "textures/FileBytes.h"

#include <algorithm>
#include <utility>

namespace sw {

namespace {

// Changes come in bursts while a file is written; it is read once they settle.
constexpr int kSettleMilliseconds = 100;
// A file that does not read whole is tried again after this, and so many times at most; then
// the image shown stays until the file changes again.
constexpr int kRetryMilliseconds = 250;
constexpr int kMaxAttempts = 20;

bool reloadPalette(ShellState& shell) {
    Palette palette;
    if (!readCmpFile(shell.preferences.cmpFile, palette))
        return false;
    shell.palette = palette;
    bool all = true;
    for (Material& material : shell.currentModel->materials)
        if (material.usesPalette)
            all = shell.textureLoader.reloadIfReadable(material) && all;
    return all;
}

} // namespace

std::vector<std::string> watchedFiles(const ShellState& shell) {
    std::vector<std::string> files;
    if (!shell.currentModel)
        return files;
    // A texture that did not load is not watched: its group's coordinates were normalised
    // without a texture, and a texture coming into view would change what they save as.
    for (const Material& material : shell.currentModel->materials)
        if (!material.notLoaded)
            if (std::string file = fileOnDisk(material.path); !file.empty())
                files.push_back(std::move(file));
    if (std::string palette = fileOnDisk(shell.preferences.cmpFile); !palette.empty())
        files.push_back(std::move(palette));
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

void watchTextureFiles(ShellState& shell, Platform& platform) {
    platform.fileWatcher.watch(watchedFiles(shell));
}

void textureFileChanged(ShellState& shell, Platform& platform, const std::string& path) {
    if (!shell.currentModel)
        return;
    shell.changedFiles.insert(path);
    shell.reloadAttempts = 0;
    platform.windows.startTimer(Timer::TextureReload, kSettleMilliseconds);
}

bool reloadTextureFile(ShellState& shell, const std::string& file) {
    bool all = true;
    for (Material& material : shell.currentModel->materials)
        if (!material.notLoaded && resolveFileName(material.path) == file)
            all = shell.textureLoader.reloadIfReadable(material) && all;
    return all;
}

void reloadChangedTextures(ShellState& shell, Platform& platform) {
    std::set<std::string> unread;
    if (shell.currentModel) {
        const std::string palette = fileOnDisk(shell.preferences.cmpFile);
        for (const std::string& file : shell.changedFiles) {
            const bool paletteRead = file != palette || reloadPalette(shell);
            if (!reloadTextureFile(shell, file) || !paletteRead)
                unread.insert(file);
        }
        platform.windows.requestFrame();
    }
    if (!unread.empty() && ++shell.reloadAttempts < kMaxAttempts) {
        shell.changedFiles = std::move(unread);
        platform.windows.startTimer(Timer::TextureReload, kRetryMilliseconds);
        return;
    }
    shell.changedFiles.clear();
    shell.reloadAttempts = 0;
}

} // namespace sw
