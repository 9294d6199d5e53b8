// Preparation of a loaded model: placement, bounds, grouping of the faces by material and
// normalised texture coordinates.

#include "model/Model.h"

#include "platform/MessageBox.h"

#include <cmath>
#include <limits>
#include <new>
#include <unordered_map>

namespace sw {

namespace {

// The game crashes on meshes with more faces than this.
constexpr int kMaxGameFaces = 512;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Carries the name of the array whose allocation failed to the top of prepare, which reports
// it. The names are those of the messages the user sees.
struct AllocationFailure {
    const char* array;
};

template <typename F> void allocate(const char* array, F&& f) {
    try {
        f();
    } catch (const std::bad_alloc&) {
        throw AllocationFailure{array};
    }
}

// Carries the reason for refusing the model to the top of prepare.
struct Refusal {
    std::string text;
};

std::string meshLabel(const Mesh& mesh, int index) {
    return "mesh " + std::to_string(index) + " (" + mesh.name + ")";
}

void checkVertexIndices(const Model& model) {
    for (int m = 0; m < model.numMeshes(); ++m) {
        const Mesh& mesh = model.meshes[at(m)];
        for (int k = 0; k < mesh.numFaces(); ++k) {
            for (const VertexRef& ref : mesh.faces[at(k)].refs(mesh.corners)) {
                if (ref.vertex < 0 || ref.vertex >= mesh.numVertices())
                    throw Refusal{"Face " + std::to_string(k) + " of " + meshLabel(mesh, m) +
                                  " names vertex " + std::to_string(ref.vertex) +
                                  ", but the mesh has " + std::to_string(mesh.numVertices()) +
                                  " vertices."};
            }
        }
    }
}

// Real models contain corners whose texture vertex is not in the mesh's list (a mesh with no
// texture vertices at all whose faces name vertex 0). Game engines map such a corner to the
// texture's origin; so does this program, through one texture vertex (0, 0) appended to the
// mesh, which the user can then remap like any other.
void pointStrayCornersAtOrigin(Mesh& mesh) {
    const int count = mesh.numTxverts();
    bool appended = false;
    for (VertexRef& ref : mesh.corners) {
        if (ref.txvert >= 0 && ref.txvert < count)
            continue;
        if (!appended) {
            allocate("txverts.", [&] { mesh.txverts.push_back({0, 0}); });
            appended = true;
        }
        ref.txvert = count;
    }
}

Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// A mesh is placed by its node's offset and pivot plus the offsets of every ancestor except
// the topmost one; pivots of ancestors and rotations are not applied. `passedDown[a]` is what
// node a adds for the nodes below it: its own offset and what its parent passes down, or
// nothing when a has no parent. Each node's sum is computed once, so that deep hierarchies
// cost no more than shallow ones. A parent index outside the node list counts as none; a
// chain that loops adds the offsets of the loop's nodes once.
std::vector<Vector3> offsetsPassedDown(const std::vector<HierarchyNode>& nodes) {
    const int count = static_cast<int>(nodes.size());
    const auto parentOf = [&](int a) {
        const int parent = nodes[at(a)].parent;
        return parent >= 0 && parent < count ? parent : -1;
    };
    const auto own = [&](int a) {
        const HierarchyNode& n = nodes[at(a)];
        return Vector3{n.x, n.y, n.z};
    };

    std::vector<Vector3> passedDown(at(count));
    enum : std::uint8_t { kNew, kOnPath, kDone };
    std::vector<std::uint8_t> state(at(count), kNew);
    std::vector<int> path;
    for (int start = 0; start < count; ++start) {
        path.clear();
        int a = start;
        while (a >= 0 && state[at(a)] == kNew) {
            state[at(a)] = kOnPath;
            path.push_back(a);
            a = parentOf(a);
        }
        // The walk ended at no parent, at a node already done, or on its own path (a loop).
        std::size_t end = path.size();
        Vector3 above;
        if (a >= 0 && state[at(a)] == kOnPath) {
            std::size_t first = end;
            while (path[first - 1] != a)
                --first;
            --first;
            Vector3 loop;
            for (std::size_t i = first; i < end; ++i)
                loop = loop + own(path[i]);
            for (std::size_t i = first; i < end; ++i) {
                passedDown[at(path[i])] = loop;
                state[at(path[i])] = kDone;
            }
            end = first;
            above = loop;
        } else if (a >= 0) {
            above = passedDown[at(a)];
        }
        bool hasParent = a >= 0;
        for (std::size_t i = end; i-- > 0;) {
            const int node = path[i];
            passedDown[at(node)] = hasParent ? own(node) + above : Vector3{};
            state[at(node)] = kDone;
            above = passedDown[at(node)];
            hasParent = true;
        }
    }
    return passedDown;
}

void placeMeshes(Model& model) {
    const std::vector<Vector3> passedDown = offsetsPassedDown(model.nodes);
    const int numNodes = model.numNodes();
    for (const HierarchyNode& node : model.nodes) {
        if (node.mesh < 0 || node.mesh >= model.numMeshes())
            continue;
        Vector3 offset{node.x + node.pivotx, node.y + node.pivoty, node.z + node.pivotz};
        if (node.parent >= 0 && node.parent < numNodes)
            offset = offset + passedDown[at(node.parent)];
        model.meshes[at(node.mesh)].offset = offset;
    }
}

void placeVertices(Model& model, Mesh& mesh, int index) {
    const Vector3& o = mesh.offset;
    if (!std::isfinite(o.x) || !std::isfinite(o.y) || !std::isfinite(o.z))
        throw Refusal{"The hierarchy places " + meshLabel(mesh, index) +
                      " too far from the origin."};
    allocate("glVerts.", [&] { mesh.glVerts.assign(mesh.vertices.size(), GlVert{}); });
    for (std::size_t j = 0; j < mesh.vertices.size(); ++j) {
        const Vertex& v = mesh.vertices[j];
        GlVert& g = mesh.glVerts[j];
        g.x = v.x + mesh.offset.x;
        g.y = v.y + mesh.offset.y;
        g.z = v.z + mesh.offset.z;
        if (!std::isfinite(g.x) || !std::isfinite(g.y) || !std::isfinite(g.z))
            throw Refusal{"Vertex " + std::to_string(j) + " of " + meshLabel(mesh, index) +
                          " is placed too far from the origin."};
        // Two separate tests, so that the first vertex can set both bounds of an axis.
        if (g.x < model.xMin)
            model.xMin = g.x;
        if (g.x > model.xMax)
            model.xMax = g.x;
        if (g.y < model.yMin)
            model.yMin = g.y;
        if (g.y > model.yMax)
            model.yMax = g.y;
        if (g.z < model.zMin)
            model.zMin = g.z;
        if (g.z > model.zMax)
            model.zMax = g.z;
    }
}

// The faces of a mesh grouped by material, groups numbered in order of the first face that
// uses their material. `faces` lists the face indices group by group, in face order within a
// group; group g's faces start at `start[g]`.
struct Grouping {
    std::vector<int> material;
    std::vector<int> start;
    std::vector<int> faces;

