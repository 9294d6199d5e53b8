#include "editor/UvEditor.h"

#include "editor/GroupVertices.h"

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

// The fitted view keeps this many logical pixels free on every side of the vertices' bounds,
// so that the border vertices show whole and a rectangle can start outside them.
constexpr double kMargin = 16;
// How far the frame may be zoomed in or out: half a side from a millionth to a million
// repeats of the texture.
constexpr double kMinHalf = 1e-6;
constexpr double kMaxHalf = 1e6;
// A group whose vertices all lie on one point is shown in a square this far on each side of
// it (a tenth of the texture across), so that the point and the texture under it show.
constexpr double kOnePointHalfExtent = 0.05;

struct Frame {
    double centreU = 0.5;
    double centreV = 0.5;
    double halfU = kOnePointHalfExtent;
    double halfV = kOnePointHalfExtent;
};

bool usable(double half) {
    return half > 0 && std::isfinite(half);
}

// The room the fitted frame takes along one side of the area: all of it but the margins, or
// half of an area too small for them.
double room(double pixels) {
    return std::max(pixels - 2 * kMargin, pixels / 2);
}

// The frame the view shows: the held one, or the vertices' bounds (their square when the
// view stretches it over the area).
Frame currentFrame(const UvEditor& editor, bool keepProportions) {
    if (editor.viewHeld || editor.gestureHeld)
        return {editor.frameCentreU, editor.frameCentreV, editor.frameHalfU, editor.frameHalfV};
    Frame frame;
    if (std::isfinite(editor.centreU) && std::isfinite(editor.centreV)) {
        frame.centreU = editor.centreU;
        frame.centreV = editor.centreV;
    }
    const double halfU = (editor.maxU - editor.minU) / 2;
    const double halfV = (editor.maxV - editor.minV) / 2;
    if (keepProportions && std::isfinite(halfU) && std::isfinite(halfV) &&
        (usable(halfU) || usable(halfV))) {
        frame.halfU = halfU;
        frame.halfV = halfV;
    } else {
        frame.halfU = frame.halfV = editor.shownHalfExtent();
    }
    return frame;
}

} // namespace

void UvEditor::fitView(const Model& model) {
    minU = minV = kHuge;
    maxU = maxV = -kHuge;
    const Mesh& mesh = editor::meshOf(model, meshIndex);
    editor::forEachCorner(mesh, editor::groupOf(mesh, groupIndex), [this](const GlTxvert& t) {
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
    return usable(halfExtent) ? halfExtent : kOnePointHalfExtent;
}

std::pair<double, double> UvEditor::texelsOf(const Model& model) const {
    if (!model.isTextured(materialIndex))
        return {1, 1};
    const Material& material = *model.materialAt(materialIndex);
    return {material.width, material.height};
}

ViewMapping UvEditor::mapping(const Model& model, const ViewArea& area) const {
    const Frame frame = currentFrame(*this, area.keepProportions);
    ViewMapping view{area, frame.centreU, frame.centreV, 1, 1};
    const double acrossRoom = room(view.width());
    const double upRoom = room(view.height());
    if (area.keepProportions) {
        const auto [texelsU, texelsV] = texelsOf(model);
        const double texelsPerPixel =
            std::max(2 * frame.halfU * texelsU / acrossRoom, 2 * frame.halfV * texelsV / upRoom);
        view.unitsPerPixelU = texelsPerPixel / texelsU;
        view.unitsPerPixelV = texelsPerPixel / texelsV;
    } else {
        view.unitsPerPixelU = 2 * frame.halfU / acrossRoom;
        view.unitsPerPixelV = 2 * frame.halfV / upRoom;
    }
    if (!usable(view.unitsPerPixelU) || !usable(view.unitsPerPixelV)) {
        view.unitsPerPixelU = 2 * kOnePointHalfExtent / acrossRoom;
        view.unitsPerPixelV = 2 * kOnePointHalfExtent / upRoom;
    }
    return view;
}

void UvEditor::zoomAt(const Model& model, const ViewArea& area, double x, double y, double factor) {
    const ViewMapping before = mapping(model, area);
    const TexturePoint held = before.textureAt(x, y);
    Frame frame = currentFrame(*this, area.keepProportions);
    // Both sides by the same factor, limited so that neither leaves the zoom's range.
    const double larger = std::max(frame.halfU, frame.halfV);
    const double smaller = std::min(frame.halfU, frame.halfV);
    double scale = 1 / factor;
    if (!usable(scale))
        return;
    scale = std::min(scale, kMaxHalf / larger);
    if (smaller > 0)
        scale = std::max(scale, kMinHalf / smaller);
    viewHeld = true;
    frameHalfU = frame.halfU * scale;
    frameHalfV = frame.halfV * scale;
    // The new scale comes from the halves alone; the centre is put where the point stays.
    frameCentreU = frame.centreU;
    frameCentreV = frame.centreV;
    const ViewMapping after = mapping(model, area);
    frameCentreU = held.u - (x - after.width() / 2) * after.unitsPerPixelU;
    frameCentreV = held.v + (y - after.height() / 2) * after.unitsPerPixelV;
}

void UvEditor::panBy(const Model& model, const ViewArea& area, double dx, double dy) {
    const ViewMapping view = mapping(model, area);
    const Frame frame = currentFrame(*this, area.keepProportions);
    viewHeld = true;
    frameHalfU = frame.halfU;
    frameHalfV = frame.halfV;
    frameCentreU = frame.centreU - dx * view.unitsPerPixelU;
    frameCentreV = frame.centreV + dy * view.unitsPerPixelV;
}

void UvEditor::followVertices() {
    viewHeld = false;
    gestureHeld = false;
}

void UvEditor::holdForGesture(bool keepProportions) {
    if (viewHeld || gestureHeld)
        return;
    const Frame frame = currentFrame(*this, keepProportions);
    gestureHeld = true;
    frameCentreU = frame.centreU;
    frameCentreV = frame.centreV;
    frameHalfU = frame.halfU;
    frameHalfV = frame.halfV;
}

void UvEditor::releaseGesture() {
    gestureHeld = false;
}

} // namespace sw
