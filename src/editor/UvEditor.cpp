#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

namespace sw {

using editor::groupOf;
using editor::meshOf;

UvEditor::UvEditor(const Model& model, int meshIndex, int groupIndex)
    : meshIndex(meshIndex), groupIndex(groupIndex), materialIndex(groupIn(model).material) {
    fitView(model);
}

const GlGroup& UvEditor::groupIn(const Model& model) const {
    return groupOf(meshOf(model, meshIndex), groupIndex);
}

} // namespace sw
