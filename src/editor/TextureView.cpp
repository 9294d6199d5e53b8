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

using editor::forEachCorner;
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

// A group whose vertices all lie on one point is shown in a square this far on each side of
// it (a tenth of the texture across), so that the point and the texture under it show.
constexpr double kOnePointHalfExtent = 0.05;

// Beyond this many tiles each one is a few pixels at most: the range is then covered by one
// polygon whose texture coordinates repeat the image as often, which looks the same.
constexpr long long kMaxTiles = 64 * 64;
// Cells further out than this are clamped, so that the conversion to an integer is defined.
constexpr double kMaxCell = 1 << 30;

// The integer cell of a coordinate, the fraction dropped towards zero.
long long cell(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<long long>(std::clamp(value, -kMaxCell, kMaxCell));
}

void vertex(const GlTxvert& t, double depth) {
    glVertex3d(t.u, t.v, depth);
}

} // namespace

void UvEditor::fitView(const Model& model) {
    minU = minV = kHuge;
    maxU = maxV = -kHuge;
    const Mesh& mesh = meshOf(model, meshIndex);
    forEachCorner(mesh, groupOf(mesh, groupIndex), [this](const GlTxvert& t) {
        if (t.u < minU)
            minU = t.u;
        if (t.u > maxU)
            maxU = t.u;
        if (t.v < minV)
            minV = t.v;
        if (t.v > maxV)
            maxV = t.v;
    });
    // A group without a single corner shows the texture once.
    if (maxU < minU || maxV < minV) {
        minU = minV = 0;
        maxU = maxV = 1;
    }
    centreU = (maxU + minU) * 0.5;
    centreV = (maxV + minV) * 0.5;
    halfExtent = maxU - centreU > maxV - centreV ? maxU - centreU : maxV - centreV;
}

double UvEditor::shownHalfExtent() const {
    return halfExtent > 0 && std::isfinite(halfExtent) ? halfExtent : kOnePointHalfExtent;
}

// The square is stretched to the view's shape; nothing corrects the aspect ratio.
void UvEditor::setProjection(int width, int height) const {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double half = shownHalfExtent();
    glOrtho(-half, half, -half, half, 0.0, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void UvEditor::draw(const Model& model) const {
    const Mesh& mesh = meshOf(model, meshIndex);
    const GlGroup& group = groupOf(mesh, groupIndex);
    const std::vector<GlTxvert>& txverts = editor::txvertsOf(mesh, group);
    const Material* material = model.materialAt(materialIndex);
    // A material whose image was not found has the checkerboard of a missing texture.
    const bool textured = material != nullptr && material->glTexture != 0;

    gluLookAt(centreU, centreV, kEyeDistance, centreU, centreV, 0.0, 0.0, 1.0, 0.0);

    // Tiles: the image once per integer cell that the vertices reach, with a cell of margin
    // around them. The unit square shows it exactly as the vertices address it.
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindTexture(GL_TEXTURE_2D, material != nullptr ? material->glTexture : 0);
    if (textured)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glColor3d(1.0, 1.0, 1.0);
    const long long firstColumn = cell(minU) - 1;
    const long long endColumn = cell(maxU) + 1;
    const long long firstRow = cell(minV) - 1;
    const long long endRow = cell(maxV) + 1;
    const long long columns = endColumn - firstColumn;
    const long long rows = endRow - firstRow;
    if (columns * rows <= kMaxTiles) {
        for (long long j = firstRow; j < endRow; ++j) {
            for (long long i = firstColumn; i < endColumn; ++i) {
                const auto x = static_cast<double>(i);
                const auto y = static_cast<double>(j);
                glBegin(GL_POLYGON);
                glTexCoord2d(0, 0);
                glVertex3d(x, y, kTileDepth);
                glTexCoord2d(1, 0);
                glVertex3d(x + 1, y, kTileDepth);
                glTexCoord2d(1, 1);
                glVertex3d(x + 1, y + 1, kTileDepth);
                glTexCoord2d(0, 1);
                glVertex3d(x, y + 1, kTileDepth);
                glEnd();
            }
        }
    } else {
        const auto x0 = static_cast<double>(firstColumn);
        const auto y0 = static_cast<double>(firstRow);
        const auto x1 = static_cast<double>(endColumn);
        const auto y1 = static_cast<double>(endRow);
        glBegin(GL_POLYGON);
        glTexCoord2d(0, 0);
        glVertex3d(x0, y0, kTileDepth);
        glTexCoord2d(x1 - x0, 0);
        glVertex3d(x1, y0, kTileDepth);
        glTexCoord2d(x1 - x0, y1 - y0);
        glVertex3d(x1, y1, kTileDepth);
        glTexCoord2d(0, y1 - y0);
        glVertex3d(x0, y1, kTileDepth);
        glEnd();
    }

    // The faces' outlines in white, then their corners as points on top: green when
    // selected, red when not. An edge or a vertex that several faces share is drawn once:
    // again it would fall on the same pixels at the same depth and change none of them, and
    // smoothed lines and points are what the frame spends its time on.
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(1.0f);
    glPointSize(5.0f);
    glColor3d(1.0, 1.0, 1.0);
    std::unordered_set<std::uint64_t> edges;
    glBegin(GL_LINES);
    for (const GlFace& face : group.glFaces) {
        const std::size_t corners = face.refs.size();
        for (std::size_t k = 0; k < corners; ++k) {
            const auto a = static_cast<std::uint32_t>(face.refs[k].txvert);
            const auto b = static_cast<std::uint32_t>(face.refs[(k + 1) % corners].txvert);
            if (a == b || a >= txverts.size() || b >= txverts.size() ||
                !edges.insert(std::uint64_t{std::min(a, b)} << 32 | std::max(a, b)).second)
                continue;
            vertex(txverts[a], kOutlineDepth);
            vertex(txverts[b], kOutlineDepth);
        }
    }
    glEnd();
    std::vector<bool> drawn(txverts.size());
    glBegin(GL_POINTS);
    for (const GlFace& face : group.glFaces) {
        for (const VertexRef& ref : face.refs) {
            const auto t = static_cast<std::size_t>(ref.txvert);
            if (t >= txverts.size() || drawn[t])
                continue;
            drawn[t] = true;
            if (txverts[t].selected)
                glColor3d(0.0, 1.0, 0.0);
            else
                glColor3d(1.0, 0.0, 0.0);
            vertex(txverts[t], kPointDepth);
        }
    }
    glEnd();

    if (rectActive) {
        glColor3d(0.0, 1.0, 0.0);
        glBegin(GL_LINE_LOOP);
        glVertex3d(rectLowU, rectLowV, kRectDepth);
        glVertex3d(rectHighU, rectLowV, kRectDepth);
        glVertex3d(rectHighU, rectHighV, kRectDepth);
        glVertex3d(rectLowU, rectHighV, kRectDepth);
        glEnd();
    }
}

} // namespace sw
