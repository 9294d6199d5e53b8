#pragma once

#include <cmath>

namespace sw {

// The part of the screen the texture view fills: its size in logical (device-independent)
// pixels, as pointer positions count them, and the device pixels per logical pixel that GL
// draws into (2 on a screen scaled to 200%). With `keepProportions` a texel of the texture
// shows square; without, the view stretches its fitted square over the whole area.
struct ViewArea {
    int width = 0;
    int height = 0;
    double pixelRatio = 1;
    bool keepProportions = true;

    int deviceWidth() const { return static_cast<int>(std::lround(width * pixelRatio)); }
    int deviceHeight() const { return static_cast<int>(std::lround(height * pixelRatio)); }
};

struct TexturePoint {
    double u = 0;
    double v = 0;
};

struct PixelPoint {
    double x = 0;
    double y = 0;
};

// How the texture view lays texture coordinates over its area: the texture point at the
// middle of the area and the texture units one logical pixel spans along u and along v.
// Pixels count from the area's top-left corner with y downwards; v runs upwards. Drawing,
// picking, moving and the selection rectangle all go through this one pair of conversions.
struct ViewMapping {
    ViewArea area;
    double centreU = 0;
    double centreV = 0;
    double unitsPerPixelU = 1;
    double unitsPerPixelV = 1;

    // An area without pixels still converts: it counts as one pixel across.
    double width() const { return area.width > 0 ? area.width : 1; }
    double height() const { return area.height > 0 ? area.height : 1; }

    TexturePoint textureAt(double x, double y) const {
        return {centreU + (x - width() / 2) * unitsPerPixelU,
                centreV - (y - height() / 2) * unitsPerPixelV};
    }
    PixelPoint pixelAt(double u, double v) const {
        return {width() / 2 + (u - centreU) / unitsPerPixelU,
                height() / 2 - (v - centreV) / unitsPerPixelV};
    }
    // Half the texture units the area shows across and up.
    double halfAcross() const { return width() / 2 * unitsPerPixelU; }
    double halfUp() const { return height() / 2 * unitsPerPixelV; }
};

} // namespace sw
