#pragma once

#include "editor/UvEditor.h"
#include "model/Model.h"

#include <cstddef>
#include <vector>

// Walks over the texture vertices of one group, for the editor's operations.
namespace sw::editor {

inline Mesh& meshOf(Model& model, int mesh) {
    return model.meshes[static_cast<std::size_t>(mesh)];
}
inline const Mesh& meshOf(const Model& model, int mesh) {
    return model.meshes[static_cast<std::size_t>(mesh)];
}
inline GlGroup& groupOf(Mesh& mesh, int group) {
    return mesh.glGroups[static_cast<std::size_t>(group)];
}
inline const GlGroup& groupOf(const Mesh& mesh, int group) {
    return mesh.glGroups[static_cast<std::size_t>(group)];
}

// The array the group's corners index.
inline std::vector<GlTxvert>& txvertsOf(Mesh& mesh, GlGroup& group) {
    return group.shared ? mesh.glTxverts : group.ownTxverts;
}
inline const std::vector<GlTxvert>& txvertsOf(const Mesh& mesh, const GlGroup& group) {
    return group.shared ? mesh.glTxverts : group.ownTxverts;
}

// The texture vertex of every corner of the group's faces, face after face.
inline std::vector<int> cornerTxverts(const GlGroup& group) {
    std::vector<int> txverts;
    for (const GlFace& face : group.glFaces)
        for (const VertexRef& ref : face.refs)
            txverts.push_back(ref.txvert);
    return txverts;
}
// Gives the group's corners, face after face, the texture vertices `txverts` lists, one a
// corner.
inline void setCornerTxverts(GlGroup& group, const std::vector<int>& txverts) {
    std::size_t corner = 0;
    for (GlFace& face : group.glFaces)
        for (VertexRef& ref : face.refs)
            ref.txvert = txverts[corner++];
}

// Calls fn on the texture vertex of every corner of the group's faces, in order, repeats
// included. A corner naming no vertex of the array is passed over.
template <typename Fn> void forEachCorner(const Mesh& mesh, const GlGroup& group, Fn&& fn) {
    const std::vector<GlTxvert>& txverts = txvertsOf(mesh, group);
    for (const GlFace& face : group.glFaces) {
        for (const VertexRef& ref : face.refs) {
            const auto t = static_cast<std::size_t>(ref.txvert);
            if (t < txverts.size())
                fn(txverts[t]);
        }
    }
}

// Calls fn once on each texture vertex of the group. The group's own vertices are all of its
// own array; shared ones are those its corners name, each taken at its first corner and
// marked visited, so that a vertex used by several faces is acted on once.
template <typename Fn> void forEachVertexOnce(Mesh& mesh, GlGroup& group, Fn&& fn) {
    if (!group.shared) {
        for (GlTxvert& txvert : group.ownTxverts)
            fn(txvert);
        return;
    }
    for (GlTxvert& txvert : mesh.glTxverts)
        txvert.visited = false;
    for (const GlFace& face : group.glFaces) {
        for (const VertexRef& ref : face.refs) {
            const auto t = static_cast<std::size_t>(ref.txvert);
            if (t >= mesh.glTxverts.size() || mesh.glTxverts[t].visited)
                continue;
            mesh.glTxverts[t].visited = true;
            fn(mesh.glTxverts[t]);
        }
    }
}

// The plane of each direction: which coordinates of the file's vertex become u and v.
GlTxvert project(const Vertex& vertex, RemapDirection direction);

inline void flip(GlTxvert& txvert) {
    txvert.selected = !txvert.selected;
}

} // namespace sw::editor
