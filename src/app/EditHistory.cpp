#include "app/EditHistory.h"

#include "app/ControlPanel.h"
#include "app/Document.h"
#include "app/ShellState.h"
#include "app/SourcesWindow.h"
#include "editor/GroupStep.h"
#include "platform/Platform.h"
#include "textures/TextureUpload.h"

#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace sw {

namespace {

// The material list and which material each group shows, under which name. Texture fields are
// not kept: a material that comes back is loaded again from its file, since its GL texture
// may be gone.
class MaterialsStep : public UndoStep {
public:
    MaterialsStep(const Model& model, TextureLoadFn loadTexture)
        : loadTexture_(std::move(loadTexture)), state_(capture(model)) {}

    void swap(Model& model) override {
        State other = capture(model);
        const std::vector<std::uint32_t> before = textureNames(model);
        std::vector<Material> restored(state_.materials.size());
        for (std::size_t i = 0; i < restored.size(); ++i) {
            const Entry& entry = state_.materials[i];
            Material& material = restored[i];
            if (i < model.materials.size() && model.materials[i].path == entry.path &&
                model.materials[i].explicitPath == entry.explicitPath) {
                material = std::move(model.materials[i]);
            } else {
                material.name = entry.name;
                loadTexture_(material, entry.explicitPath ? entry.path : std::string());
            }
            material.name = entry.name;
        }
        model.materials = std::move(restored);
        std::size_t next = 0;
        for (Mesh& mesh : model.meshes) {
            for (GlGroup& group : mesh.glGroups) {
                group.material = state_.groups[next].first;
                group.name = state_.groups[next].second;
                ++next;
            }
        }
        deleteTexturesNoLongerUsed(before, model);
        state_ = std::move(other);
    }

    bool matches(const Model& model) const override {
        const State now = capture(model);
        return now.materials == state_.materials && now.groups == state_.groups;
    }
    std::size_t bytes() const override {
        std::size_t total = sizeof(*this);
        for (const Entry& entry : state_.materials)
            total += sizeof(Entry) + entry.name.capacity() + entry.path.capacity();
        for (const auto& group : state_.groups)
            total += sizeof(group) + group.second.capacity();
        return total;
    }
    StepScope scope() const override { return {-1, -1, true}; }

private:
    struct Entry {
        std::string name;
        std::string path;
        bool explicitPath = false;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    struct State {
        std::vector<Entry> materials;
        std::vector<std::pair<int, std::string>> groups; // every mesh's, mesh after mesh
    };
    static State capture(const Model& model) {
        State state;
        for (const Material& material : model.materials)
            state.materials.push_back({material.name, material.path, material.explicitPath});
        for (const Mesh& mesh : model.meshes)
            for (const GlGroup& group : mesh.glGroups)
                state.groups.emplace_back(group.material, group.name);
        return state;
    }

    TextureLoadFn loadTexture_;
    State state_;
};

class OffsetStep : public UndoStep {
public:
    explicit OffsetStep(const Model& model) : offset_(model.insertOffset) {}
    void swap(Model& model) override { std::swap(offset_, model.insertOffset); }
    bool matches(const Model& model) const override {
        return offset_.x == model.insertOffset.x && offset_.y == model.insertOffset.y &&
               offset_.z == model.insertOffset.z;
    }
    std::size_t bytes() const override { return sizeof(*this); }
    StepScope scope() const override { return {}; }

private:
    Vector3 offset_;
};

// Runs a change recorded by `record` and keeps the step when the change changed anything.
// Without the memory for a step the change is still made, and the history, which could no
// longer lead back across it, is dropped.
template <typename Record, typename Change>
bool recordedChange(ShellState& shell, Platform& platform, Record&& record, Change&& change) {
    std::unique_ptr<UndoStep> step;
    try {
        step = record();
    } catch (const std::bad_alloc&) {
        shell.history.clear();
        shell.history.markUnsavedWithoutSteps();
    }
    const bool changed = change() && (!step || !step->matches(*shell.currentModel));
    if (changed && step)
        shell.history.push(std::move(step));
    documentChanged(shell, platform.windows);
    return changed;
}

// Follows a step that undo or redo swapped: the chosen group's editor takes the group's texture
// and bounds as they are now, and the texture list its names.
void followStep(ShellState& shell, Platform& platform, const StepScope& scope) {
    Model& model = *shell.currentModel;
    if (UvEditor* editor = shell.currentEditor.get()) {
        editor->materialIndex = editor->groupIn(model).material;
        // New bounds; a view the user zoomed or panned stays where it is.
        editor->fitView(model);
    }
    if (scope.materials) {
        WindowSystem& windows = platform.windows;
        refreshMissingTextures(shell, windows);
        const int m = windows.currentRow(ControlId::MeshList);
        const int g = windows.currentRow(ControlId::TextureList);
        if (m != -1) {
            fillTextureList(model.meshes[static_cast<std::size_t>(m)], windows);
            windows.setCurrentRow(ControlId::TextureList, g);
        }
    }
    platform.windows.requestFrame();
    documentChanged(shell, platform.windows);
}

} // namespace

bool changeChosenGroup(ShellState& shell, Platform& platform, const std::function<bool()>& change,
                       bool gesture) {
    const UvEditor& editor = *shell.currentEditor;
    const int mesh = editor.meshIndex;
    const int group = editor.groupIndex;
    const auto markEdited = [&] {
        shell.currentModel->meshes[static_cast<std::size_t>(mesh)]
            .glGroups[static_cast<std::size_t>(group)]
            .edited = true;
    };
    if (const UndoStep* open = shell.history.openGesture();
        gesture && open && open->scope().mesh == mesh && open->scope().group == group) {
        const bool changed = change();
        if (changed)
            markEdited();
        documentChanged(shell, platform.windows);
        return changed;
    }
    const bool changed = recordedChange(
        shell, platform, [&] { return GroupStep::record(*shell.currentModel, mesh, group); },
        change);
    if (changed) {
        markEdited();
        if (gesture)
            shell.history.openLatestAsGesture();
    }
    return changed;
}

void changeMaterials(ShellState& shell, Platform& platform, const std::function<void()>& change) {
    recordedChange(
        shell, platform,
        [&] {
            return std::make_unique<MaterialsStep>(*shell.currentModel,
                                                   shell.textureLoader.function());
        },
        [&] {
            change();
            return true;
        });
    refreshMissingTextures(shell, platform.windows);
}

void changeOffset(ShellState& shell, Platform& platform, const std::function<void()>& change) {
    recordedChange(
        shell, platform, [&] { return std::make_unique<OffsetStep>(*shell.currentModel); },
        [&] {
            change();
            return true;
        });
}

void closeGesture(ShellState& shell) {
    shell.history.closeGesture();
    // The view held still under the hand while CTRL moved vertices; it follows them again.
    if (shell.currentEditor)
        shell.currentEditor->releaseGesture();
}

void undoCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentModel)
        return;
    if (const UndoStep* step = shell.history.undo(*shell.currentModel))
        followStep(shell, platform, step->scope());
}

void redoCommand(ShellState& shell, Platform& platform) {
    if (!shell.currentModel)
        return;
    if (const UndoStep* step = shell.history.redo(*shell.currentModel))
        followStep(shell, platform, step->scope());
}

void documentChanged(ShellState& shell, WindowSystem& windows) {
    updateTitle(shell, windows);
    const bool open = shell.currentModel != nullptr;
    windows.enable(ControlId::MenuUndo, open && shell.history.canUndo());
    windows.enable(ControlId::MenuRedo, open && shell.history.canRedo());
    keepChangesLater(shell, windows);
}

} // namespace sw
