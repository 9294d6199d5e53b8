#include "model/SaveWarning.h"

namespace sw {

std::string untexturedEditsWarning(const Model& model) {
    std::string groups;
    for (const Mesh& mesh : model.meshes) {
        for (const GlGroup& group : mesh.glGroups) {
            if (model.isTextured(group.material) || (group.shared && !group.edited))
                continue;
            groups += "    " + mesh.name + ", " + group.name + ": ";
            groups += group.shared
                          ? "its edits are not saved (it still uses the file's texture vertices)\n"
                          : "saved in fractions of a texture, which the game shows as one "
                            "stretched texel\n";
        }
    }
    if (groups.empty())
        return {};
    return "These texture groups were changed, but their textures were not found:\n\n" + groups +
           "\nTo save them in texels, add the folder or archive that holds their textures in "
           "Options > Texture sources, reload the model and change them again.";
}

} // namespace sw
