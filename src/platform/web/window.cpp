// The one game "window": the page's canvas, and the message queue. Closing the
// tab simply ends the game; the page never asks whether to leave.
#include <emscripten.h>
#include <sys/stat.h>

#include "platform/common/message_queue.h"
#include "platform/common/mixer.h"
#include "platform/platform.h"
#include "platform/web/state.h"

EM_JS(void, volleen_open_page, (const char* title), { Volleen.open(UTF8ToString(title)); });
EM_JS(void, volleen_close_page, (), { Volleen.close(); });
EM_JS(void, volleen_fail_page, (const char* text), { Volleen.fail(UTF8ToString(text)); });

namespace platform {
namespace web {

State state;

}  // namespace web

using web::state;

// A page may take the whole screen only when the player asks (Alt+Enter or
// the page's button), so it always starts in the browser's window.
void SetStartOptions(const StartOptions& /*options*/) {}

bool KeptReplaysFolder(std::string* folder, int32_t* kept) {
    *folder = ".";
    *kept = 10;
    return true;
}

void ShowStartupError(const char* text) { volleen_fail_page(text); }

bool CreateGameWindow(const char* title, const char* /*iconFile*/, std::string* /*why*/) {
    // Emscripten starts with every permission bit masked out, which would
    // leave the files the game writes unreadable; the usual mask instead.
    umask(022);
    // The page has its own icon; the window is the canvas it already shows.
    volleen_open_page(title);
    state.windowOpen = true;
    return true;
}

void DestroyGameWindow() {
    CloseDisplay();
    CloseAudio();
    mixer::ReleaseAll();
    state = web::State{};
    queue::Clear();
    volleen_close_page();
}

// The page's own size is the browser's to keep.
bool WindowPlacement(bool* /*fullScreen*/, int32_t* /*width*/, int32_t* /*height*/) {
    return false;
}

bool PeekMessage(Message& out) {
    // A frame that ran late reaches here without having waited; the browser
    // still gets its turn now and then, to paint and to take input.
    if (TickCount() - state.lastWait > 20) web::Wait(0);
    return queue::Take(out);
}

void PostMessage(MessageKind kind, int32_t code) { queue::Post(kind, code); }

// A page has no close button; only a posted Close requests one.
bool CloseRequested() { return queue::CloseRequested(); }

// The pointer follows the capture instead: hidden while the game holds the
// mouse, shown whenever the player may need it for the page.
void ShowCursor(bool /*show*/) {}

}  // namespace platform
