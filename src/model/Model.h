#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace sw {

class MessageBoxService;

// Length limits of the names a 3DO file carries (without the terminating NUL the game's
// fixed buffers keep room for).
inline constexpr std::size_t kMaxNameLength = 255;     // names, mesh names, hnodename
inline constexpr std::size_t kMaxShortWordLength = 63; // a face's type, a node's flags and type
inline constexpr std::size_t kMaxPathLength = 259;

// Start values of the bounds and the extent before the first vertex is seen.
inline constexpr double kHuge = 1.7e+300;

struct Vector3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

struct Vertex {
    double x = 0;
    double y = 0;
    double z = 0;
    double intensity = 0;
    int ownIndex = -1; // scratch of the automatic remap
};

// Texture vertex in file units: texels of the material's texture, v signed as in the file.
struct TextureVertex {
    double u = 0;
    double v = 0;
};

struct VertexRef {
    int vertex = 0;
    int txvert = 0;
};

// A face's corners are the range [firstCorner, firstCorner + numCorners) of its mesh's corner
// list: `corners` for the faces as read, `outCorners` for outFaces. A mesh keeps all its
// corners in one array, so that a large model costs one allocation per mesh rather than one
// per face.
struct Face {
    int material = 0;
    int group = 0;
    std::string type; // kept as read, e.g. "0x0000"
    int geometryMode = 0;
    int lightingMode = 0;
    int textureMode = 0;
    int source = 0; // in outFaces only: index of the face in faces
    double extraLight = 0;
    int firstCorner = 0;
    int numCorners = 0;

    int numVertices() const { return numCorners; }
    // The face's corners in `corners`, its mesh's list; empty when the range is not in it.
    std::span<const VertexRef> refs(const std::vector<VertexRef>& corners) const {
        if (!cornersIn(corners.size()))
            return {};
        return std::span(corners).subspan(static_cast<std::size_t>(firstCorner),
                                          static_cast<std::size_t>(numCorners));
    }
    std::span<VertexRef> refs(std::vector<VertexRef>& corners) const {
        if (!cornersIn(corners.size()))
            return {};
        return std::span(corners).subspan(static_cast<std::size_t>(firstCorner),
                                          static_cast<std::size_t>(numCorners));
    }

private:
    bool cornersIn(std::size_t size) const {
        return firstCorner >= 0 && numCorners >= 0 &&
               static_cast<std::size_t>(firstCorner) <= size &&
               static_cast<std::size_t>(numCorners) <= size - static_cast<std::size_t>(firstCorner);
    }
};

struct HierarchyNode {
    std::string flags;
    std::string type;
    int mesh = -1;
    int parent = -1;
    int child = -1;
    int sibling = -1;
    int numChildren = 0;
    double x = 0, y = 0, z = 0;
    double pitch = 0, yaw = 0, roll = 0;
    double pivotx = 0, pivoty = 0, pivotz = 0;
    std::string hnodename;
};

// A material with the texture found for it.
struct Material {
    std::string name;
    std::string path;
    bool notLoaded = true;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // decoded image, held only until it is uploaded
    std::uint32_t glTexture = 0;
    bool usesPalette = false;
    bool explicitPath = false;
};

struct GlVert {
    double x = 0;
    double y = 0;
    double z = 0;
    bool mark = false;
};

// Normalised texture vertex: 0..1 spans the texture once, v points the other way from the file.
struct GlTxvert {
    double u = 0;
    double v = 0;
    bool selected = false;
    bool visited = false;
    int outIndex = -1;
};

struct GlFace {
    std::vector<VertexRef> refs;
    int face = 0;

    int numVertices() const { return static_cast<int>(refs.size()); }
};

// The faces of one mesh that use one material.
struct GlGroup {
    std::string name;
    int material = 0;
    std::vector<GlTxvert> ownTxverts;
    std::vector<GlFace> glFaces;
    bool selected = false;
    // true: the corners of glFaces index the mesh's glTxverts; false: the group's ownTxverts.
    bool shared = true;
    // Its texture vertices were changed since the model was read. A group without a loaded
    // texture saves its changes as fractions of a texture or not at all, which the user is told.
    bool edited = false;

    int numOwnTxverts() const { return static_cast<int>(ownTxverts.size()); }
    int numGlFaces() const { return static_cast<int>(glFaces.size()); }
};

struct Mesh {
    std::string name;
    double radius = 0;
    int geometryMode = 0;
    int lightingMode = 0;
    int textureMode = 0;
    std::vector<Vertex> vertices;
    std::vector<TextureVertex> txverts;
    std::vector<Vector3> vertexNormals;
    std::vector<Face> faces;
    std::vector<VertexRef> corners; // the corners of all faces, face after face
    std::vector<Vector3> faceNormals;

