// WaitForKey driven by scripted keys on virtual time.
#include <gtest/gtest.h>

#include <string>

#include "input/input.h"
#include "input/key_capture.h"
#include "input/key_names.h"
#include "platform/headless/headless.h"
#include "support/headless_test.h"

namespace {

class WaitForKeyTest : public support::HeadlessTest {
protected:
    void Start(const std::string& script) {
        KeyboardShutdown();
        InputShutdown();
        HeadlessTest::Start(script);
        ASSERT_EQ(InputInit(), 1);
        ASSERT_EQ(KeyboardInit(), 1);
    }
    void TearDown() override {
        KeyboardShutdown();
        InputShutdown();
        HeadlessTest::TearDown();
    }
};

TEST_F(WaitForKeyTest, ReturnsAtOnceWithAKeyAlreadyHeld) {
    Start("0 key 39 down\n");
    EXPECT_EQ(WaitForKey(), 39);
    EXPECT_EQ(headless::VirtualMs(), 0u);
}

TEST_F(WaitForKeyTest, TheHighestHeldKeyWins) {
    Start("0 key 30 down\n0 key 42 down\n");
    EXPECT_EQ(WaitForKey(), 42);
}

TEST_F(WaitForKeyTest, EscapeAloneKeepsItWaiting) {
    Start("0 key 1 down\n500 key 50 down\n");
    EXPECT_EQ(WaitForKey(), 50);
    EXPECT_EQ(headless::VirtualMs(), 500u);
}

TEST_F(WaitForKeyTest, EscapeWithAnotherKeyGivesTheOther) {
    Start("0 key 1 down\n0 key 16 down\n");
    EXPECT_EQ(WaitForKey(), 16);
}

TEST_F(WaitForKeyTest, AKeyWithoutANameKeepsItWaiting) {
    Start("0 key 86 down\n250 key 86 up\n300 key 203 down\n");
    EXPECT_EQ(WaitForKey(), 203);
    EXPECT_EQ(headless::VirtualMs(), 300u);
}

TEST_F(WaitForKeyTest, StartsFromNothingNoted) {
    // A key noted by an earlier capture does not end a new wait.
    NotedKey = 57;
    Start("0 key 1 down\n120 key 2 down\n");
    EXPECT_EQ(WaitForKey(), 2);
    EXPECT_EQ(headless::VirtualMs(), 120u);
}

TEST_F(WaitForKeyTest, AKeyHeldForOneMillisecondIsCaught) {
    // The wait reads at every millisecond of virtual time: a key held for
    // one of them is caught.
    Start("40 key 17 down\n41 key 17 up\n");
    EXPECT_EQ(WaitForKey(), 17);
    EXPECT_EQ(headless::VirtualMs(), 40u);
}

}  // namespace
