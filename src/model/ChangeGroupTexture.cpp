// Giving one group of faces another texture file, and keeping the material list free of
// entries that no group uses.

#include "model/Model.h"

#include "platform/MessageBox.h"

#include <algorithm>
#include <new>

namespace sw {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Texture paths are Windows paths, whose case does not matter.
bool samePath(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

int countGroupsUsing(const Model& model, int material) {
    int count = 0;
    for (const Mesh& mesh : model.meshes)
        for (const GlGroup& group : mesh.glGroups)
            count += group.material == material ? 1 : 0;
    return count;
}

} // namespace

void Model::changeGroupTexture(int mesh, int group, const std::string& fileName,
                               const std::string& path, const TextureLoadFn& loadTexture,
                               MessageBoxService& messages) {
    if (mesh < 0 || mesh >= numMeshes() || group < 0 || group >= meshes[at(mesh)].numGlGroups())
        return;
    // The file name's last four characters are its extension; a name too short to have one
    // is kept whole, as the reader keeps such material names.
    const std::string groupName =
        fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : fileName;
    const int old = meshes[at(mesh)].glGroups[at(group)].material;
    // A material index outside the list is no slot: it is never reused and never removed.
    const bool oldIsSlot = materialAt(old) != nullptr;

    int target = -1;
    bool foundByPath = false;
    for (int i = 0; i < numMaterials() && target < 0; ++i) {
        if (samePath(materials[at(i)].path, path)) {
            target = i;
            foundByPath = true;
        }
    }
    if (target < 0 && oldIsSlot && countGroupsUsing(*this, old) == 1)
        target = old;
    if (target < 0) {
        try {
            materials.emplace_back();
        } catch (const std::bad_alloc&) {
            messages.messageBox(Window::Main, "Could not allocate memory for: materials", "Error",
                                kMbOk);
            return;
        }
        target = numMaterials() - 1;
    }

    loadTexture(materials[at(target)], path);
    GlGroup& changed = meshes[at(mesh)].glGroups[at(group)];
    changed.material = target;
    changed.name = groupName;

    if (!foundByPath || !oldIsSlot || countGroupsUsing(*this, old) > 0)
        return;
    // Nothing uses the old material any more: the last material takes its slot, so that the
    // indices stay dense.
    const int last = numMaterials() - 1;
    if (old != last) {
        const std::string lastPath = materials[at(last)].path; // a copy: loading rewrites path
        materials[at(old)].path = lastPath;
        loadTexture(materials[at(old)], lastPath);
        for (Mesh& m : meshes)
            for (GlGroup& g : m.glGroups)
                if (g.material == last)
                    g.material = old;
    }
    materials.pop_back();
}

} // namespace sw
