#pragma once

#include "model/Model.h"

namespace sw {

// The 3D camera of the model view. The frame hands eye, center and up to gluLookAt; the model
// view turns the model by pitch and yaw and scales it by modelScale x zoomFactor. The shell's
// navigation keeps it consistent with the scroll bars.
struct ViewState {
    Vector3 eye{0, 0, -20000};
    Vector3 center{0, 0, 0};
    Vector3 up{0, 1, 0};
    double yaw = 0;   // degrees, -180..180
    double pitch = 0; // degrees, -180..180
    int panX = 0;     // steps, -100..100
    int panY = 0;
    int zoom = 0;
    double panScaleX = 1;
    double panScaleY = 1;
    double zoomFactor = 1;
    double modelScale = 1;
    bool mouseRotate = false;
};

} // namespace sw
