#pragma once

#include "render/ViewState.h"

#include <string_view>

namespace sw {

class Model;

// Turning, panning and zooming the 3D view: the camera operations behind the five scroll bars
// around the view, the arrow and numeric-pad keys, the "M" and "R" characters and buttons,
// and the mouse-rotate mode. Every operation changes only the ViewState; the caller then sets
// the scroll bars from scrollBarPositions(), the mouse-mode button from mouseModeCaption(),
// and draws a frame.

// Scroll requests as the scroll bars send them (the Windows codes; left and right share the
// codes of up and down).
inline constexpr int kSbLineUp = 0;
inline constexpr int kSbLineDown = 1;
inline constexpr int kSbPageUp = 2;
inline constexpr int kSbPageDown = 3;
inline constexpr int kSbThumbPosition = 4;
inline constexpr int kSbThumbTrack = 5;
inline constexpr int kSbTop = 6;
inline constexpr int kSbBottom = 7;
inline constexpr int kSbEndScroll = 8;

// Limits of the pan and zoom steps; the angles stay within -180..180 degrees.
inline constexpr int kViewStepLimit = 100;
inline constexpr double kViewAngleLimit = 180.0;

// The keys the view answers to, by their virtual-key codes.
enum class ViewKey : int {
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    PadMultiply = 106,
    PadAdd = 107,
    PadSubtract = 109,
};

// The five scroll bars around the view.
enum class ViewBar { Pitch, Yaw, Zoom, PanX, PanY };

struct ScrollBarPositions {
    int pitchBar = 0;
    int yawBar = 0;
    int zoomBar = 0;
    int panXBar = 0;
    int panYBar = 0;

    bool operator==(const ScrollBarPositions&) const = default;
};

// What the main window knows when a key or character arrives.
struct KeyContext {
    const Model* model = nullptr; // the open model; null while none is open
    bool modelViewActive = false;
    bool shift = false;
    bool ctrl = false;
};

// The extent resetView() uses in place of one that cannot scale the view: not a finite
// number of at least kMinUsableExtent (a model of one vertex or of vertices all on one point
// has extent 0; a model without vertices keeps its start value, a huge negative number).
inline constexpr double kMinUsableExtent = 1e-6;
inline constexpr double kFallbackExtent = 1.0;

// Fits the camera to the model: no turn, pan or zoom, scales from the model's extent, mouse
// mode off. Afterwards every bar is at 0 and the button reads "M".
void resetView(ViewState& view, const Model& model);

// Adds degrees to an angle. Wrapping (lines, keys, mouse): a result beyond 180 or -180 comes
// back by 360 degrees; clamping (pages, thumb): it stops at 180 or -180. Exactly 180 and
// -180 are kept either way.
double angleStepWrapping(double angle, double degrees);
double angleStepClamping(double angle, double degrees);

// Add steps to panX, panY or zoom, clamped to -100..100, and move the camera to match: the
// eye and the point looked at move together, 10 x zoomFactor scaled units per pan step.
void stepPanX(ViewState& view, int steps);
void stepPanY(ViewState& view, int steps);
void stepZoom(ViewState& view, int steps);

// The positions the scroll bars show for the view: pitch and zoom negated (so that moving
// either thumb up adds to it), angles truncated toward zero.
ScrollBarPositions scrollBarPositions(const ViewState& view);
int scrollBarPosition(const ViewState& view, ViewBar bar);

// One scroll request of a bar; pos is the thumb position of the thumb requests. True when the
// request was handled (lines, pages, thumb), after which the caller sets that bar's position
// again; top, bottom and end of scroll change nothing and give false. Either way the caller
// then draws a frame if the model view is shown, so that a thumb drag moves the model.
bool applyScrollRequest(ViewState& view, ViewBar bar, int request, int pos);

// A key of the main window (virtual-key code). Only while the model view is shown with a
// model open; true when the view changed. The keys themselves do not draw.
bool viewKeyDown(ViewState& view, int virtualKey, const KeyContext& context);

// A character of the main window, either case: "M" toggles the mouse mode, "R" resets the
// view. Only while the model view is shown with a model open.
enum class ViewCommand { None, ToggleMouseMode, ResetView };
ViewCommand viewCharacter(ViewState& view, int character, const KeyContext& context);

// The "M" button and character: mouse movement over the view turns the model, or stops to.
void toggleMouseRotate(ViewState& view);
// The caption of the mouse-mode button: "m" while the mouse turns the model, "M" otherwise.
std::string_view mouseModeCaption(const ViewState& view);

// A pointer move over the 3D view while the mouse mode is on, dx and dy in pixels since the
// previous move (y downwards): one degree of yaw toward the move's horizontal direction and
// one of pitch up when the pointer moved up, whatever the distance, wrapping.
void rotateByPointerMove(ViewState& view, int dx, int dy);

} // namespace sw
