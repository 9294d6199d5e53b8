#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <new>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace sw {

using editor::groupOf;
using editor::meshOf;
using editor::project;

namespace {

// The side a face is projected from, by the axis and the sign of its normal's largest
// component. Each direction's projection shows u to the right and v up; it keeps a face
// unmirrored when the face's corners run counter-clockwise seen from that side, as the 3D
// view draws the front of a face: "left" shows faces turned to +x, "front" those turned to +y.
constexpr std::array<RemapDirection, 6> kSides{
    RemapDirection::Left,  RemapDirection::Right,  // +x, -x
    RemapDirection::Front, RemapDirection::Back,   // +y, -y
    RemapDirection::Top,   RemapDirection::Bottom, // +z, -z
};

// The normal of a polygon by Newell's method, which takes every corner into account.
std::array<double, 3> normalOf(const Mesh& mesh, const GlFace& face) {
    std::array<double, 3> n{};
    const std::size_t count = face.refs.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& a = mesh.vertices[static_cast<std::size_t>(face.refs[i].vertex)];
        const Vertex& b =
            mesh.vertices[static_cast<std::size_t>(face.refs[(i + 1) % count].vertex)];
        n[0] += (a.y - b.y) * (a.z + b.z);
        n[1] += (a.z - b.z) * (a.x + b.x);
        n[2] += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

std::size_t sideOf(const std::array<double, 3>& normal) {
    std::size_t axis = 0;
    for (std::size_t a = 1; a < 3; ++a)
        if (std::abs(normal[a]) > std::abs(normal[axis]))
            axis = a;
    return axis * 2 + (normal[axis] < 0 ? 1 : 0);
}

std::size_t root(std::vector<std::size_t>& parent, std::size_t i) {
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

// The faces of one side joined by shared vertices: its projected bounds (model units), and
// where its lower left corner goes on the texture (texels).
struct Chart {
    std::size_t side = 0;
    double minU = kHuge, maxU = -kHuge;
    double minV = kHuge, maxV = -kHuge;
    double x = 0, y = 0;

    // A size that is no finite number (a damaged file's coordinates) counts as none.
    double width() const { return size(maxU - minU); }
    double height() const { return size(maxV - minV); }
    static double size(double span) { return std::isfinite(span) && span > 0 ? span : 0; }
};

// Puts the charts, `scale` texels a model unit and each with `gap` around it, in rows from the
// top of the texture down, tallest first, each row starting on the left. False when they do
// not fit into width x height texels.
bool shelve(std::vector<Chart>& charts, const std::vector<std::size_t>& tallestFirst, double scale,
            double gap, double width, double height) {
    double x = 0;
    double top = height;
    double rowHeight = 0;
    for (const std::size_t i : tallestFirst) {
        Chart& chart = charts[i];
        const double w = chart.width() * scale + gap;
        const double h = chart.height() * scale + gap;
        if (!(w <= width))
            return false;
        if (x + w > width) {
            top -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, h);
        if (top - rowHeight < 0)
            return false;
        chart.x = x + gap / 2;
        chart.y = top - gap / 2 - chart.height() * scale;
        x += w;
    }
    return true;
}

// Lays the charts out with the largest scale at which they fit, and returns that scale (texels
// a model unit). Closing in on it by halves is enough: packing in rows is no exact science.
double layOut(std::vector<Chart>& charts, double width, double height, double gap) {
    std::vector<std::size_t> tallestFirst(charts.size());
    std::iota(tallestFirst.begin(), tallestFirst.end(), 0);
    std::stable_sort(tallestFirst.begin(), tallestFirst.end(), [&](std::size_t a, std::size_t b) {
        return charts[a].height() > charts[b].height();
    });
    // So many pieces that their gaps alone fill the texture: the gaps shrink.
    for (int halving = 0; halving <= 64 && !shelve(charts, tallestFirst, 0, gap, width, height);
         ++halving)
        gap = halving < 64 ? gap / 2 : 0;
    double high = kHuge;
    for (const Chart& chart : charts) {
        if (chart.width() > 0)
            high = std::min(high, (width - gap) / chart.width());
        if (chart.height() > 0)
            high = std::min(high, (height - gap) / chart.height());
    }
    if (high >= kHuge)
        high = 0; // every piece a point: any scale does
    if (shelve(charts, tallestFirst, high, gap, width, height))
        return high;
    double low = 0;
    for (int step = 0; step < 64; ++step) {
        const double middle = (low + high) / 2;
        (shelve(charts, tallestFirst, middle, gap, width, height) ? low : high) = middle;
    }
    shelve(charts, tallestFirst, low, gap, width, height);
    return low;
}

// A coordinate of a chart's vertex in texture units, within the texture even where rounding
// or a file's absurd coordinates would take it out.
double placed(double corner, double offset, double scale, double side) {
    const double texels = corner + offset * scale;
    return std::isfinite(texels) ? std::clamp(texels / side, 0.0, 1.0)
                                 : std::clamp(corner / side, 0.0, 1.0);
}

} // namespace

bool UvEditor::boxRemap(Model& model, MessageBoxService& messages) {
    Mesh& mesh = meshOf(model, meshIndex);
    GlGroup& group = groupOf(mesh, groupIndex);
    // Texels are square on the model when the pieces are laid out in texels; without a texture
    // the unit square stands in.
    const bool textured = model.isTextured(group.material);
    const Material* texture = textured ? model.materialAt(group.material) : nullptr;
    const double width = textured ? texture->width : 1.0;
    const double height = textured ? texture->height : 1.0;
    // A texel apart at least, so that nearest filtering never shows one piece's texels on
    // another; more on a large texture, where a painter's brush strays further.
    const double gap = textured ? std::max(1.0, std::min(width, height) / 64) : 1.0 / 64;

    std::vector<GlTxvert> own;
    std::vector<int> cornerIndices;
    try {
        const std::size_t faces = group.glFaces.size();
        const std::size_t vertices = mesh.vertices.size();
        std::vector<std::size_t> parent(faces);
        std::iota(parent.begin(), parent.end(), 0);
        std::vector<std::size_t> sides(faces);
        // The first face of each side that uses each vertex, to join the others to it.
        std::unordered_map<std::uint64_t, std::size_t> firstUser;
        for (std::size_t f = 0; f < faces; ++f) {
            sides[f] = sideOf(normalOf(mesh, group.glFaces[f]));
            for (const VertexRef& ref : group.glFaces[f].refs) {
                const auto [first, added] = firstUser.try_emplace(
                    sides[f] * vertices + static_cast<std::uint64_t>(ref.vertex), f);
                if (!added)
                    parent[root(parent, f)] = root(parent, first->second);
            }
        }

        // Charts numbered in the order of their first face; a root face holds its chart's
        // number until its own turn comes.
        constexpr std::size_t kNone = SIZE_MAX;
        std::vector<Chart> charts;
        std::vector<std::size_t> chartOf(faces, kNone);
        for (std::size_t f = 0; f < faces; ++f) {
            std::size_t& chart = chartOf[root(parent, f)];
            if (chart == kNone) {
                chart = charts.size();
                charts.push_back({.side = sides[f]});
            }
            chartOf[f] = chart;
            Chart& c = charts[chart];
            for (const VertexRef& ref : group.glFaces[f].refs) {
                const GlTxvert p =
                    project(mesh.vertices[static_cast<std::size_t>(ref.vertex)], kSides[c.side]);
                c.minU = std::min(c.minU, p.u);
                c.maxU = std::max(c.maxU, p.u);
                c.minV = std::min(c.minV, p.v);
                c.maxV = std::max(c.maxV, p.v);
            }
        }
        const double scale = layOut(charts, width, height, gap);

        // Own vertices numbered in the order of the first corner that uses each vertex in
        // each chart.
        std::unordered_map<std::uint64_t, int> indexOf;
        for (std::size_t f = 0; f < faces; ++f) {
            const Chart& c = charts[chartOf[f]];
            for (const VertexRef& ref : group.glFaces[f].refs) {
                const std::uint64_t key = static_cast<std::uint64_t>(chartOf[f]) * vertices +
                                          static_cast<std::uint64_t>(ref.vertex);
                const auto [at, added] = indexOf.try_emplace(key, static_cast<int>(own.size()));
                if (added) {
                    const GlTxvert p = project(mesh.vertices[static_cast<std::size_t>(ref.vertex)],
                                               kSides[c.side]);
                    own.push_back({placed(c.x, p.u - c.minU, scale, width),
                                   placed(c.y, p.v - c.minV, scale, height)});
                }
                cornerIndices.push_back(at->second);
            }
        }
    } catch (const std::bad_alloc&) {
        messages.messageBox(Window::Main, "Could not allocate memory for: glTxverts", "Error",
                            kMbOk);
        return false;
    }
    takeOwnTxverts(model, std::move(own));
    editor::setCornerTxverts(group, cornerIndices);
    fitView(model);
    return true;
}

} // namespace sw
