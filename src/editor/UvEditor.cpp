#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

namespace sw {

using editor::groupOf;
using editor::meshOf;

UvEditor::UvEditor(const Model& model, int meshIndex, int groupIndex)
    : meshIndex(meshIndex), groupIndex(groupIndex),
      materialIndex(groupOf(meshOf(model, meshIndex), groupIndex).material) {
    fitView(model);
}

} // namespace sw
