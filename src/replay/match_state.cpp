#include "replay/match_state.h"

#include "clock/random.h"
#include "common/byte_order.h"
#include "common/crc32.h"
#include "graphics/bob.h"
#include "match/match.h"

namespace {

int32_t* const Variables[] = {&MatchState,   &ServingSide,  &BallsInPlay, &GameMode,
                              &Player1Score, &Player2Score, &SplitTimer,  &BackgroundIndex};

// Each ball: x, y, velocity, state, visible; each paddle: x and direction.
constexpr size_t BallBytes = 6 * 4;
constexpr size_t PaddleBytes = 2 * 4;
static_assert(sizeof Variables / sizeof Variables[0] * 4 + 2 * BallBytes + 2 * PaddleBytes + 4 ==
              MATCH_STATE_BYTES);

uint8_t* SaveBall(uint8_t* p, const Bob& ball) {
    const int32_t fields[6] = {ball.x,         ball.y,
                               ball.xVelocity, ball.yVelocity,
                               ball.state,     (ball.attributes & BOB_VISIBLE) != 0 ? 1 : 0};
    for (int32_t field : fields) {
        WriteLe32(p, static_cast<uint32_t>(field));
        p += 4;
    }
    return p;
}

const uint8_t* RestoreBall(const uint8_t* p, Bob& ball) {
    auto next = [&p] {
        const int32_t value = static_cast<int32_t>(ReadLe32(p));
        p += 4;
        return value;
    };
    ball.x = next();
    ball.y = next();
    ball.xVelocity = next();
    ball.yVelocity = next();
    ball.state = next();
    if (next() != 0) {
        ShowBob(&ball);
    } else {
        HideBob(&ball);
    }
    return p;
}

}  // namespace

void SaveMatchState(uint8_t out[MATCH_STATE_BYTES]) {
    uint8_t* p = out;
    for (const int32_t* variable : Variables) {
        WriteLe32(p, static_cast<uint32_t>(*variable));
        p += 4;
    }
    p = SaveBall(p, Ball1);
    p = SaveBall(p, Ball2);
    for (const Bob* paddle : {&Paddle1, &Paddle2}) {
        WriteLe32(p, static_cast<uint32_t>(paddle->x));
        WriteLe32(p + 4, static_cast<uint32_t>(paddle->xVelocity));
        p += PaddleBytes;
    }
    WriteLe32(p, RandomState);
}

void RestoreMatchState(const uint8_t in[MATCH_STATE_BYTES]) {
    const uint8_t* p = in;
    for (int32_t* variable : Variables) {
        *variable = static_cast<int32_t>(ReadLe32(p));
        p += 4;
    }
    p = RestoreBall(p, Ball1);
    p = RestoreBall(p, Ball2);
    for (Bob* paddle : {&Paddle1, &Paddle2}) {
        paddle->x = static_cast<int32_t>(ReadLe32(p));
        paddle->xVelocity = static_cast<int32_t>(ReadLe32(p + 4));
        p += PaddleBytes;
    }
    RandomState = ReadLe32(p);
}

uint32_t MatchStateChecksum() {
    uint8_t bytes[MATCH_STATE_BYTES];
    SaveMatchState(bytes);
    return Crc32(bytes, sizeof bytes);
}
