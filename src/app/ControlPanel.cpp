#include "app/ControlPanel.h"

#include "app/EditHistory.h"
#include "app/Frame.h"
#include "app/InterfaceState.h"
#include "app/ShellState.h"
#include "app/Windows.h"
#include "platform/Platform.h"
#include "textures/TextureUpload.h"

#include <locale.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace sw {

namespace {

using Id = ControlId;

constexpr const char* kHelpText =
    "Drag a rectangle or click on individual vertices to make a selection.\n\nHold CTRL and use "
    "the mouse to move the selection.\n\nScaling Tips:\n\n     * Scale by -1 to flip the vertices "
    "around the axis.\n\n     * Scale by 0 to ''merge'' vertices.\n\n     * Scale up beyond the "
    "edges of the texture to create a tiling effect.\n       (This can be put to good use in "
    "level design)";

// The factor box is read into a buffer of 16 characters: at most 15 of its text count.
constexpr std::size_t kFactorLength = 15;

// Display modes of a mesh.
constexpr int kHide = 0;
constexpr int kWire = 1;
constexpr int kShow = 2;

Mesh& meshAt(Model& model, int row) {
    return model.meshes[static_cast<std::size_t>(row)];
}

// The editor of the chosen group, made anew (the old one goes first): the view is fitted again
// and the rectangle is gone, while the vertices keep their selection, which lives in the model.
void replaceEditor(ShellState& shell, int mesh, int group) {
    shell.currentEditor.reset();
    shell.currentEditor = std::make_unique<UvEditor>(*shell.currentModel, mesh, group);
}

void dropEditor(ShellState& shell) {
    shell.currentEditor.reset();
}

void chooseMesh(ShellState& shell, WindowSystem& windows) {
    const int m = windows.currentRow(Id::MeshList);
    if (m == -1)
        return;
    fillTextureList(meshAt(*shell.currentModel, m), windows);
    shell.currentModel->clearGroupSelection();
    if (shell.interfaceState == InterfaceState::TextureChosen) {
        setTextureChosen(shell, windows, false);
        dropEditor(shell);
    }
}

void chooseTexture(ShellState& shell, WindowSystem& windows) {
    shell.currentModel->clearGroupSelection();
    const int m = windows.currentRow(Id::MeshList);
    const int g = windows.currentRow(Id::TextureList);
    if (m == -1 || g == -1)
        return;
    meshAt(*shell.currentModel, m).selectGroup(g);
    if (shell.interfaceState == InterfaceState::ModelOpen)
        setTextureChosen(shell, windows, true);
    replaceEditor(shell, m, g);
}

void setDisplayMode(ShellState& shell, WindowSystem& windows, int mode, bool everyMesh) {
    windows.setFocus(Id::MeshList);
    if (everyMesh) {
        for (Mesh& mesh : shell.currentModel->meshes)
            mesh.displayMode = mode;
    } else if (const int m = windows.currentRow(Id::MeshList); m != -1) {
        meshAt(*shell.currentModel, m).displayMode = mode;
    }
    windows.setFocus(Id::MeshList);
}

void changeTexture(ShellState& shell, Platform& platform) {
    WindowSystem& windows = platform.windows;
    const int m = windows.currentRow(Id::MeshList);
    const int g = windows.currentRow(Id::TextureList);
    if (m == -1 || g == -1)
        return;
    std::string path;
    std::string fileName;
    if (!showOpenDialog(platform.fileDialogs, Window::Controls, path, fileName,
                        {{"MAT and BMP", "*.mat;*.bmp"}, {"MAT", "*.mat"}, {"BMP", "*.bmp"}}))
        return;
    // The material's name is one word of the model file: a blank in it would save a model
    // that no reader can load again.
    if (fileName.find_first_of(" \t") != std::string::npos) {
        platform.messageBoxes.messageBox(
            Window::Controls,
            "The texture was not changed: its file name contains a blank.\n\n" + fileName +
                "\n\nA 3DO file names each texture in one word. Rename the file without "
                "blanks and choose it again.",
            kProgramTitle, kMbOk | kMbIconExclamation);
        return;
    }
    giveGroupTexture(shell, platform, m, g, fileName, path);
}

void dropTexture(ShellState& shell, WindowSystem& windows) {
    windows.setFocus(Id::MeshList);
    windows.setCurrentRow(Id::TextureList, -1);
    shell.currentModel->clearGroupSelection();
    setTextureChosen(shell, windows, false);
    dropEditor(shell);
    windows.setFocus(Id::MeshList);
}

void switchViews(ShellState& shell, WindowSystem& windows) {
    if (shell.modelViewActive) {
        setEditing(shell, windows, true);
        shell.modelViewActive = false;
        shell.textureViewActive = true;
        // Entered anew, the view fits the vertices and follows them.
        if (shell.currentEditor)
            shell.currentEditor->followVertices();
    } else if (shell.textureViewActive) {
        setEditing(shell, windows, false);
        shell.modelViewActive = true;
        shell.textureViewActive = false;
        setupViewProjection(shell);
    }
    windows.requestFrame();
}

void scale(ShellState& shell, Platform& platform) {
    UvEditor& editor = *shell.currentEditor;
    Model& model = *shell.currentModel;
    if (!editor.hasSelection(model, platform.messageBoxes))
        return;
    const std::string text = platform.windows.text(Id::ScaleFactor).substr(0, kFactorLength);
    if (text.empty())
        return;
    const double factor = factorOf(text);
    WindowSystem& windows = platform.windows;
    changeChosenGroup(shell, platform, [&] {
        if (windows.isChecked(Id::AxisX)) {
            editor.scaleU(model, factor);
        } else if (windows.isChecked(Id::AxisY)) {
            editor.scaleV(model, factor);
        } else if (windows.isChecked(Id::AxisXY)) {
            editor.scaleU(model, factor);
            editor.scaleV(model, factor);
        }
        return true;
    });
}

bool isDirection(ControlId id) {
    return toInt(id) >= toInt(Id::Front) && toInt(id) <= toInt(Id::Right);
}

} // namespace

void boxRemapCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentEditor || !shell.currentModel)
        return;
    changeChosenGroup(shell, platform, [&] {
        return shell.currentEditor->boxRemap(*shell.currentModel, platform.messageBoxes);
    });
    platform.windows.requestFrame();
}

void giveGroupTexture(ShellState& shell, Platform& platform, int m, int g,
                      const std::string& fileName, const std::string& path) {
    Model& model = *shell.currentModel;
    changeMaterials(shell, platform, [&] {
        const std::vector<std::uint32_t> before = textureNames(model);
        model.changeGroupTexture(m, g, fileName, path, shell.textureLoader.function(),
                                 platform.messageBoxes);
        deleteTexturesNoLongerUsed(before, model);
    });

    WindowSystem& windows = platform.windows;
    Mesh& mesh = meshAt(model, m);
    fillTextureList(mesh, windows);
    mesh.clearGroupSelection();
    windows.setCurrentRow(Id::TextureList, g);
    mesh.selectGroup(g);
    replaceEditor(shell, m, g);
}

void fillTextureList(const Mesh& mesh, WindowSystem& windows) {
    windows.resetList(Id::TextureList);
    for (int i = 0; i < mesh.numGlGroups(); ++i)
        windows.insertRow(Id::TextureList, i, mesh.glGroups[static_cast<std::size_t>(i)].name);
}

double factorOf(const std::string& text) {
    // The program runs in the user's locale, where the decimal point may be a comma; the
    // factor is read in the C locale, as the classic program read it.
    const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale == static_cast<locale_t>(nullptr))
        return std::strtod(text.c_str(), nullptr);
    const locale_t previous = uselocale(cLocale);
    const double factor = std::strtod(text.c_str(), nullptr);
    uselocale(previous);
    freelocale(cLocale);
    return factor;
}

void controlPanelCommand(ShellState& shell, Platform& platform, ControlId id,
                         Notification notification) {
    WindowSystem& windows = platform.windows;
    // The panel's controls are greyed while no model is open, and the editor's while no
    // texture is chosen; a command arriving anyway finds nothing to act on.
    if (!shell.currentModel)
        return;
    const bool panelFocus = id != Id::MeshList && id != Id::TextureList;
    switch (id) {
    case Id::MeshList:
        if (notification == Notification::SelectionChange) {
            chooseMesh(shell, windows);
        } else if (notification == Notification::DoubleClick) {
            if (const int m = windows.currentRow(Id::MeshList); m != -1) {
                int& mode = meshAt(*shell.currentModel, m).displayMode;
                mode = mode == kHide ? kWire : mode == kWire ? kShow : kHide;
            }
        }
        return;
    case Id::Hide:
    case Id::Wire:
    case Id::Show:
        setDisplayMode(shell, windows, toInt(id) - toInt(Id::Hide), false);
        return;
    case Id::HideAll:
    case Id::WireAll:
    case Id::ShowAll:
        setDisplayMode(shell, windows, toInt(id) - toInt(Id::HideAll), true);
        return;
    case Id::TextureList:
        if (notification == Notification::SelectionChange) {
            chooseTexture(shell, windows);
        } else if (notification == Notification::DoubleClick) {
            changeTexture(shell, platform);
            windows.setFocus(Id::TextureList);
        }
        return;
    case Id::ChangeTexture:
        changeTexture(shell, platform);
        windows.setFocus(Id::TextureList);
        return;
    case Id::SelectNoneTexture:
        dropTexture(shell, windows);
        return;
    case Id::Edit:
        switchViews(shell, windows);
        break;
    case Id::Help:
        platform.messageBoxes.messageBox(Window::Controls, kHelpText, kProgramTitle, kMbOk);
        break;
    case Id::AxisX:
    case Id::AxisY:
    case Id::AxisXY:
        for (const ControlId radio : {Id::AxisX, Id::AxisY, Id::AxisXY})
            windows.setChecked(radio, radio == id);
        break;
    default:
        if (!shell.currentEditor)
            break;
        if (isDirection(id)) {
            changeChosenGroup(shell, platform, [&] {
                return shell.currentEditor->autoRemap(*shell.currentModel,
                                                      static_cast<RemapDirection>(toInt(id)),
                                                      platform.messageBoxes);
            });
        } else if (id == Id::BoxRemap) {
            boxRemapCommand(shell, platform);
        } else if (id == Id::SelectAll || id == Id::SelectNone || id == Id::Invert) {
            windows.setFocus(Window::Controls);
            UvEditor& editor = *shell.currentEditor;
            if (id == Id::SelectAll)
                editor.selectAll(*shell.currentModel);
            else if (id == Id::SelectNone)
                editor.selectNone(*shell.currentModel);
            else
                editor.invertSelection(*shell.currentModel);
        } else if (id == Id::Scale) {
            scale(shell, platform);
        }
        break;
    }
    if (panelFocus)
        windows.setFocus(Window::Controls);
}

} // namespace sw
