// The base of every test that runs game or platform code on the headless
// backend: a fresh backend at virtual time 0, watched by a recorder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"
#include "support/recorder.h"

namespace support {

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
    void TearDown() override { headless::SetObserver(nullptr); }
    // Configures the backend afresh with `script` (and the recorder emptied).
    void Start(const std::string& script = "", headless::Options options = {});

    Recorder recorder;
};

}  // namespace support
