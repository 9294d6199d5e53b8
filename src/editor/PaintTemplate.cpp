#include "editor/PaintTemplate.h"

#include "editor/GroupVertices.h"
#include "textures/DecodedImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

namespace sw {

namespace {

struct UvPoint {
    double u = 0;
    double v = 0;
};

// Cuts the segment from a to b to the closed unit square (Liang and Barsky's clipping). False
// when no part of it is inside. The arithmetic runs on halves of the coordinates, so that the
// differences stay finite for any finite coordinates a damaged file can give; an end that is
// cut lies exactly on its side, and an end that is not keeps its coordinates, so that a long
// segment does not lose its place to rounding.
bool clipToUnitSquare(UvPoint& a, UvPoint& b) {
    const UvPoint half{a.u / 2, a.v / 2};
    const double du = b.u / 2 - half.u;
    const double dv = b.v / 2 - half.v;
    // Inside means p * t <= q for each side: u = 0, u = 1, v = 0, v = 1.
    const std::array<double, 4> p{-du, du, -dv, dv};
    const std::array<double, 4> q{half.u, 0.5 - half.u, half.v, 0.5 - half.v};
    constexpr std::size_t kNoSide = 4;
    double enter = 0;
    double leave = 1;
    std::size_t enterSide = kNoSide;
    std::size_t leaveSide = kNoSide;
    for (std::size_t side = 0; side < 4; ++side) {
        if (p[side] == 0) {
            if (q[side] < 0)
                return false;
            continue;
        }
        const double t = q[side] / p[side];
        if (p[side] < 0 && t > enter) {
            enter = t;
            enterSide = side;
        } else if (p[side] > 0 && t < leave) {
            leave = t;
            leaveSide = side;
        }
    }
    if (enter > leave)
        return false;
    const auto cut = [&](UvPoint& end, double t, std::size_t side) {
        if (side == kNoSide)
            return;
        end.u = std::clamp(2 * (half.u + t * du), 0.0, 1.0);
        end.v = std::clamp(2 * (half.v + t * dv), 0.0, 1.0);
        (side < 2 ? end.u : end.v) = side % 2 == 0 ? 0.0 : 1.0;
    };
    cut(b, leave, leaveSide);
    cut(a, enter, enterSide);
    return true;
}

struct Pixel {
    int x = 0;
    int y = 0;
};

// The pixel over the texel that (u, v) of the unit square addresses as GL addresses texels:
// column floor(u x width), and row floor(v x height) counted from the bottom, since the
// texture's first row (the image's last) lies at v = 0. The square's far sides, u = 1 and
// v = 1, belong to the last column and the top row, so a group remapped to fill the square
// shows all four of its sides.
Pixel pixelOf(UvPoint point, int width, int height) {
    const int column = std::min(static_cast<int>(point.u * width), width - 1);
    const int rowUp = std::min(static_cast<int>(point.v * height), height - 1);
    return {column, height - 1 - rowUp};
}

// Both ends and the pixels between them, one per step along the longer axis (Bresenham).
void drawLine(RgbaPixels& image, Pixel a, Pixel b) {
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int stepX = a.x < b.x ? 1 : -1;
    const int stepY = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        const auto at = (static_cast<std::size_t>(a.y) * static_cast<std::size_t>(image.width) +
                         static_cast<std::size_t>(a.x)) *
                        4;
        std::copy(kOutlineColour.begin(), kOutlineColour.end(), image.bytes.begin() + at);
        if (a.x == b.x && a.y == b.y)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            a.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            a.y += stepY;
        }
    }
}

// The ground: the underlay scaled to the image, each pixel taking the one it falls on, or
// transparent.
void fillGround(RgbaPixels& image, const RgbaPixels* underlay) {
    if (underlay == nullptr || underlay->empty())
        return;
    const auto w = static_cast<std::size_t>(image.width);
    const auto h = static_cast<std::size_t>(image.height);
    const auto uw = static_cast<std::size_t>(underlay->width);
    const auto uh = static_cast<std::size_t>(underlay->height);
    std::uint8_t* out = image.bytes.data();
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* row = underlay->bytes.data() + y * uh / h * uw * 4;
        for (std::size_t x = 0; x < w; ++x, out += 4)
            std::copy_n(row + x * uw / w * 4, 4, out);
    }
}

} // namespace

TemplateBase templateBaseOf(const Model& model, const GlGroup& group) {
    if (!model.isTextured(group.material))
        return {};
    const Material* texture = model.materialAt(group.material);
    return {texture, texture->width, texture->height};
}

RgbaPixels paintTemplate(const Mesh& mesh, const GlGroup& group, int width, int height,
                         const RgbaPixels* underlay) {
    if (!withinImageLimits(width, height))
        return {};
    RgbaPixels image{width, height, {}};
    try {
        image.bytes.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    } catch (const std::bad_alloc&) {
        return {};
    }
    fillGround(image, underlay);
    const auto edge = [&](UvPoint a, UvPoint b) {
        if (clipToUnitSquare(a, b))
            drawLine(image, pixelOf(a, width, height), pixelOf(b, width, height));
    };
    const std::vector<GlTxvert>& txverts = editor::txvertsOf(mesh, group);
    for (const GlFace& face : group.glFaces) {
        // Each corner is joined to the one before and the last to the first; corners naming
        // no vertex, or a vertex without finite coordinates, are passed over.
        UvPoint first;
        UvPoint previous;
        std::size_t corners = 0;
        for (const VertexRef& ref : face.refs) {
            const auto t = static_cast<std::size_t>(ref.txvert);
            if (t >= txverts.size() || !std::isfinite(txverts[t].u) || !std::isfinite(txverts[t].v))
                continue;
            const UvPoint point{txverts[t].u, txverts[t].v};
            if (corners++ == 0)
                first = point;
            else
                edge(previous, point);
            previous = point;
        }
        if (corners > 1)
            edge(previous, first);
    }
    return image;
}

} // namespace sw
