#pragma once

namespace sw {

class MessageBoxService;
class Model;

// The six planes an automatic remap projects from, numbered as the control panel's buttons.
enum class RemapDirection : int {
    Front = 501,
    Back = 502,
    Top = 503,
    Bottom = 504,
    Left = 505,
    Right = 506,
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
    // Takes the group's material and fits the view to its texture vertices.
    UvEditor(const Model& model, int meshIndex, int groupIndex);

    int meshIndex = 0;
    int groupIndex = 0;
    int materialIndex = 0; // the texture the view shows under the vertices

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

    // The texture view: bounds, projection, drawing (texture units: 0..1 spans the image).
    void fitView(const Model& model);
    // Half the side of the square the view really shows: halfExtent, except when the
    // vertices all lie on one point, where a small square around it stands in for nothing.
    double shownHalfExtent() const;
    void setProjection(int width, int height) const;
    // Draws the tiles of the texture, the faces' outlines, the vertices (green selected, red
    // not) and the rectangle; expects the model-view matrix at identity.
    void draw(const Model& model) const;

    // Selection. Clicks and rectangles flip what they hit.
    bool hasSelection(const Model& model, MessageBoxService& messages) const;
    void toggleAt(Model& model, double u, double v);
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
};

} // namespace sw
