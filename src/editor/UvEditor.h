#pragma once

#include "editor/ViewMapping.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace sw {

class MessageBoxService;
class Model;
struct GlGroup;
struct GlTxvert;

// The six planes an automatic remap projects from, numbered as the control panel's buttons.
enum class RemapDirection : int {
    Front = 501,
    Back = 502,
    Top = 503,
    Bottom = 504,
    Left = 505,
    Right = 506,
};

// What the texture view keeps from one frame to the next, checked against the model at every
// frame: the group's corners, the texture vertices they name (each once), the outline's edges
// (each once), and the vertices' positions and colours as arrays GL draws from.
struct TextureViewCache {
    bool shared = true;
    std::size_t arraySize = 0;         // the texture vertices of the array the faces index
    std::vector<int> topology;         // each face's corner count, then its texture vertices
    std::vector<int> vertices;         // the texture vertices named, in order of first use
    std::vector<unsigned> edges;       // two places in `vertices` per edge of the outline
    std::vector<unsigned> pointOrder;  // the places in `vertices` in the order drawn
    std::vector<double> positions;     // u and v of each of `vertices`
    std::vector<std::uint8_t> colours; // red or green of each, by its selection
};

// The editor of one material group of one mesh. It keeps the square the texture view shows
// and the selection rectangle; the texture vertices it edits, with their selection flags, live
// in the model. It holds no pointer into the model: every operation is given the model and
// finds the mesh and the group again by their indices, which must exist in it.
//
// The group's texture vertices are the entries of the mesh's glTxverts that its faces' corners
// name while the group is shared, and its own ownTxverts once an automatic remap has given it
// some. Every operation acts on each of them once, however many corners name it.
class UvEditor {
public:
    // How near a click must be to a vertex to pick it, in texture units, at the least.
    static constexpr double kClickTolerance = 0.003;

    // Takes the group's material and fits the view to its texture vertices.
    UvEditor(const Model& model, int meshIndex, int groupIndex);

    int meshIndex = 0;
    int groupIndex = 0;
    int materialIndex = 0; // the texture the view shows under the vertices

    // The group this editor edits, in `model`.
    const GlGroup& groupIn(const Model& model) const;

    // The selection rectangle: its fixed and moving corners, and the bounds between them.
    bool rectActive = false;
    double rectAnchorU = 0, rectAnchorV = 0;
    double rectCurrentU = 0, rectCurrentV = 0;
    double rectHighV = 0, rectLowV = 0, rectLowU = 0, rectHighU = 0;

    // Bounds of the group's texture vertices, their middle, and half the side of the square
    // the view shows around it.
    double minU = 0, centreU = 0, maxU = 0;
    double minV = 0, centreV = 0, maxV = 0;
    double halfExtent = 0;

    // The view the user zoomed or panned to (`viewHeld`), or the one a CTRL-drag holds still
    // under the hand while it lasts (`gestureHeld`): while either holds, the view shows the
    // frame, a rectangle of texture coordinates centred on (frameCentreU, frameCentreV), and no
    // longer follows the bounds above.
    bool viewHeld = false;
    bool gestureHeld = false;
    double frameCentreU = 0, frameCentreV = 0;
    double frameHalfU = 0, frameHalfV = 0;

    // The texture view: bounds, projection, drawing (texture units: 0..1 spans the image).
    // fitView recomputes the bounds; the view follows them unless it is held.
    void fitView(const Model& model);
    // Half the side of the square the view really shows: halfExtent, except when the
    // vertices all lie on one point, where a small square around it stands in for nothing.
    double shownHalfExtent() const;
    // Where the view shows what over an area. Unless held, it fits the vertices' bounds with
    // a margin of 16 pixels on every side: with the texture's proportions the bounds
    // themselves, its texels square (those of a texture that is not loaded count as square);
    // without, the square of halfExtent stretched over the area.
    ViewMapping mapping(const Model& model, const ViewArea& area) const;
    // The texture's size in texels when it is loaded; 1 by 1 otherwise.
    std::pair<double, double> texelsOf(const Model& model) const;
    // Viewport (in device pixels) and projection for the mapping.
    void setProjection(const ViewMapping& view) const;
    // Draws the tiles of the texture over the whole view, the faces' outlines, the vertices
    // (green selected, red not) and the rectangle; expects the model-view matrix at identity.
    void draw(const Model& model, const ViewMapping& view) const;

    // Selection. Clicks and rectangles flip what they hit.
    bool hasSelection(const Model& model, MessageBoxService& messages) const;
    // The same without a word to the user.
    bool anySelected(const Model& model) const;
    // Flips the vertices within `reachU` and `reachV` of (u, v) along each axis (a box).
    void toggleAt(Model& model, double u, double v, double reachU = kClickTolerance,
                  double reachV = kClickTolerance);
    void beginRect(double u, double v);
    void dragRect(double du, double dv);
    void endRect(Model& model);
    void selectAll(Model& model);
    void selectNone(Model& model);
    void invertSelection(Model& model);

    // Projects the group's 3D vertices from one side and stretches them over the texture once.
    // The first remap gives the group texture vertices of its own, one per 3D vertex. False
    // when they could not be allocated (the user has been told; the group is as it was).
    bool autoRemap(Model& model, RemapDirection direction, MessageBoxService& messages);
    // Projects each face from the side it faces most, as that side's direction projects (so
    // that nothing is mirrored), keeps the faces of one side that share vertices together and
    // lays these pieces out side by side over the texture, apart and with one common scale:
    // texels are square on the model and as dense on every piece. A 3D vertex gets a texture
    // vertex of its own in each piece it belongs to. False when they could not be allocated
    // (the user has been told; the group is as it was).
    bool boxRemap(Model& model, MessageBoxService& messages);

    // Manual changes of the selected vertices; each re-fits the view.
    void moveSelection(Model& model, double du, double dv);
    void scaleU(Model& model, double factor);
    void scaleV(Model& model, double factor);
    // Turns the selected vertices by a quarter turn counter-clockwise as the view shows them
    // (clockwise when `quarterTurns` is negative), or mirrors them left to right
    // (horizontally) or top to bottom, about the middle of their bounds. Measured in texels
    // when the texture is loaded, so that what the user sees turns by 90 degrees on a texture
    // that is not square; each re-fits the view.
    void rotateSelection(Model& model, int quarterTurns);
    void flipSelection(Model& model, bool horizontally);

    // Zoom and pan of the texture view: a zoom by `factor` (above 1 closer) keeps the texture
    // point under pixel (x, y) where it is; a pan moves the view with a pointer step of
    // (dx, dy) pixels. Both hold the view until followVertices(), which "Fit view" and "edit"
    // call.
    void zoomAt(const Model& model, const ViewArea& area, double x, double y, double factor);
    void panBy(const Model& model, const ViewArea& area, double dx, double dy);
    void followVertices();
    // A CTRL-drag holds the view still while it lasts, unless it is held already.
    void holdForGesture(bool keepProportions);
    void releaseGesture();

private:
    // Gives the group `own` as its texture vertices. Leaving the mesh's shared ones clears the
    // selection first, which was of those.
    void takeOwnTxverts(Model& model, std::vector<GlTxvert> own);

    mutable TextureViewCache cache_;
};

} // namespace sw
