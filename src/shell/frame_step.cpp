#include "frontend/main_menu.h"
#include "graphics/transitions.h"
#include "match/match_frame.h"
#include "match/match_input.h"
#include "match/match_pause.h"
#include "shell/replays.h"
#include "shell/shell.h"

int32_t FrameStep() {
    PauseWhileAway();
    ReadMatchInput();
    RecordFrameStart();
    int32_t outcome = MatchFrame();
    RecordFrameEnd(outcome);
    if (outcome == FRAME_MATCH_LEFT) {
        // The menu comes first; the frame then plays on in the match it set
        // up, without looking at Escape again.
        FadeOutAndClear();
        MainMenu();
        ReadPlayersInput();
        RecordFrameStart();
        outcome = PlayMatchFrame();
        RecordFrameEnd(outcome);
    }
    if (outcome == FRAME_MATCH_OVER) {
        // The end-of-match display has been shown: fade to the menu, and the
        // frame ends in the match the menu set up.
        FadeOutAndClear();
        MainMenu();
        FinishMatchFrame();
    }
    return outcome;
}
