#pragma once

#include "model/Model.h"
#include "model/ModelReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

// Models for tests: a small 3DO text to vary by replacing pieces of it, and builders of
// models in memory for the layers above the reader.
namespace sw::test {

// Two materials, one triangle mesh, one node.
inline const std::string kTriangleModel = dataFile("triangle.3do");

// One mesh, two groups. Group 0 ("wall", a 64 x 64 texture): a fan of four triangles around
// vertex 0, its texture vertices 0 to 4 at the middle and the corners of the texture, so that
// vertex 0 belongs to four faces and each corner to two. Group 1 ("floor", untextured): a quad
// of two triangles over vertices 5 to 8, spanning 2 in x and 1 in y, lifted in z on one side.
inline const std::string kFanModel = dataFile("fan.3do");

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

// Everything the reader stores, a line a record, each real as the shortest text that reads
// back as the same double, so that no difference in the last bit goes unseen.
inline std::string fileLayer(const Model& model) {
    std::string out;
    const auto put = [&out](const auto& field) {
        if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(field)>>) {
            char text[32];
            out.append(text, std::to_chars(text, text + sizeof text, field).ptr);
        } else {
            out += field;
        }
        out += ' ';
    };
    const auto line = [&](const auto&... fields) {
        (put(fields), ...);
        out.back() = '\n';
    };
    line("model", model.version, model.radius, model.insertOffset.x, model.insertOffset.y,
         model.insertOffset.z, model.numGeosets);
    for (const Material& material : model.materials)
        line("material", material.name);
    for (const Mesh& mesh : model.meshes) {
        line("mesh", mesh.name, mesh.radius, mesh.geometryMode, mesh.lightingMode,
             mesh.textureMode);
        for (const Vertex& v : mesh.vertices)
            line("vertex", v.x, v.y, v.z, v.intensity);
        for (const TextureVertex& t : mesh.txverts)
            line("txvert", t.u, t.v);
        for (const Vector3& n : mesh.vertexNormals)
            line("normal", n.x, n.y, n.z);
        for (const Face& f : mesh.faces) {
            std::string corners;
            for (const VertexRef& r : f.refs(mesh.corners))
                corners += std::to_string(r.vertex) + "," + std::to_string(r.txvert) + " ";
            if (!corners.empty())
                corners.pop_back();
            line("face", f.material, f.type, f.geometryMode, f.lightingMode, f.textureMode,
                 f.extraLight, corners);
        }
        for (const Vector3& n : mesh.faceNormals)
            line("face-normal", n.x, n.y, n.z);
    }
    for (const HierarchyNode& n : model.nodes)
        line("node", n.flags, n.type, n.mesh, n.parent, n.child, n.sibling, n.numChildren, n.x, n.y,
             n.z, n.pitch, n.yaw, n.roll, n.pivotx, n.pivoty, n.pivotz, n.hnodename);
    return out;
}

// Reads the text whole, and streamed through a buffer small enough that every kind of token
// meets a refill; both must agree to the bit.
inline void expectStreamingAgrees(const std::string& text) {
    Model whole;
    Model streamed;
    std::istringstream in(text);
    const bool wholeLoaded = ModelReader(text).load(whole);
    ASSERT_EQ(ModelReader(in, 128).load(streamed), wholeLoaded);
    if (wholeLoaded) {
        ASSERT_EQ(fileLayer(whole), fileLayer(streamed));
    }
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
                const std::string name = path.substr(path.find_last_of("/\\") + 1); // npos + 1 is 0
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
    FaceWithCorners f{{}, std::move(corners)};
    f.face.material = material;
    f.face.type = "0x0000";
    std::tie(f.face.geometryMode, f.face.lightingMode, f.face.textureMode) = std::tuple(4, 3, 3);
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
