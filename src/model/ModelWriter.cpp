// The 3DO writer: the file layer as read, with the texture mapping of the prepared layer.

#include "model/Model.h"
#include "model/NumberText.h"
#include "platform/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string_view>

namespace sw {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

template <typename T> bool inRange(const std::vector<T>& array, int index) {
    return index >= 0 && at(index) < array.size();
}

TextureVertex toTexels(const GlTxvert& t, const Material& material) {
    return {material.width * t.u, -(material.height * t.v)};
}

void buildMeshOutput(const Model& model, Mesh& mesh) {
    mesh.outTxverts.clear();
    for (GlTxvert& t : mesh.glTxverts)
        t.visited = false;
    std::size_t count = 0;
    std::size_t numGlFaces = 0;
    std::size_t numCorners = 0;
    for (const GlGroup& group : mesh.glGroups) {
        numGlFaces += group.glFaces.size();
        for (const GlFace& face : group.glFaces)
            numCorners += face.refs.size();
        if (!group.shared) {
            count += group.ownTxverts.size();
            continue;
        }
        for (const GlFace& face : group.glFaces) {
            for (const VertexRef& ref : face.refs) {
                if (inRange(mesh.glTxverts, ref.txvert) &&
                    !mesh.glTxverts[at(ref.txvert)].visited) {
                    mesh.glTxverts[at(ref.txvert)].visited = true;
                    ++count;
                }
            }
        }
    }
    mesh.outTxverts.resize(count);
    for (GlTxvert& t : mesh.glTxverts)
        t.outIndex = -1;

    int next = 0;
    for (GlGroup& group : mesh.glGroups) {
        const Material* texture =
            model.isTextured(group.material) ? model.materialAt(group.material) : nullptr;
        if (!group.shared) {
            // Without a texture there are no texels to go back to: the edited values are
            // written as they are, v turned back to the file's direction.
            for (GlTxvert& t : group.ownTxverts) {
                t.outIndex = next;
                mesh.outTxverts[at(next++)] =
                    texture ? toTexels(t, *texture) : TextureVertex{t.u, -t.v};
            }
            continue;
        }
        for (const GlFace& face : group.glFaces) {
            for (const VertexRef& ref : face.refs) {
                if (!inRange(mesh.glTxverts, ref.txvert))
                    continue;
                GlTxvert& t = mesh.glTxverts[at(ref.txvert)];
                if (t.outIndex >= 0)
                    continue;
                t.outIndex = next;
                // An untextured group that still uses the mesh's texture vertices was never
                // edited, and its normalised values have no texels to go back to: the file's
                // own values are written.
                TextureVertex& out = mesh.outTxverts[at(next++)];
                if (texture)
                    out = toTexels(t, *texture);
                else if (inRange(mesh.txverts, ref.txvert))
                    out = mesh.txverts[at(ref.txvert)];
            }
        }
    }

    mesh.outFaces.resize(numGlFaces);
    mesh.outCorners.resize(numCorners);
    std::size_t k = 0;
    int corner = 0;
    for (const GlGroup& group : mesh.glGroups) {
        const std::vector<GlTxvert>& txverts = group.shared ? mesh.glTxverts : group.ownTxverts;
        for (const GlFace& glFace : group.glFaces) {
            Face& out = mesh.outFaces[k++];
            out.material = group.material;
            out.source = glFace.face;
            if (inRange(mesh.faces, glFace.face)) {
                const Face& face = mesh.faces[at(glFace.face)];
                out.type = face.type;
                out.geometryMode = face.geometryMode;
                out.lightingMode = face.lightingMode;
                out.textureMode = face.textureMode;
                out.extraLight = face.extraLight;
            }
            out.firstCorner = corner;
            out.numCorners = glFace.numVertices();
            for (const VertexRef& ref : glFace.refs) {
                mesh.outCorners[at(corner++)] = {ref.vertex, inRange(txverts, ref.txvert)
                                                                 ? txverts[at(ref.txvert)].outIndex
                                                                 : 0};
            }
        }
    }
}

// A word of the file layer: a name, a face's type, a node's flags or type.
struct Word {
    const std::string& text;
};

// Collects the text and, when it has a file, hands it on in large pieces.
class Output {
public:
    explicit Output(std::FILE* file = nullptr) : file_(file) {
        if (file_)
            text_.reserve(kChunk + kChunk / 8);
    }