    Vector3 offset;
    std::vector<GlVert> glVerts;
    std::vector<GlTxvert> glTxverts;
    std::vector<GlGroup> glGroups;
    int displayMode = 0; // 0 hide, 1 wire, 2 show

    std::vector<TextureVertex> outTxverts;
    std::vector<Face> outFaces;
    std::vector<VertexRef> outCorners;

    int numVertices() const { return static_cast<int>(vertices.size()); }
    int numTxverts() const { return static_cast<int>(txverts.size()); }
    int numFaces() const { return static_cast<int>(faces.size()); }
    int numGlGroups() const { return static_cast<int>(glGroups.size()); }
    int numOutTxverts() const { return static_cast<int>(outTxverts.size()); }

    // The chosen-texture marker of the groups, which the 3D view draws tinted: off on every
    // group of the mesh, or on for one (a group number outside the mesh changes nothing).
    void clearGroupSelection();
    void selectGroup(int group);
};

// Loads the texture of one material: an empty path searches for the image by the material's
// name, a non-empty one names the image file. Preparation calls it for every material.
using TextureLoadFn = std::function<void(Material& material, const std::string& path)>;

// The document: a 3DO model as read from its file (the file layer) together with each mesh's
// prepared layer that the views and the editor work on.
class Model {
public:
    double version = 0;
    std::vector<Material> materials;
    double radius = 0;
    Vector3 insertOffset;
    int numGeosets = 0;
    std::vector<Mesh> meshes;
    std::vector<HierarchyNode> nodes;

    double xMin = kHuge, xMax = -kHuge;
    double yMin = kHuge, yMax = -kHuge;
    double zMin = kHuge, zMax = -kHuge;
    Vector3 center;
    double extent = -kHuge;

    int numMaterials() const { return static_cast<int>(materials.size()); }
    int numMeshes() const { return static_cast<int>(meshes.size()); }
    int numNodes() const { return static_cast<int>(nodes.size()); }

    // Reads a 3DO file into the file layer. False when the file cannot be opened, is not a
    // model this program reads or is too large to hold in memory; the Model then holds what
    // was read so far and is discarded.
    bool load(const std::string& path);
    bool load(std::istream& in);

    // The material that a face or group names, or null for an index outside the list. Faces
    // with such an index are drawn and normalised as untextured and saved with the index they
    // had.
    const Material* materialAt(int index) const {
        return index >= 0 && index < numMaterials() ? &materials[static_cast<std::size_t>(index)]
                                                    : nullptr;
    }
    // True when `index` names a material whose image was decoded with a usable size: texture
    // coordinates of its faces are then texels of that image.
    bool isTextured(int index) const {
        const Material* material = materialAt(index);
        return material && !material->notLoaded && material->width > 0 && material->height > 0;
    }

    // Loads every material's texture and builds the prepared layer of each mesh: placement by
    // the hierarchy, bounds, centre and extent, the faces grouped by material with texture
    // vertices of their own per group, and texture coordinates normalised to each texture.
    // Shows the surface warning for meshes of more than 512 faces. False when the model
    // cannot be prepared: an allocation failed (already reported through `messages`), a face
    // names a vertex its mesh does not have, or the placed model does not fit in doubles; the
    // last two are described by preparationError().
    bool prepare(const TextureLoadFn& loadTexture, MessageBoxService& messages);
    // Why the last prepare() refused the model, naming the mesh (and face); empty otherwise.
    const std::string& preparationError() const { return preparationError_; }

    // Gives one group of one mesh the texture file `path` (`fileName` is its name without the
    // folder). Shares the material that already shows that file (paths compared without
    // regard to case), else reuses the group's own material when no other group uses it, else
    // adds a material. When it shares, the group's old material is removed if no group uses
    // it any more, the last material moving into its slot.
    void changeGroupTexture(int mesh, int group, const std::string& fileName,
                            const std::string& path, const TextureLoadFn& loadTexture,
                            MessageBoxService& messages);

    // Turns each mesh's prepared texture vertices back into file units (outTxverts, renumbered
    // in order of first use) and puts the faces in group order (outFaces).
    void buildOutput();
    // buildOutput, then the 3DO text that save writes.
    std::string outputText();
    // Writes the model as a 3DO file. The text goes to a temporary file beside `path` that
    // replaces `path` only once it was written completely, so a failure leaves the file that
    // was there untouched; the new file keeps that file's mode, and its owner and group where
    // the system allows. False when the file could not be written, or when a file that is
    // there does not open for writing.
    bool save(const std::string& path);
    // Why the last save() failed, for the user; empty after a save that succeeded.
    const std::string& saveError() const { return saveError_; }

    // Clears the chosen-texture marker on every group of every mesh.
    void clearGroupSelection();

private:
    std::string preparationError_;
    std::string saveError_;
};

} // namespace sw
