#include "render/GlFrame.h"

#include "render/ViewState.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace sw {

namespace {

// Half the model view's extent along the longer side, and its depth range: with the camera at
// z = -20000 and the model scaled to an extent of 1000, the model sits mid-range.
constexpr double kHalfExtent = 1250;
constexpr double kNear = 0;
constexpr double kFar = 40000;

} // namespace

void initGlState() {
    glClearColor(0, 0, 0, 0);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
}

void setupProjection(int width, int height, bool modelViewActive) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A minimised window has no area; its projection is left at the identity rather than
    // handing GL a volume of zero size.
    if (modelViewActive && width > 0 && height > 0) {
        const double w = width;
        const double h = height;
        if (width == height)
            glOrtho(-kHalfExtent, kHalfExtent, -kHalfExtent, kHalfExtent, kNear, kFar);
        else if (width > height)
            glOrtho(-kHalfExtent, kHalfExtent, -kHalfExtent * h / w, kHalfExtent * h / w, kNear,
                    kFar);
        else
            glOrtho(-kHalfExtent * w / h, kHalfExtent * w / h, -kHalfExtent, kHalfExtent, kNear,
                    kFar);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void applyCamera(const ViewState& view) {
    gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.center.x, view.center.y, view.center.z,
              view.up.x, view.up.y, view.up.z);
}

} // namespace sw
