#pragma once

#include "model/Model.h"
#include "model/ModelReader.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Models for tests: a small 3DO text to vary by replacing pieces of it, and builders of
// models in memory for the layers above the reader.
namespace sw::test {

// Two materials, one triangle mesh, one node.
inline const std::string kTriangleModel = R"(# made by hand
SECTION: HEADER
3DO 2.1
SECTION: MODELRESOURCE
MATERIALS 2
0: wall.mat
1: floor.mat
SECTION: GEOMETRYDEF
RADIUS 0.5
INSERT OFFSET 0 0 -0.1
GEOSETS 1
GEOSET 0
MESHES 1
MESH 0
NAME tri
RADIUS 1.5
GEOMETRYMODE 4
LIGHTINGMODE 3
TEXTUREMODE 3
VERTICES 3
0: 0 0 0 0
1: 1 0 0 0
2: 0 1 0.25 0.5
TEXTURE VERTICES 3
0: 0 0
1: 64 0
2: 0 -64
VERTEX NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
FACES 1
0: 1 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2
FACE NORMALS
0: 0 0 1
SECTION: HIERARCHYDEF
HIERARCHY NODES 1
0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 root
)";

// One mesh, two groups. Group 0 ("wall", a 64 x 64 texture): a fan of four triangles around
// vertex 0, its texture vertices 0 to 4 at the middle and the corners of the texture, so that
// vertex 0 belongs to four faces and each corner to two. Group 1 ("floor", untextured): a quad
// of two triangles over vertices 5 to 8, spanning 2 in x and 1 in y, lifted in z on one side.
inline const std::string kFanModel = R"(SECTION: HEADER
3DO 2.1
SECTION: MODELRESOURCE
MATERIALS 2
0: wall.mat
1: floor.mat
SECTION: GEOMETRYDEF
RADIUS 5
INSERT OFFSET 0 0 0
GEOSETS 1
GEOSET 0
MESHES 1
MESH 0
NAME fan
RADIUS 5
GEOMETRYMODE 4
LIGHTINGMODE 3
TEXTUREMODE 3
VERTICES 9
0: 0 0 2 0
1: -1 0 0 0
2: 1 0 0 0
3: 1 0 4 0
4: -1 0 4 0
5: 0 0 0 0
6: 2 0 0 0
7: 2 1 4 0
8: 0 0.5 4 0
TEXTURE VERTICES 9
0: 32 -32
1: 0 0
2: 64 0
3: 64 -64
4: 0 -64
5: 0 0
6: 1 0
7: 1 1
8: 0 1
VERTEX NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
3: 0 0 1
4: 0 0 1
5: 0 0 1
6: 0 0 1
7: 0 0 1
8: 0 0 1
FACES 6
0: 0 0x0000 4 3 3 0 3 0, 0 1, 1 2, 2
1: 0 0x0000 4 3 3 0 3 0, 0 2, 2 3, 3
2: 0 0x0000 4 3 3 0 3 0, 0 3, 3 4, 4
3: 0 0x0000 4 3 3 0 3 0, 0 4, 4 1, 1
4: 1 0x0000 4 3 3 0 3 5, 5 6, 6 7, 7
5: 1 0x0000 4 3 3 0 3 5, 5 7, 7 8, 8
FACE NORMALS
0: 0 0 1
1: 0 0 1
2: 0 0 1
3: 0 0 1
4: 0 0 1
5: 0 0 1
SECTION: HIERARCHYDEF
HIERARCHY NODES 1
0: 0x0000 0x00001 0 -1 -1 -1 0 0 0 0 0 0 0 0 0 0 root
)";

// Replaces the first occurrence of `from` (which must occur) by `to`.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::invalid_argument("text to replace not found: " + from);
    return text.replace(at, from.size(), to);
}

// Reads a text as a model through a buffer smaller than most test models, so that tokens
// meet refills. (The quarter-megabyte buffer of a file load, allocated for each of thousands
// of loads, would make the robustness runs slow under the sanitizers.)
inline bool loadText(const std::string& text, Model& model) {
    std::istringstream in(text);
    return ModelReader(in, 4096).load(model);
}

