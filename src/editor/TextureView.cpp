#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace sw {

using editor::groupOf;
using editor::meshOf;

namespace {

// Depths of the layers: the camera looks from z = 5 towards -z, so later layers lie on top.
constexpr double kTileDepth = -3.0;
constexpr double kOutlineDepth = -2.0;
constexpr double kPointDepth = -1.0;
constexpr double kRectDepth = 0.0;
constexpr double kEyeDistance = 5.0;
constexpr double kFar = 10.0;

// Sizes in logical pixels; GL's are device pixels.
constexpr double kPointSize = 5.0;
constexpr double kLineWidth = 1.0;

// Smoothed lines and points cost the frame most of its time where GL draws in software. A
// group with more edges than this, far beyond the 512 faces the game takes in a mesh, is drawn
// without the smoothing, which on so many edges so close together no longer shows anyway.
constexpr std::size_t kMaxSmoothedEdges = 4096;

// Beyond this many tiles each one is a few pixels at most: the range is then covered by one
// polygon whose texture coordinates repeat the image as often, which looks the same.
constexpr long long kMaxTiles = 64 * 64;
// Cells further out than this are clamped, so that the conversion to an integer is defined.
constexpr double kMaxCell = 1 << 30;

// The integer cell a coordinate lies in.
long long cellOf(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<long long>(std::floor(std::clamp(value, -kMaxCell, kMaxCell)));
}

// Whether the group's faces still name the texture vertices the cache was made for.
bool sameTopology(const TextureViewCache& cache, const GlGroup& group) {
    if (cache.shared != group.shared)
        return false;
    std::size_t next = 0;
    const std::vector<int>& topology = cache.topology;
    for (const GlFace& face : group.glFaces) {
        if (next >= topology.size() || topology[next++] != static_cast<int>(face.refs.size()))
            return false;
        for (const VertexRef& ref : face.refs)
            if (next >= topology.size() || topology[next++] != ref.txvert)
                return false;
    }
    return next == topology.size();
}

// The vertices the faces name, each once, and the edges of their outlines, each once: again
// they would fall on the same pixels at the same depth and change none of them, and smoothed
// lines and points are what the frame spends its time on.
void rebuildTopology(TextureViewCache& cache, const GlGroup& group, std::size_t arraySize) {
    cache.shared = group.shared;
    cache.arraySize = arraySize;
    cache.topology.clear();
    cache.vertices.clear();
    cache.edges.clear();
    std::vector<int> placeOf(arraySize, -1);
    const auto place = [&](int t) {
        if (placeOf[static_cast<std::size_t>(t)] < 0) {
            placeOf[static_cast<std::size_t>(t)] = static_cast<int>(cache.vertices.size());
            cache.vertices.push_back(t);
        }
        return static_cast<unsigned>(placeOf[static_cast<std::size_t>(t)]);
    };
    const auto named = [arraySize](int t) {
        return t >= 0 && static_cast<std::size_t>(t) < arraySize;
    };
    std::unordered_set<std::uint64_t> seen;
    for (const GlFace& face : group.glFaces) {
        cache.topology.push_back(static_cast<int>(face.refs.size()));
        const std::size_t corners = face.refs.size();
        for (std::size_t k = 0; k < corners; ++k) {
            const int a = face.refs[k].txvert;
            const int b = face.refs[(k + 1) % corners].txvert;
            cache.topology.push_back(a);
            if (named(a))
                place(a);
            if (a == b || !named(a) || !named(b))
                continue;
            const auto low = static_cast<std::uint64_t>(std::min(a, b));
            const auto high = static_cast<std::uint64_t>(std::max(a, b));
            if (!seen.insert(low << 32 | high).second)
                continue;
            cache.edges.push_back(place(a));
            cache.edges.push_back(place(b));
        }
    }
    // Points are drawn last first: without the depth test the one drawn last shows, and of
    // vertices on one place the first one named should, as it did with the test.
    cache.pointOrder.resize(cache.vertices.size());
    for (std::size_t i = 0; i < cache.pointOrder.size(); ++i)
        cache.pointOrder[i] = static_cast<unsigned>(cache.pointOrder.size() - 1 - i);
    cache.positions.assign(cache.vertices.size() * 2, 0.0);
    cache.colours.assign(cache.vertices.size() * 3, 0);
}

// The positions, and the colours by the selection.
void refresh(TextureViewCache& cache, const std::vector<GlTxvert>& txverts) {
    for (std::size_t i = 0; i < cache.vertices.size(); ++i) {
        const GlTxvert& t = txverts[static_cast<std::size_t>(cache.vertices[i])];
        double* at = &cache.positions[2 * i];
        at[0] = t.u;
        at[1] = t.v;
        std::uint8_t* colour = &cache.colours[3 * i];
        colour[0] = t.selected ? 0 : 255;
        colour[1] = t.selected ? 255 : 0;
        colour[2] = 0;
    }
}

// The image once per integer cell that the view shows, so that the unit square shows it
// exactly as the vertices address it and the tiles around it fill the rest of the view.
void drawTiles(const ViewMapping& view) {
    const long long firstColumn = cellOf(view.centreU - view.halfAcross());
    const long long endColumn = cellOf(view.centreU + view.halfAcross()) + 1;
    const long long firstRow = cellOf(view.centreV - view.halfUp());
    const long long endRow = cellOf(view.centreV + view.halfUp()) + 1;
    const long long columns = endColumn - firstColumn;
    const long long rows = endRow - firstRow;
    glBegin(GL_QUADS);
    if (columns * rows <= kMaxTiles) {
        for (long long j = firstRow; j < endRow; ++j) {
            for (long long i = firstColumn; i < endColumn; ++i) {
                const auto x = static_cast<double>(i);
                const auto y = static_cast<double>(j);
                glTexCoord2d(0, 0);
                glVertex3d(x, y, kTileDepth);
                glTexCoord2d(1, 0);
                glVertex3d(x + 1, y, kTileDepth);
                glTexCoord2d(1, 1);
                glVertex3d(x + 1, y + 1, kTileDepth);
                glTexCoord2d(0, 1);
                glVertex3d(x, y + 1, kTileDepth);
            }
        }
    } else {
        const auto x0 = static_cast<double>(firstColumn);
        const auto y0 = static_cast<double>(firstRow);
        const auto x1 = static_cast<double>(endColumn);
        const auto y1 = static_cast<double>(endRow);
        glTexCoord2d(0, 0);
        glVertex3d(x0, y0, kTileDepth);
        glTexCoord2d(x1 - x0, 0);
        glVertex3d(x1, y0, kTileDepth);
        glTexCoord2d(x1 - x0, y1 - y0);
        glVertex3d(x1, y1, kTileDepth);
        glTexCoord2d(0, y1 - y0);
        glVertex3d(x0, y1, kTileDepth);
    }
    glEnd();
}

} // namespace

