#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

namespace sw {

using editor::forEachVertexOnce;
using editor::groupOf;
using editor::meshOf;

namespace {

// Scales one coordinate of the selected vertices about the middle of their range; nothing is
// clamped, so vertices may leave the texture and tile it.
template <typename Axis> void scaleAxis(Mesh& mesh, GlGroup& group, double factor, Axis axis) {
    double lo = kHuge;
    double hi = -kHuge;
    forEachVertexOnce(mesh, group, [&](GlTxvert& t) {
        if (!t.selected)
            return;
        const double value = axis(t);
        if (value < lo)
            lo = value;
        if (value > hi)
            hi = value;
    });
    const double mid = (hi + lo) * 0.5;
    forEachVertexOnce(mesh, group, [&](GlTxvert& t) {
        if (!t.selected)
            return;
        double& value = axis(t);
        value -= mid;
        value *= factor;
        value += mid;
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
    scaleAxis(mesh, groupOf(mesh, groupIndex), factor, [](GlTxvert& t) -> double& { return t.u; });
    fitView(model);
}

void UvEditor::scaleV(Model& model, double factor) {
    Mesh& mesh = meshOf(model, meshIndex);
    scaleAxis(mesh, groupOf(mesh, groupIndex), factor, [](GlTxvert& t) -> double& { return t.v; });
    fitView(model);
}

} // namespace sw
