#include "app/PaintingCommands.h"

#include "app/ControlPanel.h"
#include "app/EditHistory.h"
#include "app/ShellState.h"
#include "app/TextureReload.h"
#include "app/Windows.h"
#include "editor/PaintTemplate.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "textures/DecodedImage.h"
#include "textures/FileBytes.h"
#include "textures/MatWriter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace sw {

namespace {

constexpr const char* kTemplateNote =
    "Paint at the size of the template, or at least keep the texture's proportions: texture "
    "coordinates are fractions of the texture, so a painting of other proportions is "
    "stretched on the model. \"Import painting...\" makes the painting the group's texture.";

// The sizes a template is offered in: the texture's and its multiples.
constexpr int kMultiples[] = {1, 2, 4, 8};

struct TemplateKind {
    int width = 0;
    int height = 0;
    bool onTexture = false;
};

const GlGroup& chosenGroup(const ShellState& shell) {
    return shell.currentEditor->groupIn(*shell.currentModel);
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void fileError(Platform& platform, const std::string& text) {
    platform.messageBoxes.messageBox(Window::Main, text, "File error", kMbOk | kMbIconExclamation);
}

bool askYes(Platform& platform, const std::string& question) {
    return platform.messageBoxes.messageBox(Window::Main, question, kProgramTitle, kMbYesNo) ==
           kIdYes;
}

// A dialog of the main window with its own title and suffix.
FileDialogRequest dialogRequest(FileDialogRequest::Kind kind, const char* title,
                                std::vector<FileFilter> filters, const char* suffix) {
    FileDialogRequest request = fileDialogRequest(kind, Window::Main, std::move(filters));
    request.defaultSuffix = suffix;
    request.title = title;
    return request;
}

// Where the painting goes and how the group comes to show it.
struct Destination {
    std::string path;
    std::string fileName;         // the name the user chose, or empty
    bool replacesTexture = false; // the group's texture's own file
};

// The texture's own file when it is a MAT in a folder, else NAME.MAT in the model's mat
// folder; a save dialog when the name is not a plain file name. Nothing when cancelled.
std::optional<Destination> destinationOf(ShellState& shell, Platform& platform,
                                         const GlGroup& group) {
    const Model& model = *shell.currentModel;
    const Material* material = model.materialAt(group.material);
    if (material != nullptr && isPlainFileName(material->name)) {
        const std::string own = fileOnDisk(material->path);
        if (model.isTextured(group.material) && !own.empty() &&
            formatForPath(own) == TextureFormat::Mat)
            return Destination{own, {}, true};
        return Destination{resolveFileName(shell.currentDirectory + "mat" + kPathSeparator +
                                           material->name + ".MAT"),
                           {},
                           false};
    }
    Destination chosen{shell.currentDirectory, {}, false};
    FileDialogRequest request = dialogRequest(FileDialogRequest::Kind::Save, "Save the painting as",
                                              {{"MAT", "*.mat"}}, "mat");
    if (!platform.fileDialogs.showFileDialog(request, chosen.path, chosen.fileName))
        return std::nullopt;
    return chosen;
}

// What the user should know before the painting is written: its proportions against the
// texture's, and sides that are no powers of two.
std::string warningsFor(const RgbaPixels& painting, const Model& model, const GlGroup& group) {
    std::string warnings;
    if (model.isTextured(group.material)) {
        const Material& texture = *model.materialAt(group.material);
        if (std::int64_t{painting.width} * texture.height !=
            std::int64_t{painting.height} * texture.width)
            warnings += "\n\nThe painting is " + sizeText(painting.width, painting.height) +
                        " pixels and the texture " + sizeText(texture.width, texture.height) +
                        ": of other proportions, the painting is stretched on the model.";
    }
    if (!hasPowerOfTwoSides(painting.width, painting.height))
        warnings += "\n\nThe painting's sides are not powers of two, which the game's renderer "
                    "wants.";
    return warnings;
}

} // namespace

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("/\\:") == std::string::npos &&
           name.find("..") == std::string::npos;
}

void exportTemplateCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentModel || !shell.currentEditor)
        return;
    const Model& model = *shell.currentModel;
    const GlGroup& group = chosenGroup(shell);
    const auto [texture, width, height] = templateBaseOf(model, group);
    // The GL texture holds the image shown; the file is read again for the ground.
    const RgbaPixels underlay =
        texture ? shell.textureLoader.uprightImageOf(*texture) : RgbaPixels{};

    std::vector<TemplateKind> kinds;
    std::vector<FileFilter> filters;
    for (const int times : kMultiples) {
        if (!withinImageLimits(std::int64_t{width} * times, std::int64_t{height} * times))
            break;
        const std::string size = sizeText(width * times, height * times) + ", " +
                                 (times == 1 ? std::string(texture ? "the texture's size"
                                                                   : "for a group without texture")
                                             : std::to_string(times) + " times the texture's");
        for (const bool onTexture : {false, true}) {
            if (onTexture && underlay.empty())
                continue;
            kinds.push_back({width * times, height * times, onTexture});
            filters.push_back(
                {size + (onTexture ? ": outlines on the texture" : ": outlines only"), "*.png"});
        }
    }
    int chosen = 0;
    std::string path = shell.currentDirectory +
                       (isPlainFileName(group.name) ? group.name : std::string("template")) +
                       ".png";
    std::string fileName;
    FileDialogRequest request =
        dialogRequest(FileDialogRequest::Kind::Save, "Export paint template", filters, "png");
    request.note = kTemplateNote;
    request.chosenFilter = &chosen;
    if (kinds.empty() || !platform.fileDialogs.showFileDialog(request, path, fileName))
        return;
    const TemplateKind& kind = kinds[static_cast<std::size_t>(
        chosen >= 0 && chosen < static_cast<int>(kinds.size()) ? chosen : 0)];
    const Mesh& mesh = model.meshes[static_cast<std::size_t>(shell.currentEditor->meshIndex)];
    const RgbaPixels image =
        paintTemplate(mesh, group, kind.width, kind.height, kind.onTexture ? &underlay : nullptr);
    const std::string error = image.empty() ? "There is not enough memory for an image of " +
                                                  sizeText(kind.width, kind.height) + " pixels."
                                            : platform.images.writePng(path, image);
    if (!error.empty())
        fileError(platform, "The paint template was not written to\n" + path + "\n\n" + error);
}

void importPaintingCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentModel || !shell.currentEditor)
        return;
    std::string imagePath;
    std::string imageName;
    const FileDialogRequest open = dialogRequest(
        FileDialogRequest::Kind::Open, "Import painting",
        {{"PNG and BMP images", "*.png;*.bmp"}, {"PNG", "*.png"}, {"BMP", "*.bmp"}}, "png");
    if (!platform.fileDialogs.showFileDialog(open, imagePath, imageName))
        return;
    const ImageRead painting = platform.images.read(imagePath, kMaxImageSide, kMaxImagePixels);
    if (painting.status != ImageRead::Status::Read) {
        fileError(platform, "The painting was not imported.\n\n" + imagePath + ": " +
                                describeImageRead(painting));
        return;
    }

    Model& model = *shell.currentModel;
    const int m = shell.currentEditor->meshIndex;
    const int g = shell.currentEditor->groupIndex;
    const GlGroup& group = chosenGroup(shell);
    const std::optional<Destination> destination = destinationOf(shell, platform, group);
    if (!destination)
        return;
    const std::string& target = destination->path;
    // The model file names each texture in one word.
    if (destination->fileName.find_first_of(" \t") != std::string::npos) {
        fileError(platform, "The painting was not imported: the file name " +
                                destination->fileName +
                                " contains a blank, and a 3DO file names each texture in one "
                                "word.");
        return;
    }
    std::error_code status;
    const bool replacing = std::filesystem::is_regular_file(target, status);
    const std::string warnings = warningsFor(painting.image, model, group);
    const std::string backup = target + ".bak";
    // A file the user chose in the save dialog was asked about there.
    if (replacing && destination->fileName.empty()) {
        if (!askYes(platform, "Replace the texture file\n\n" + target +
                                  "\n\nwith the painting? The file it replaces is kept as " +
                                  std::filesystem::path(backup).filename().string() + "." +
                                  warnings))
            return;
    } else if (!warnings.empty() && !askYes(platform, "Write the painting as the texture file\n\n" +
                                                          target + "?" + warnings)) {
        return;
    }

    // 8-bit through the palette when the texture it replaces came through it, else 16-bit.
    const Material* old = model.materialAt(group.material);
    const bool indexed = model.isTextured(group.material) && old->usesPalette;
    const EncodeResult encoded = encodeMat(
        viewOf(painting.image), indexed ? MatPixels::Indexed : MatPixels::Rgb565, shell.palette);
    if (!encoded) {
        fileError(platform, "The painting was not imported: " + imagePath +
                                " cannot be written as a MAT file.");
        return;
    }
    std::error_code error;
    if (replacing)
        std::filesystem::copy_file(target, backup,
                                   std::filesystem::copy_options::overwrite_existing, error);
    else if (const auto folder = std::filesystem::path(target).parent_path(); !folder.empty())
        std::filesystem::create_directories(folder, error);
    if (error) {
        fileError(platform, "The painting was not imported: " +
                                (replacing ? "the texture file could not be kept as\n" + backup
                                           : "no folder could be made for\n" + target) +
                                "\n\n" + error.message() + ".");
        return;
    }
    if (const std::string failure = writeFileBytes(target, encoded.bytes); !failure.empty()) {
        fileError(platform, "The painting was not written to\n" + target + "\n\n" + failure);
        return;
    }

    // The group shows the file: read again where it was its texture's already; else the group
    // (or its material) is given the file, which is a change of the model.
    if (!destination->fileName.empty()) {
        giveGroupTexture(shell, platform, m, g, destination->fileName, target);
    } else if (destination->replacesTexture) {
        reloadTextureFile(shell, target);
    } else {
        Material& material = model.materials[static_cast<std::size_t>(group.material)];
        changeMaterials(shell, platform, [&] {
            // The model keeps the name it has: the file is that name's.
            const std::string name = material.name;
            shell.textureLoader.loadTexture(material, target);
            material.name = name;
        });
    }
    platform.windows.requestFrame();
}

} // namespace sw