// Everything the reader stores, as text, numbers in hexadecimal floating point so that no
// difference in the last bit goes unseen.
inline std::string fileLayer(const Model& model) {
    std::ostringstream out;
    out << std::hexfloat << model.version << ' ' << model.radius << ' ' << model.insertOffset.x
        << ' ' << model.insertOffset.y << ' ' << model.insertOffset.z << ' ' << model.numGeosets
        << '\n';
    for (const Material& material : model.materials)
        out << material.name << '\n';
    for (const Mesh& mesh : model.meshes) {
        out << mesh.name << ' ' << mesh.radius << ' ' << mesh.geometryMode << mesh.lightingMode
            << mesh.textureMode << '\n';
        for (const Vertex& v : mesh.vertices)
            out << v.x << ' ' << v.y << ' ' << v.z << ' ' << v.intensity << '\n';
        for (const TextureVertex& t : mesh.txverts)
            out << t.u << ' ' << t.v << '\n';
        for (const Vector3& n : mesh.vertexNormals)
            out << n.x << ' ' << n.y << ' ' << n.z << '\n';
        for (const Face& f : mesh.faces) {
            out << f.material << ' ' << f.type << ' ' << f.geometryMode << f.lightingMode
                << f.textureMode << ' ' << f.extraLight;
            for (const VertexRef& r : f.refs(mesh.corners))
                out << ' ' << r.vertex << ',' << r.txvert;
            out << '\n';
        }
        for (const Vector3& n : mesh.faceNormals)
            out << n.x << ' ' << n.y << ' ' << n.z << '\n';
    }
    for (const HierarchyNode& n : model.nodes)
        out << n.flags << ' ' << n.type << ' ' << n.mesh << n.parent << n.child << n.sibling
            << n.numChildren << ' ' << n.x << n.y << n.z << n.pitch << n.yaw << n.roll << n.pivotx
            << n.pivoty << n.pivotz << n.hnodename << '\n';
    return out.str();
}

// Texture loading without files or GL. A searched material gets the size listed for its name,
// an explicit path the size listed for the path's file name (folder and extension cut, as the
// real loader names the material); anything not listed stays not loaded. Every call is
// recorded as the name searched or the path given.
class FakeTextures {
public:
    std::map<std::string, std::pair<int, int>> sizes;
    std::vector<std::string> calls;

    TextureLoadFn fn() {
        return [this](Material& material, const std::string& path) {
            calls.push_back(path.empty() ? material.name : path);
            material.explicitPath = !path.empty();
            if (!path.empty()) {
                material.path = path;
                const auto slash = path.find_last_of("/\\");
                std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
                material.name = name.substr(0, name.find('.'));
            } else {
                material.path = "dir/mat/" + material.name + ".MAT";
            }
            const auto it = sizes.find(material.name);
            material.notLoaded = it == sizes.end();
            material.width = material.notLoaded ? 0 : it->second.first;
            material.height = material.notLoaded ? 0 : it->second.second;
        };
    }
};

// A face written with its corners; mesh() puts the corners into the mesh's list.
struct FaceWithCorners {
    Face face;
    std::vector<VertexRef> corners;
};

inline FaceWithCorners face(int material, std::vector<VertexRef> corners) {
    FaceWithCorners f;
    f.face.material = material;
    f.face.type = "0x0000";
    f.face.geometryMode = 4;
    f.face.lightingMode = 3;
    f.face.textureMode = 3;
    f.corners = std::move(corners);
    return f;
}

inline Mesh mesh(std::vector<Vertex> vertices, std::vector<TextureVertex> txverts,
                 std::vector<FaceWithCorners> faces) {
    Mesh m;
    m.name = "mesh";
    m.vertices = std::move(vertices);
    m.txverts = std::move(txverts);
    for (FaceWithCorners& f : faces) {
        f.face.firstCorner = static_cast<int>(m.corners.size());
        f.face.numCorners = static_cast<int>(f.corners.size());
        m.corners.insert(m.corners.end(), f.corners.begin(), f.corners.end());
        m.faces.push_back(std::move(f.face));
    }
    m.vertexNormals.resize(m.vertices.size());
    m.faceNormals.resize(m.faces.size());
    return m;
}

inline Model model(std::vector<std::string> materialNames, std::vector<Mesh> meshes,
                   std::vector<HierarchyNode> nodes = {}) {
    Model m;
    for (std::string& name : materialNames)
        m.materials.emplace_back().name = std::move(name);
    m.meshes = std::move(meshes);
    m.nodes = std::move(nodes);
    return m;
}

// A mesh of `count` triangles of material 0 over three vertices.
inline Mesh triangles(int count) {
    std::vector<FaceWithCorners> faces(static_cast<std::size_t>(count),
                                       face(0, {{0, 0}, {1, 1}, {2, 2}}));
    return mesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}, {1, 0}, {0, 1}}, std::move(faces));
}

} // namespace sw::test