void UvEditor::setProjection(const ViewMapping& view) const {
    glViewport(0, 0, view.area.deviceWidth(), view.area.deviceHeight());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-view.halfAcross(), view.halfAcross(), -view.halfUp(), view.halfUp(), 0.0, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void UvEditor::draw(const Model& model, const ViewMapping& view) const {
    const Mesh& mesh = meshOf(model, meshIndex);
    const GlGroup& group = groupOf(mesh, groupIndex);
    const std::vector<GlTxvert>& txverts = editor::txvertsOf(mesh, group);
    const Material* material = model.materialAt(materialIndex);
    // A material whose image was not found has the checkerboard of a missing texture.
    const bool textured = material != nullptr && material->glTexture != 0;

    if (cache_.arraySize != txverts.size() || !sameTopology(cache_, group))
        rebuildTopology(cache_, group, txverts.size());
    refresh(cache_, txverts);

    gluLookAt(view.centreU, view.centreV, kEyeDistance, view.centreU, view.centreV, 0.0, 0.0, 1.0,
              0.0);

    // The layers are drawn bottom to top, so the depth test has nothing to decide; without
    // it the smoothed edges of lines and points that meet blend whole instead of cutting each
    // other off.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindTexture(GL_TEXTURE_2D, material != nullptr ? material->glTexture : 0);
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glColor3d(1.0, 1.0, 1.0);
    drawTiles(view);

    // The faces' outlines in white, then their vertices as points on top: green when
    // selected, red when not. Both from the arrays kept between frames.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    const bool smoothed = cache_.edges.size() / 2 <= kMaxSmoothedEdges;
    if (!smoothed) {
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_POINT_SMOOTH);
    }
    glLineWidth(static_cast<float>(kLineWidth * view.area.pixelRatio));
    glPointSize(static_cast<float>(kPointSize * view.area.pixelRatio));
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_DOUBLE, 0, cache_.positions.data());
    glPushMatrix();
    glTranslated(0.0, 0.0, kOutlineDepth);
    glColor3d(1.0, 1.0, 1.0);
    glDrawElements(GL_LINES, static_cast<GLsizei>(cache_.edges.size()), GL_UNSIGNED_INT,
                   cache_.edges.data());
    glTranslated(0.0, 0.0, kPointDepth - kOutlineDepth);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_UNSIGNED_BYTE, 0, cache_.colours.data());
    glDrawElements(GL_POINTS, static_cast<GLsizei>(cache_.pointOrder.size()), GL_UNSIGNED_INT,
                   cache_.pointOrder.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();

    if (rectActive) {
        glColor3d(0.0, 1.0, 0.0);
        glBegin(GL_LINE_LOOP);
        glVertex3d(rectLowU, rectLowV, kRectDepth);
        glVertex3d(rectHighU, rectLowV, kRectDepth);
        glVertex3d(rectHighU, rectHighV, kRectDepth);
        glVertex3d(rectLowU, rectHighV, kRectDepth);
        glEnd();
    }
    if (!smoothed) {
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_POINT_SMOOTH);
    }
    glEnable(GL_DEPTH_TEST);
}

} // namespace sw
