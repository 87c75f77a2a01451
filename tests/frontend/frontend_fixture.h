// The front end's tests run the game in a fresh copy of the data folder.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "support/files.h"
#include "support/headless_test.h"

namespace fe {

using support::ReadFileBytes;
using support::SoundEvent;
using support::TextEvent;
using support::WriteFileBytes;

// A temporary folder holding a copy of the generated data, made the working
// directory for the test and given back on tear-down.
class DataFolder : public support::HeadlessTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // An empty folder is enough for tests of keys.dat alone.
    virtual bool CopyData() const { return true; }

    std::unique_ptr<support::TempFolder> folder_;
    std::filesystem::path previous_;
};

// DataFolder plus the game's subsystems up (pictures, sounds, input, key
// bindings) on a headless backend driven by `script`, as GameInit leaves them
// before its logo screens. Call Start() in the test body.
class GameUp : public DataFolder {
protected:
    void Start(const std::string& script);
    void TearDown() override;

    bool started_ = false;
};

// Whether a Destroy message is waiting in the queue (takes the queue's messages).
bool DestroyPosted();

}  // namespace fe
