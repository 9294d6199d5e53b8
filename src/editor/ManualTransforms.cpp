#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

#include <algorithm>

namespace sw {

using editor::forEachVertexOnce;
using editor::groupOf;
using editor::meshOf;

namespace {

// The bounds of the selected vertices' u and v.
struct Bounds {
    double lowU = kHuge, highU = -kHuge, lowV = kHuge, highV = -kHuge;
};

Bounds selectionBounds(Mesh& mesh, GlGroup& group) {
    Bounds bounds;
    forEachVertexOnce(mesh, group, [&](GlTxvert& t) {
        if (!t.selected)
            return;
        bounds.lowU = std::min(bounds.lowU, t.u);
        bounds.highU = std::max(bounds.highU, t.u);
        bounds.lowV = std::min(bounds.lowV, t.v);
        bounds.highV = std::max(bounds.highV, t.v);
    });
    return bounds;
}

// Scales one coordinate of the selected vertices about `middle`; nothing is clamped, so
// vertices may leave the texture and tile it.
void scaleAxis(Mesh& mesh, GlGroup& group, double factor, double GlTxvert::*axis, double middle) {
    forEachVertexOnce(mesh, group, [&](GlTxvert& t) {
        if (!t.selected)
            return;
        double& value = t.*axis;
        value -= middle;
        value *= factor;
        value += middle;
    });
}

} // namespace

void UvEditor::moveSelection(Model& model, double du, double dv) {
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), [&](GlTxvert& t) {
        if (t.selected) {
            t.u += du;
            t.v += dv;
        }
    });
    fitView(model);
}

void UvEditor::scaleU(Model& model, double factor) {
    Mesh& mesh = meshOf(model, meshIndex);
    GlGroup& group = groupOf(mesh, groupIndex);
    const Bounds bounds = selectionBounds(mesh, group);
    scaleAxis(mesh, group, factor, &GlTxvert::u, (bounds.highU + bounds.lowU) * 0.5);
    fitView(model);
}

void UvEditor::scaleV(Model& model, double factor) {
    Mesh& mesh = meshOf(model, meshIndex);
    GlGroup& group = groupOf(mesh, groupIndex);
    const Bounds bounds = selectionBounds(mesh, group);
    scaleAxis(mesh, group, factor, &GlTxvert::v, (bounds.highV + bounds.lowV) * 0.5);
    fitView(model);
}

// A quarter turn in texels, (x, y) to (-y, x) about the middle, is in texture units u to
// -v * height / width and v to u * width / height.
void UvEditor::rotateSelection(Model& model, int quarterTurns) {
    const int turns = ((quarterTurns % 4) + 4) % 4;
    Mesh& mesh = meshOf(model, meshIndex);
    GlGroup& group = groupOf(mesh, groupIndex);
    const Bounds bounds = selectionBounds(mesh, group);
    const double midU = (bounds.highU + bounds.lowU) * 0.5;
    const double midV = (bounds.highV + bounds.lowV) * 0.5;
    const auto [texelsU, texelsV] = texelsOf(model);
    const double vToU = texelsV / texelsU;
    const double uToV = texelsU / texelsV;
    forEachVertexOnce(mesh, group, [&](GlTxvert& t) {
        if (!t.selected)
            return;
        const double du = t.u - midU;
        const double dv = t.v - midV;
        if (turns == 1) {
            t.u = midU - dv * vToU;
            t.v = midV + du * uToV;
        } else if (turns == 2) {
            t.u = midU - du;
            t.v = midV - dv;
        } else if (turns == 3) {
            t.u = midU + dv * vToU;
            t.v = midV - du * uToV;
        }
    });
    fitView(model);
}

// A mirror is a scale by -1 about the middle, the same in texels as in texture units.
void UvEditor::flipSelection(Model& model, bool horizontally) {
    if (horizontally)
        scaleU(model, -1);
    else
        scaleV(model, -1);
}

} // namespace sw
