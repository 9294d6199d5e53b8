#include "app/Navigation.h"

#include "model/Model.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace sw {

namespace {

// The camera stands this far in front of the model, looking at it along +z.
constexpr double kEyeDistance = 20000.0;
// Steps per unit of model size are 200 / (2 x extent); the model is scaled to an extent of
// 1000 units; every zoom step enlarges it by 3 %.
constexpr double kStepsAcross = 200.0;
constexpr double kScaledExtent = 1000.0;
constexpr double kZoomBase = 1.03;

constexpr int kLargeStep = 10; // CTRL held, and page requests

double usableExtent(double extent) {
    const bool usable =
        std::isfinite(extent) && extent >= kMinUsableExtent && std::isfinite(extent + extent);
    return usable ? extent : kFallbackExtent;
}

// In 64 bits, so that no step count can overflow before it is clamped.
int clampSteps(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -kViewStepLimit, kViewStepLimit));
}

// The camera moves with the pan so that it keeps looking straight at the model.
void updateCameraX(ViewState& view) {
    view.eye.x = -(view.panX / view.panScaleX * view.modelScale * view.zoomFactor);
    view.center.x = view.eye.x;
}

void updateCameraY(ViewState& view) {
    view.eye.y = -(view.panY / view.panScaleY * view.modelScale * view.zoomFactor);
    view.center.y = view.eye.y;
}

// The thumb sets an angle's whole degrees and keeps its fraction.
double angleFromThumb(double angle, int wholeDegrees) {
    return angleStepClamping(angle, wholeDegrees - std::trunc(angle));
}

bool acceptsKeys(const KeyContext& context) {
    return context.modelViewActive && context.model != nullptr;
}

} // namespace

void resetView(ViewState& view, const Model& model) {
    const double extent = usableExtent(model.extent);
    view.eye = {0, 0, -kEyeDistance};
    view.center = {0, 0, 0};
    view.up = {0, 1, 0};
    view.yaw = 0;
    view.pitch = 0;
    view.panX = 0;
    view.panY = 0;
    view.zoom = 0;
    view.panScaleX = kStepsAcross / (extent + extent);
    view.panScaleY = view.panScaleX;
    view.zoomFactor = 1;
    view.modelScale = kScaledExtent / extent;
    view.mouseRotate = false;
}

double angleStepWrapping(double angle, double degrees) {
    angle += degrees;
    if (angle > kViewAngleLimit)
        angle -= 360.0;
    else if (angle < -kViewAngleLimit)
        angle += 360.0;
    return angle;
}

double angleStepClamping(double angle, double degrees) {
    return std::clamp(angle + degrees, -kViewAngleLimit, kViewAngleLimit);
}

void stepPanX(ViewState& view, int steps) {
    view.panX = clampSteps(static_cast<long long>(view.panX) + steps);
    updateCameraX(view);
}

void stepPanY(ViewState& view, int steps) {
    view.panY = clampSteps(static_cast<long long>(view.panY) + steps);
    updateCameraY(view);
}

void stepZoom(ViewState& view, int steps) {
    view.zoom = clampSteps(static_cast<long long>(view.zoom) + steps);
    view.zoomFactor = std::pow(kZoomBase, view.zoom);
    updateCameraX(view);
    updateCameraY(view);
}

int scrollBarPosition(const ViewState& view, ViewBar bar) {
    switch (bar) {
    case ViewBar::Pitch:
        return -static_cast<int>(std::trunc(view.pitch));
    case ViewBar::Yaw:
        return static_cast<int>(std::trunc(view.yaw));
    case ViewBar::Zoom:
        return -view.zoom;
    case ViewBar::PanX:
        return view.panX;
    case ViewBar::PanY:
        return view.panY;
    }
    return 0;
}

ScrollBarPositions scrollBarPositions(const ViewState& view) {
    return {scrollBarPosition(view, ViewBar::Pitch), scrollBarPosition(view, ViewBar::Yaw),
            scrollBarPosition(view, ViewBar::Zoom), scrollBarPosition(view, ViewBar::PanX),
            scrollBarPosition(view, ViewBar::PanY)};
}

