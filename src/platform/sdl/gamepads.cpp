// Gamepads through SDL's game-controller API, whose mapping database knows
// the common pads. A pad keeps its number while it stays plugged in: when
// one is pulled out, the others do not move up, and the next pad plugged in
// (or one that was waiting beyond the first two) takes the free number.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/state.h"

namespace platform {
namespace sdl {

namespace {

static_assert(static_cast<int>(PadButton::Count) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
static_assert(static_cast<int>(PadAxis::Count) == SDL_CONTROLLER_AXIS_MAX);

bool padsOpen = false;
std::vector<SDL_GameController*> connected;  // in the order they were plugged in
SDL_GameController* numbered[MaxPads] = {};

void GiveFreeNumbers() {
    for (SDL_GameController*& slot : numbered) {
        if (slot != nullptr) continue;
        for (SDL_GameController* pad : connected) {
            if (std::find(std::begin(numbered), std::end(numbered), pad) == std::end(numbered)) {
                slot = pad;
                break;
            }
        }
    }
}

SDL_GameController* ByInstance(SDL_JoystickID id) {
    for (SDL_GameController* pad : connected) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id) return pad;
    }
    return nullptr;
}

}  // namespace

void OpenPads() {
    // Pads are a bonus: without the subsystem the game plays on without them.
    padsOpen = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void ClosePads() {
    for (SDL_GameController* pad : connected) SDL_GameControllerClose(pad);
    connected.clear();
    std::fill(std::begin(numbered), std::end(numbered), nullptr);
    if (padsOpen) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padsOpen = false;
}

void HandlePadEvent(const SDL_ControllerDeviceEvent& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        // `which` is a device index here; the pads present at start-up are
        // announced this way too.
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.which);
        if (ByInstance(id) != nullptr) return;
        SDL_GameController* pad = SDL_GameControllerOpen(event.which);
        if (pad == nullptr) return;
        connected.push_back(pad);
        GiveFreeNumbers();
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* pad = ByInstance(event.which);
        if (pad == nullptr) return;
        for (int32_t index = 0; index < MaxPads; ++index) {
            if (numbered[index] == pad) state.padSamples.Forget(index);
        }
        std::replace(std::begin(numbered), std::end(numbered), pad,
                     static_cast<SDL_GameController*>(nullptr));
        connected.erase(std::find(connected.begin(), connected.end(), pad));
        SDL_GameControllerClose(pad);
        GiveFreeNumbers();
    }
}

void HandlePadButton(const SDL_ControllerButtonEvent& event) {
    for (int32_t index = 0; index < MaxPads; ++index) {
        SDL_GameController* pad = numbered[index];
        if (pad != nullptr &&
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == event.which) {
            state.padSamples.Press(index, event.button);
        }
    }
}

}  // namespace sdl

bool ReadPad(int32_t index, PadReading& reading) {
    if (!sdl::padsOpen) {
        std::memset(&reading, 0, sizeof reading);
        return false;
    }
    if (!sdl::state.padSamples.fresh) {
        // Fresh state without a whole event pump: the reads that come with
        // every keyboard and mouse read pump the plugging in and out. The
        // presses the update found are taken now, so that they join this
        // sample rather than the next one as well.
        SDL_GameControllerUpdate();
        SDL_Event events[16];
        for (;;) {
            const int count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_CONTROLLERBUTTONDOWN,
                                             SDL_CONTROLLERBUTTONDOWN);
            if (count <= 0) break;
            for (int i = 0; i < count; ++i) sdl::HandlePadButton(events[i].cbutton);
        }
    }
    return sdl::state.padSamples.Read(index, reading, [](int32_t pad, PadReading& now) {
        SDL_GameController* controller = sdl::numbered[pad];
        if (controller == nullptr || !SDL_GameControllerGetAttached(controller)) return false;
        for (int i = 0; i < static_cast<int>(PadButton::Count); ++i) {
            const auto button = static_cast<SDL_GameControllerButton>(i);
            now.buttons[i] = SDL_GameControllerGetButton(controller, button) != 0 ? 0x80 : 0;
        }
        for (int i = 0; i < static_cast<int>(PadAxis::Count); ++i) {
            const auto axis = static_cast<SDL_GameControllerAxis>(i);
            now.axes[i] = SDL_GameControllerGetAxis(controller, axis);
        }
        return true;
    });
}

}  // namespace platform