    Output& operator<<(std::string_view s) {
        text_.append(s);
        return *this;
    }
    Output& operator<<(int value) {
        char digits[kMaxNumberText];
        text_.append(digits, formatInt(value, digits));
        return *this;
    }
    Output& operator<<(double value) {
        char digits[kMaxNumberText];
        text_.append(digits, formatReal(value, digits));
        return *this;
    }
    // The values of a list line, each after one blank.
    template <typename... Values> Output& values(const Values&... v) {
        ((*this << ' ' << v), ...);
        return *this;
    }
    // The reader skips one comma in front of a word, so a word read after two commas starts
    // with one; it is written after two again, to be read back as it was.
    Output& operator<<(Word word) {
        if (!word.text.empty() && word.text.front() == ',')
            text_.push_back(',');
        text_.append(word.text);
        return *this;
    }
    Output& operator<<(char c) {
        text_.push_back(c);
        return *this;
    }
    // Every line ends with CR LF, whatever the platform.
    void endLine() {
        text_.append("\r\n");
        if (file_ && text_.size() >= kChunk)
            flush();
    }
    void line(std::string_view s = {}) {
        *this << s;
        endLine();
    }
    bool flush() {
        if (file_ && !text_.empty()) {
            failed_ = failed_ || std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size();
            text_.clear();
        }
        return !failed_;
    }
    std::string& text() { return text_; }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::FILE* file_;
    std::string text_;
    bool failed_ = false;
};

void writeModel(const Model& model, Output& out) {
    out.line("# TEXTURED by Skinweaver 1.1");
    out.line();
    out.line("SECTION: HEADER");
    out.line();
    (out << "3DO " << model.version).endLine();
    out.line();
    out.line("SECTION: MODELRESOURCE");
    out.line();
    (out << "MATERIALS " << model.numMaterials()).endLine();
    // Every material is written as a MAT file, whichever image stood in for it.
    for (int i = 0; i < model.numMaterials(); ++i)
        (out << i << ": " << Word{model.materials[at(i)].name} << ".MAT").endLine();
    out.line();
    out.line("SECTION: GEOMETRYDEF");
    out.line();
    (out << "RADIUS " << model.radius).endLine();
    out.line();
    const Vector3& o = model.insertOffset;
    (out << "INSERT OFFSET " << o.x << ' ' << o.y << ' ' << o.z).endLine();
    out.line();
    // Only the first geoset was read, so one is written.
    out.line("GEOSETS 1");
    out.line();
    out.line("GEOSET 0");
    out.line();
    (out << "MESHES " << model.numMeshes()).endLine();

    for (int m = 0; m < model.numMeshes(); ++m) {
        const Mesh& mesh = model.meshes[at(m)];
        out.line();
        (out << "MESH " << m).endLine();
        (out << "NAME " << Word{mesh.name}).endLine();
        (out << "RADIUS " << mesh.radius).endLine();
        (out << "GEOMETRYMODE " << mesh.geometryMode).endLine();
        (out << "LIGHTINGMODE " << mesh.lightingMode).endLine();
        (out << "TEXTUREMODE " << mesh.textureMode).endLine();
        out.line();

        (out << "VERTICES " << mesh.numVertices()).endLine();
        out.line();
        for (int j = 0; j < mesh.numVertices(); ++j) {
            const Vertex& v = mesh.vertices[at(j)];
            (out << j << ':').values(v.x, v.y, v.z, v.intensity).endLine();
        }
        out.line();
        (out << "TEXTURE VERTICES " << mesh.numOutTxverts()).endLine();
        out.line();
        for (int j = 0; j < mesh.numOutTxverts(); ++j) {
            const TextureVertex& t = mesh.outTxverts[at(j)];
            (out << j << ':').values(t.u, t.v).endLine();
        }
        out.line();
        out.line("VERTEX NORMALS");
        out.line();
        for (int j = 0; j < mesh.numVertices(); ++j) {
            const Vector3 n =
                inRange(mesh.vertexNormals, j) ? mesh.vertexNormals[at(j)] : Vector3{};
            (out << j << ':').values(n.x, n.y, n.z).endLine();
        }
        out.line();
        (out << "FACES " << static_cast<int>(mesh.outFaces.size())).endLine();
        out.line();
        for (std::size_t k = 0; k < mesh.outFaces.size(); ++k) {
            const Face& f = mesh.outFaces[k];
            (out << static_cast<int>(k) << ':')
                .values(f.material, Word{f.type}, f.geometryMode, f.lightingMode, f.textureMode,
                        f.extraLight, f.numVertices());
            for (const VertexRef& ref : f.refs(mesh.outCorners))
                out << ' ' << ref.vertex << ", " << ref.txvert;
            out.endLine();
        }
        out.line();
        out.line("FACE NORMALS");
        out.line();
        for (std::size_t k = 0; k < mesh.outFaces.size(); ++k) {
            const int source = mesh.outFaces[k].source;
            const Vector3 n =
                inRange(mesh.faceNormals, source) ? mesh.faceNormals[at(source)] : Vector3{};
            (out << static_cast<int>(k) << ':').values(n.x, n.y, n.z).endLine();
        }
    }

    out.line();
    out.line("SECTION: HIERARCHYDEF");
    out.line();
    (out << "HIERARCHY NODES " << model.numNodes()).endLine();
    out.line("# num: flags: type: mesh: parent: child: sibling: numChildren: x: y: z: pitch: "
             "yaw: roll: pivotx: pivoty: pivotz: hnodename:");
    for (int i = 0; i < model.numNodes(); ++i) {
        const HierarchyNode& n = model.nodes[at(i)];
        (out << i << ':')
            .values(Word{n.flags}, Word{n.type}, n.mesh, n.parent, n.child, n.sibling,
                    n.numChildren, n.x, n.y, n.z, n.pitch, n.yaw, n.roll, n.pivotx, n.pivoty,
                    n.pivotz, Word{n.hnodename})
            .endLine();
    }
}

} // namespace

void Model::buildOutput() {
    for (Mesh& mesh : meshes)
        buildMeshOutput(*this, mesh);
}

std::string Model::outputText() {
    buildOutput();
    Output out;
    writeModel(*this, out);
    return std::move(out.text());
}

bool Model::save(const std::string& path) {
    saveError_.clear();
    try {
        buildOutput();
        std::filesystem::path target(path);
        std::error_code error;
        // Saving through a link replaces the file it points to, not the link.
        if (std::filesystem::is_symlink(target, error)) {
            auto resolved = std::filesystem::canonical(target, error);
            if (!error)
                target = std::move(resolved);
        }
        if (!mayReplace(target, saveError_))
            return false;
        TempFile temp(target, saveError_);
        if (!temp.file())
            return false;
        Output out(temp.file());
        writeModel(*this, out);
        errno = 0;
        if (!out.flush()) {
            saveError_ = TempFile::writeError();
            return false;
        }
        return temp.commit(target, saveError_);
    } catch (const std::bad_alloc&) {
        saveError_ = "There was not enough memory to write it.";
        return false;
    } catch (const std::filesystem::filesystem_error& e) {
        saveError_ = std::string(e.code().message()) + ".";
        return false;
    }
}

} // namespace sw