    int numGroups() const { return static_cast<int>(material.size()); }
};

// `groupOf` maps every in-range material index to its group in the current mesh (-1 for
// none) and is left all -1 again; it is kept across meshes so that a model with many
// materials and many meshes does not pay for the whole table per mesh.
Grouping groupFaces(Mesh& mesh, int numMaterials, std::vector<int>& groupOf) {
    Grouping grouping;
    std::unordered_map<int, int> strayGroupOf; // material indices outside the list
    std::vector<int> counts;
    for (Face& face : mesh.faces) {
        int* group = nullptr;
        if (face.material >= 0 && face.material < numMaterials)
            group = &groupOf[at(face.material)];
        else
            group = &strayGroupOf.try_emplace(face.material, -1).first->second;
        if (*group < 0) {
            *group = grouping.numGroups();
            grouping.material.push_back(face.material);
            counts.push_back(0);
        }
        face.group = *group;
        ++counts[at(*group)];
    }
    for (int material : grouping.material) {
        if (material >= 0 && material < numMaterials)
            groupOf[at(material)] = -1;
    }

    grouping.start.resize(counts.size() + 1);
    for (std::size_t g = 0; g < counts.size(); ++g)
        grouping.start[g + 1] = grouping.start[g] + counts[g];
    grouping.faces.resize(mesh.faces.size());
    std::vector<int> next(grouping.start.begin(), grouping.start.end() - 1);
    for (int k = 0; k < mesh.numFaces(); ++k)
        grouping.faces[at(next[at(mesh.faces[at(k)].group)]++)] = k;
    return grouping;
}

// Gives every group texture vertices of its own, so that no texture vertex is used by faces
// of two groups: the lowest group that uses a texture vertex keeps it, every further group
// gets a copy, appended in order of texture vertex and then of group. Going through the
// groups in order finds each vertex's keeper at its first use, so the work is proportional to
// the corners and texture vertices rather than to their product with the groups.
void splitSharedTxverts(Mesh& mesh, const Grouping& grouping) {
    const int numTxverts = mesh.numTxverts();
    std::vector<int> keeper;
    std::vector<int> lastCopier;
    struct Copy {
        int txvert;
        int group;
    };
    std::vector<Copy> copies; // in order of group, then of first use
    allocate("UsageGrid.", [&] {
        keeper.assign(at(numTxverts), -1);
        lastCopier.assign(at(numTxverts), -1);
    });
    const auto forCornersOf = [&](int g, auto&& f) {
        for (int i = grouping.start[at(g)]; i < grouping.start[at(g) + 1]; ++i)
            for (VertexRef& ref : mesh.faces[at(grouping.faces[at(i)])].refs(mesh.corners))
                f(ref);
    };
    for (int g = 0; g < grouping.numGroups(); ++g) {
        forCornersOf(g, [&](const VertexRef& ref) {
            const std::size_t t = at(ref.txvert);
            if (keeper[t] < 0)
                keeper[t] = g;
            else if (keeper[t] != g && lastCopier[t] != g) {
                lastCopier[t] = g;
                allocate("UsageGrid.", [&] { copies.push_back({ref.txvert, g}); });
            }
        });
    }
    if (copies.empty())
        return;

    // Number the copies in order of texture vertex, then of group: a stable counting sort by
    // texture vertex of a list that is already in group order.
    std::vector<int> firstCopyOf(at(numTxverts) + 1, 0);
    for (const Copy& c : copies)
        ++firstCopyOf[at(c.txvert) + 1];
    for (std::size_t t = 0; t < at(numTxverts); ++t)
        firstCopyOf[t + 1] += firstCopyOf[t];
    std::vector<int> copyIndex(copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i)
        copyIndex[i] = numTxverts + firstCopyOf[at(copies[i].txvert)]++;

    allocate("txverts.", [&] { mesh.txverts.resize(mesh.txverts.size() + copies.size()); });
    allocate("glTxverts.", [&] { mesh.glTxverts.resize(mesh.txverts.size()); });
    for (std::size_t i = 0; i < copies.size(); ++i)
        mesh.txverts[at(copyIndex[i])] = mesh.txverts[at(copies[i].txvert)];

    // lastCopier now serves as the copy of each texture vertex for the group at hand.
    std::size_t i = 0;
    for (int g = 0; g < grouping.numGroups(); ++g) {
        for (; i < copies.size() && copies[i].group == g; ++i)
            lastCopier[at(copies[i].txvert)] = copyIndex[i];
        forCornersOf(g, [&](VertexRef& ref) {
            if (keeper[at(ref.txvert)] != g)
                ref.txvert = lastCopier[at(ref.txvert)];
        });
    }
}

void normaliseTextured(const Model& model, Mesh& mesh) {
    for (const Face& face : mesh.faces) {
        if (!model.isTextured(face.material))
            continue;
        const Material& material = model.materials[at(face.material)];
        for (const VertexRef& ref : face.refs(mesh.corners)) {
            const TextureVertex& t = mesh.txverts[at(ref.txvert)];
            GlTxvert& g = mesh.glTxverts[at(ref.txvert)];
            g.u = t.u / material.width;
            g.v = -(t.v / material.height);
        }
    }
}

void buildGroups(const Model& model, Mesh& mesh, const Grouping& grouping) {
    allocate("glGroups.", [&] { mesh.glGroups.assign(at(grouping.numGroups()), GlGroup{}); });
    for (int g = 0; g < grouping.numGroups(); ++g) {
        GlGroup& group = mesh.glGroups[at(g)];
        group.material = grouping.material[at(g)];
        const Material* material = model.materialAt(group.material);
        group.name =
            material ? material->name : "(material " + std::to_string(group.material) + ")";
        allocate("glFaces.", [&] {
            const int first = grouping.start[at(g)];
            const int end = grouping.start[at(g) + 1];
            group.glFaces.resize(at(end - first));
            for (int i = first; i < end; ++i) {
                GlFace& glFace = group.glFaces[at(i - first)];
                glFace.face = grouping.faces[at(i)];
                const auto refs = mesh.faces[at(glFace.face)].refs(mesh.corners);
                glFace.refs.assign(refs.begin(), refs.end());
            }
        });
    }
}

// Finite for any finite input: a scale of 0 gives 0, and a quotient too large for a double is
// held at the largest one.
double scaled(double value, double scale) {
    if (scale == 0)
        return 0;
    const double q = value / scale;
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::isfinite(q) ? q : (q > 0 ? kLargest : -kLargest);
}

// Without a texture there are no texels to divide by; the group is scaled by its own extent
// instead, the largest u and the most negative v becoming 1.
void normaliseUntextured(const Model& model, Mesh& mesh) {
    for (const GlGroup& group : mesh.glGroups) {
        if (model.isTextured(group.material))
            continue;
        double uMax = 0;
        double vMin = 0;
        for (const GlFace& face : group.glFaces) {
            for (const VertexRef& ref : face.refs) {
                const TextureVertex& t = mesh.txverts[at(ref.txvert)];
                if (t.u > uMax)
                    uMax = t.u;
                if (t.v < vMin)
                    vMin = t.v;
            }
        }
        for (const GlFace& face : group.glFaces) {
            for (const VertexRef& ref : face.refs) {
                const TextureVertex& t = mesh.txverts[at(ref.txvert)];
                GlTxvert& g = mesh.glTxverts[at(ref.txvert)];
                g.u = scaled(t.u, uMax);
                g.v = scaled(t.v, vMin);
            }
        }
    }
}

void prepareMesh(Model& model, int index, std::vector<int>& groupOf, MessageBoxService& messages) {
    Mesh& mesh = model.meshes[at(index)];
    allocate("glTxverts.", [&] { mesh.glTxverts.assign(mesh.txverts.size(), GlTxvert{}); });
    Grouping grouping;
    allocate("glGroups.", [&] { grouping = groupFaces(mesh, model.numMaterials(), groupOf); });
    splitSharedTxverts(mesh, grouping);
    normaliseTextured(model, mesh);
    buildGroups(model, mesh, grouping);
    normaliseUntextured(model, mesh);
    for (GlTxvert& t : mesh.glTxverts)
        t.selected = false;
    mesh.displayMode = 2;
    if (mesh.numFaces() > kMaxGameFaces) {
        messages.messageBox(Window::Main,
                            "Mesh " + mesh.name + " contains " + std::to_string(mesh.numFaces()) +
                                " surfaces.\n\nOnly 512 surfaces are allowed per mesh.\n\n"
                                "This 3do model will cause Jedi Knight to crash.",
                            "WARNING", kMbOk);
    }
}

double length(const GlVert& v) {
    const double d = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    // The squares overflow long before the distance does.
    return std::isfinite(d) ? d : std::hypot(v.x, v.y, v.z);
}

void centre(Model& model) {
    // Halved before adding, so that bounds near the largest double cannot overflow; halving
    // is exact, so the result is that of (min + max) * 0.5 wherever that does not overflow.
    model.center = {model.xMin * 0.5 + model.xMax * 0.5, model.yMin * 0.5 + model.yMax * 0.5,
                    model.zMin * 0.5 + model.zMax * 0.5};
    for (int m = 0; m < model.numMeshes(); ++m) {
        Mesh& mesh = model.meshes[at(m)];
        for (std::size_t j = 0; j < mesh.glVerts.size(); ++j) {
            GlVert& v = mesh.glVerts[j];
            v.x -= model.center.x;
            v.y -= model.center.y;
            v.z -= model.center.z;
            const double d = length(v);
            if (!std::isfinite(d))
                throw Refusal{"Vertex " + std::to_string(j) + " of " + meshLabel(mesh, m) +
                              " lies too far from the centre of the model."};
            if (d > model.extent)
                model.extent = d;
        }
    }
}

} // namespace

bool Model::prepare(const TextureLoadFn& loadTexture, MessageBoxService& messages) {
    preparationError_.clear();
    try {
        // Everything that can refuse the model runs before the textures are loaded, so that a
        // refused model holds none. The geometry does not depend on the textures, so the
        // results are those of loading them first.
        checkVertexIndices(*this);
        xMin = yMin = zMin = kHuge;
        xMax = yMax = zMax = -kHuge;
        extent = -kHuge;
        placeMeshes(*this);
        for (int m = 0; m < numMeshes(); ++m)
            placeVertices(*this, meshes[at(m)], m);
        centre(*this);
        for (Mesh& mesh : meshes)
            pointStrayCornersAtOrigin(mesh);

        for (Material& material : materials)
            loadTexture(material, std::string());
        std::vector<int> groupOf;
        allocate("glGroups.", [&] { groupOf.assign(materials.size(), -1); });
        for (int m = 0; m < numMeshes(); ++m)
            prepareMesh(*this, m, groupOf, messages);
        return true;
    } catch (const AllocationFailure& failure) {
        messages.messageBox(Window::Main,
                            std::string("Could not allocate memory for: ") + failure.array, "Error",
                            kMbOk);
    } catch (const Refusal& refusal) {
        preparationError_ = refusal.text;
    } catch (const std::bad_alloc&) {
        // An allocation other than the named arrays: working tables, texts.
        messages.messageBox(Window::Main, "Could not allocate memory for: model.", "Error", kMbOk);
    }
    return false;
}

} // namespace sw
