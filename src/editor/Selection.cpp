#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"
#include "platform/MessageBoxF.h"

namespace sw {

using editor::flip;
using editor::forEachVertexOnce;
using editor::groupOf;
using editor::meshOf;

namespace {

// Whether (u, v) lies strictly inside the box: a vertex on its border is outside.
bool strictlyInside(const GlTxvert& t, double lowU, double highU, double lowV, double highV) {
    return lowU < t.u && t.u < highU && lowV < t.v && t.v < highV;
}

// The bounds of the anchor and the moving corner along one axis, lower first.
void order(double anchor, double current, double& low, double& high) {
    if (current > anchor) {
        high = current;
        low = anchor;
    } else if (current < anchor) {
        low = current;
        high = anchor;
    } else {
        low = high = anchor;
    }
}

} // namespace

bool UvEditor::anySelected(const Model& model) const {
    const Mesh& mesh = meshOf(model, meshIndex);
    bool any = false;
    editor::forEachCorner(mesh, groupOf(mesh, groupIndex),
                          [&](const GlTxvert& t) { any = any || t.selected; });
    return any;
}

bool UvEditor::hasSelection(const Model& model, MessageBoxService& messages) const {
    const bool any = anySelected(model);
    if (!any)
        messageBoxF(messages, Window::Controls, "Skinweaver 1.1",
                    "You must make a selection first.\nDrag a rectangle or click on individual "
                    "vertices to make a selection.");
    return any;
}

// Every vertex in the box flips, not only the nearest: vertices that lie on top of each other
// are picked together.
void UvEditor::toggleAt(Model& model, double u, double v, double reachU, double reachV) {
    const double lowU = u - reachU;
    const double highU = u + reachU;
    const double lowV = v - reachV;
    const double highV = v + reachV;
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), [&](GlTxvert& t) {
        if (strictlyInside(t, lowU, highU, lowV, highV))
            flip(t);
    });
}

void UvEditor::beginRect(double u, double v) {
    rectActive = true;
    rectAnchorU = rectCurrentU = rectLowU = rectHighU = u;
    rectAnchorV = rectCurrentV = rectLowV = rectHighV = v;
}

// The moving corner follows the sum of the pointer's steps.
void UvEditor::dragRect(double du, double dv) {
    rectCurrentU += du;
    rectCurrentV += dv;
    order(rectAnchorV, rectCurrentV, rectLowV, rectHighV);
    order(rectAnchorU, rectCurrentU, rectLowU, rectHighU);
}

void UvEditor::endRect(Model& model) {
    rectActive = false;
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), [&](GlTxvert& t) {
        if (strictlyInside(t, rectLowU, rectHighU, rectLowV, rectHighV))
            flip(t);
    });
}

void UvEditor::selectAll(Model& model) {
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), [](GlTxvert& t) { t.selected = true; });
}

void UvEditor::selectNone(Model& model) {
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), [](GlTxvert& t) { t.selected = false; });
}

void UvEditor::invertSelection(Model& model) {
    Mesh& mesh = meshOf(model, meshIndex);
    forEachVertexOnce(mesh, groupOf(mesh, groupIndex), flip);
}

} // namespace sw
