#include "cli/PaintTemplate.h"

#include "editor/GroupVertices.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace sw::cli {

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

// The pixel over the texel that (u, v) of the unit square addresses as GL addresses texels:
// column floor(u x width), and row floor(v x height) counted from the bottom, since the
// texture's first row (the image's last) lies at v = 0. The square's far sides, u = 1 and
// v = 1, belong to the last column and the top row, so a group remapped to fill the square
// shows all four of its sides.
QPoint pixelOf(UvPoint point, QSize size) {
    const int column = std::min(static_cast<int>(point.u * size.width()), size.width() - 1);
    const int rowUp = std::min(static_cast<int>(point.v * size.height()), size.height() - 1);
    return {column, size.height() - 1 - rowUp};
}

} // namespace

QImage paintTemplate(const Mesh& mesh, const GlGroup& group, QSize size, const QImage& underlay) {
    QImage image = underlay.isNull()
                       ? QImage(size, QImage::Format_ARGB32)
                       : underlay.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || image.size() != size)
        return {};
    if (underlay.isNull())
        image.fill(Qt::transparent);

    QPainter painter(&image);
    QPen pen{QColor::fromRgba(kOutlineColour)};
    pen.setCosmetic(true);
    painter.setPen(pen);
    const auto edge = [&](UvPoint a, UvPoint b) {
        if (clipToUnitSquare(a, b))
            painter.drawLine(pixelOf(a, size), pixelOf(b, size));
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

} // namespace sw::cli
