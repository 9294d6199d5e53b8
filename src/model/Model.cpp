#include "model/Model.h"

namespace sw {

void Mesh::clearGroupSelection() {
    for (GlGroup& group : glGroups)
        group.selected = false;
}

void Mesh::selectGroup(int group) {
    if (group >= 0 && group < numGlGroups())
        glGroups[static_cast<std::size_t>(group)].selected = true;
}

void Model::clearGroupSelection() {
    for (Mesh& mesh : meshes)
        mesh.clearGroupSelection();
}

} // namespace sw
