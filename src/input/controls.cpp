#include "input/controls.h"

#include "platform/platform.h"

Controls ControlsInUse = Controls::Still;

void SetControls(Controls controls) {
    ControlsInUse = controls;
    platform::CaptureMouse(controls == Controls::Match);
}
