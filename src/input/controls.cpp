#include "input/controls.h"

#include "input/pads.h"
#include "platform/platform.h"

Controls ControlsInUse = Controls::Still;

void SetControls(Controls controls) {
    if (controls != ControlsInUse) {
        ControlsInUse = controls;
        HoldPadButtonsBack();
    }
    platform::CaptureMouse(controls == Controls::Match);
}
