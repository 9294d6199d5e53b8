#include "model/Model.h"

namespace sw {

void Model::deselectGroups(int mesh) {
    if (mesh < 0 || mesh >= numMeshes())
        return;
    for (GlGroup& group : meshes[static_cast<std::size_t>(mesh)].glGroups)
        group.selected = false;
}

void Model::selectGroup(int mesh, int group) {
    if (mesh < 0 || mesh >= numMeshes())
        return;
    auto& groups = meshes[static_cast<std::size_t>(mesh)].glGroups;
    if (group >= 0 && group < static_cast<int>(groups.size()))
        groups[static_cast<std::size_t>(group)].selected = true;
}

void Model::deselectAllGroups() {
    for (Mesh& mesh : meshes)
        for (GlGroup& group : mesh.glGroups)
            group.selected = false;
}

} // namespace sw