bool applyScrollRequest(ViewState& view, ViewBar bar, int request, int pos) {
    // The step of each request along the bar's own direction (down or right is +). Pitch and
    // zoom bars show their value negated, so their steps are turned round below.
    int step = 0;
    switch (request) {
    case kSbLineUp:
        step = -1;
        break;
    case kSbLineDown:
        step = 1;
        break;
    case kSbPageUp:
        step = -kLargeStep;
        break;
    case kSbPageDown:
        step = kLargeStep;
        break;
    case kSbThumbPosition:
    case kSbThumbTrack:
        break;
    default:
        return false;
    }
    const bool thumb = request == kSbThumbPosition || request == kSbThumbTrack;
    // A scroll message carries the thumb position in 16 bits; no bar reaches beyond that.
    pos = std::clamp(pos, -32768, 32767);
    const bool line = request == kSbLineUp || request == kSbLineDown;

    switch (bar) {
    case ViewBar::Pitch:
        if (thumb)
            view.pitch = angleFromThumb(view.pitch, -pos);
        else if (line)
            view.pitch = angleStepWrapping(view.pitch, -step);
        else
            view.pitch = angleStepClamping(view.pitch, -step);
        break;
    case ViewBar::Yaw:
        if (thumb)
            view.yaw = angleFromThumb(view.yaw, pos);
        else if (line)
            view.yaw = angleStepWrapping(view.yaw, step);
        else
            view.yaw = angleStepClamping(view.yaw, step);
        break;
    case ViewBar::Zoom:
        stepZoom(view, thumb ? -pos - view.zoom : -step);
        break;
    case ViewBar::PanX:
        stepPanX(view, thumb ? pos - view.panX : step);
        break;
    case ViewBar::PanY:
        stepPanY(view, thumb ? pos - view.panY : step);
        break;
    }
    return true;
}

bool viewKeyDown(ViewState& view, int virtualKey, const KeyContext& context) {
    if (!acceptsKeys(context))
        return false;
    const int step = context.ctrl ? kLargeStep : 1;
    switch (static_cast<ViewKey>(virtualKey)) {
    case ViewKey::Left:
        if (context.shift)
            view.yaw = angleStepWrapping(view.yaw, -step);
        else
            stepPanX(view, -step);
        return true;
    case ViewKey::Right:
        if (context.shift)
            view.yaw = angleStepWrapping(view.yaw, step);
        else
            stepPanX(view, step);
        return true;
    case ViewKey::Up:
        if (context.shift)
            view.pitch = angleStepWrapping(view.pitch, step);
        else
            stepPanY(view, -step);
        return true;
    case ViewKey::Down:
        if (context.shift)
            view.pitch = angleStepWrapping(view.pitch, -step);
        else
            stepPanY(view, step);
        return true;
    case ViewKey::PadMultiply:
        // A spin about both axes at once; holding the key spins at the keyboard's repeat rate.
        view.pitch = angleStepWrapping(view.pitch, context.ctrl ? 5 : 1);
        view.yaw = angleStepWrapping(view.yaw, context.ctrl ? 10 : 2);
        return true;
    case ViewKey::PadAdd:
        stepZoom(view, step);
        return true;
    case ViewKey::PadSubtract:
        stepZoom(view, -step);
        return true;
    }
    return false;
}

ViewCommand viewCharacter(ViewState& view, int character, const KeyContext& context) {
    if (!acceptsKeys(context) || character < 0 || character > 0x7f)
        return ViewCommand::None;
    switch (std::toupper(character)) {
    case 'M':
        toggleMouseRotate(view);
        return ViewCommand::ToggleMouseMode;
    case 'R':
        resetView(view, *context.model);
        return ViewCommand::ResetView;
    default:
        return ViewCommand::None;
    }
}

void toggleMouseRotate(ViewState& view) {
    view.mouseRotate = !view.mouseRotate;
}

std::string_view mouseModeCaption(const ViewState& view) {
    return view.mouseRotate ? "m" : "M";
}

void rotateByPointerMove(ViewState& view, int dx, int dy) {
    if (dx != 0)
        view.yaw = angleStepWrapping(view.yaw, dx > 0 ? 1.0 : -1.0);
    if (dy != 0)
        view.pitch = angleStepWrapping(view.pitch, dy < 0 ? 1.0 : -1.0);
}

} // namespace sw
