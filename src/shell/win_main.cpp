#include <cstdio>
#include <string>

#include "frontend/main_menu.h"
#include "online/session.h"
#include "platform/platform.h"
#include "replay/replay_file.h"
#include "shell/replays.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_settings.h"

namespace {
constexpr const char* GameTitle = "Volleen";
constexpr const char* IconFile = "volleen-icon.bmp";
constexpr int32_t OnlineFailed = 3;

// An online session that could not be had: the reason on the screen for a
// moment (it is on stderr already), and the game ends.
int32_t EndWithoutMatch() {
    OnlineShowEnding();
    platform::Sleep(4000);
    GameShutdown();
    platform::DestroyGameWindow();
    return OnlineFailed;
}

}  // namespace

void WindowProc(const platform::Message& message) {
    switch (message.kind) {
        case platform::MessageKind::Create:
        case platform::MessageKind::Paint:
            break;
        case platform::MessageKind::Close:
            // What the system does by default for a close request: destroy
            // the window, whose destroy message ends the loop.
            WindowProc({platform::MessageKind::Destroy, 0});
            break;
        case platform::MessageKind::Destroy:
            platform::PostMessage(platform::MessageKind::Quit, 0);
            break;
        case platform::MessageKind::Quit:
            break;
    }
}

int32_t RunMessageLoop(int32_t (*frame)()) {
    for (;;) {
        // At most one message a pass; the quit message ends the loop before
        // that pass's frame.
        platform::Message message;
        if (platform::PeekMessage(message)) {
            if (message.kind == platform::MessageKind::Quit) return message.code;
            WindowProc(message);
        }
        frame();
    }
}

bool OpenGameWindow() {
    std::string why;
    if (!platform::CreateGameWindow(GameTitle, IconFile, &why)) {
        std::fprintf(stderr, "volleen: cannot open the game window: %s\n", why.c_str());
        platform::ShowStartupError(("Volleen cannot open its window: " + why).c_str());
        return false;
    }
    // Handled as part of creating the window, not as a queued message, so the
    // loop's first pass is not spent on it.
    WindowProc({platform::MessageKind::Create, 0});
    NoteWindowAtStart();
    return true;
}

int32_t WinMain() {
    if (!OpenGameWindow()) return 1;
    if (OnlineSide == OnlineRole::Off) {
        GameInit();
    } else {
        GameIntro();
        if (!StartOnline()) {
            // Escape while waiting: the game goes on at home. A session that
            // could not be had: said, and the game ends.
            if (!OnlineEnding.empty()) return EndWithoutMatch();
            MainMenu();
        }
    }
    const int32_t exitCode = RunMessageLoop(OnlineFrameStep);
    if (OnlineOn) {
        OnlineLeave(LeaveReason::Closed);
        OnlineClose();
    }
    KeepMatchUnderWay(REPLAY_CLOSED);
    GameShutdown();
    SaveWindowSettings();
    platform::DestroyGameWindow();
    return exitCode;
}
