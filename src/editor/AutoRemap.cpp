#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace sw {

using editor::groupOf;
using editor::meshOf;
using editor::project;

namespace editor {

GlTxvert project(const Vertex& vertex, RemapDirection direction) {
    switch (direction) {
    case RemapDirection::Front:
        return {-vertex.x, vertex.z};
    case RemapDirection::Back:
        return {vertex.x, vertex.z};
    case RemapDirection::Top:
        return {vertex.x, vertex.y};
    case RemapDirection::Bottom:
        return {-vertex.x, vertex.y};
    case RemapDirection::Left:
        return {vertex.y, vertex.z};
    case RemapDirection::Right:
        return {-vertex.y, vertex.z};
    }
    return {};
}

} // namespace editor

namespace {

// How many distinct 3D vertices the group's corners use (glVerts' marks as scratch).
std::size_t countDistinctVertices(Mesh& mesh, const GlGroup& group) {
    for (GlVert& vert : mesh.glVerts)
        vert.mark = false;
    std::size_t count = 0;
    for (const GlFace& face : group.glFaces) {
        for (const VertexRef& ref : face.refs) {
            GlVert& vert = mesh.glVerts[static_cast<std::size_t>(ref.vertex)];
            if (!vert.mark) {
                vert.mark = true;
                ++count;
            }
        }
    }
    return count;
}

// Moves one coordinate of the vertices so that its smallest value becomes 0, then divides by
// the largest, so that they span 0..1. A zero span (every vertex on one line) leaves them at 0.
// Values so far apart that their distance is no double are halved first, which is exact.
void stretchOverTexture(std::vector<GlTxvert>& txverts, double GlTxvert::*axis, double low) {
    double high = -kHuge;
    for (const GlTxvert& t : txverts)
        high = std::max(high, t.*axis);
    if (!std::isfinite(high - low)) {
        for (GlTxvert& t : txverts)
            t.*axis *= 0.5;
        low *= 0.5;
    }
    double span = -kHuge;
    for (GlTxvert& t : txverts) {
        t.*axis -= low;
        if (t.*axis > span)
            span = t.*axis;
    }
    for (GlTxvert& t : txverts)
        t.*axis = span == 0 ? 0 : t.*axis / span;
}

} // namespace

void UvEditor::takeOwnTxverts(Model& model, std::vector<GlTxvert> own) {
    GlGroup& group = groupOf(meshOf(model, meshIndex), groupIndex);
    if (group.shared)
        selectNone(model);
    group.ownTxverts = std::move(own);
    group.shared = false;
}

bool UvEditor::autoRemap(Model& model, RemapDirection direction, MessageBoxService& messages) {
    Mesh& mesh = meshOf(model, meshIndex);
    GlGroup& group = groupOf(mesh, groupIndex);

    // The first remap detaches the group from the mesh's shared texture vertices. The new
    // array is made before anything changes, so that a failure leaves the group as it was.
    // A box remap gave the group more vertices than it has 3D vertices: the array is made
    // anew then too, so that no unused vertex stays behind to be saved.
    const std::size_t distinct = countDistinctVertices(mesh, group);
    if (group.shared || group.ownTxverts.size() != distinct) {
        std::vector<GlTxvert> own;
        try {
            own.resize(distinct);
        } catch (const std::bad_alloc&) {
            messages.messageBox(Window::Main, "Could not allocate memory for: glTxverts", "Error",
                                kMbOk);
            return false;
        }
        takeOwnTxverts(model, std::move(own));
    }

    // Own vertices numbered in the order of the first corner that uses each 3D vertex; every
    // corner of that vertex shares it.
    for (Vertex& vertex : mesh.vertices)
        vertex.ownIndex = -1;
    double minU = kHuge;
    double minV = kHuge;
    int next = 0;
    for (GlFace& face : group.glFaces) {
        for (VertexRef& ref : face.refs) {
            Vertex& vertex = mesh.vertices[static_cast<std::size_t>(ref.vertex)];
            if (vertex.ownIndex != -1) {
                ref.txvert = vertex.ownIndex;
                continue;
            }
            GlTxvert& own = group.ownTxverts[static_cast<std::size_t>(next)];
            const GlTxvert projected = project(vertex, direction);
            own.u = projected.u;
            own.v = projected.v;
            if (own.u < minU)
                minU = own.u;
            if (own.v < minV)
                minV = own.v;
            ref.txvert = next;
            vertex.ownIndex = next;
            ++next;
        }
    }

    // Stretched over the texture once, each axis on its own.
    stretchOverTexture(group.ownTxverts, &GlTxvert::u, minU);
    stretchOverTexture(group.ownTxverts, &GlTxvert::v, minV);
    fitView(model);
    return true;
}

} // namespace sw
