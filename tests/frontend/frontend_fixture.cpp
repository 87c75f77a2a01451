#include "frontend_fixture.h"

#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "graphics/display.h"
#include "input/input.h"
#include "match/match.h"
#include "platform/platform.h"
#include "shell/startup.h"
#include "sound/sound.h"

namespace fe {

void DataFolder::SetUp() {
    namespace fs = std::filesystem;
    HeadlessTest::SetUp();
    const fs::path data = fs::path(VOLLEEN_BINARY_DIR) / "data";
    if (CopyData()) {
        ASSERT_TRUE(fs::exists(data / "TITLE8.BMP"))
            << "no generated data in " << data << ": build the `data` target first";
    }
    folder_ = std::make_unique<support::TempFolder>("volleen-frontend");
    if (CopyData()) {
        for (const fs::directory_entry& entry : fs::directory_iterator(data)) {
            if (entry.is_regular_file() && entry.path().filename() != "keys.dat") {
                fs::copy_file(entry.path(), folder_->path() / entry.path().filename());
            }
        }
    }
    previous_ = fs::current_path();
    fs::current_path(folder_->path());
}

void DataFolder::TearDown() {
    if (!previous_.empty()) std::filesystem::current_path(previous_);
    folder_.reset();
    HeadlessTest::TearDown();
}

void GameUp::Start(const std::string& script) {
    HeadlessTest::Start(script);
    started_ = true;
    LoadSubsystems();
}

void GameUp::TearDown() {
    if (started_) {
        // The release sequence, except that the sound device stays open: it
        // is made only once per process, and the next test of this process
        // loads its sounds again into the same bank.
        for (Bob* bob : {&Paddle1, &Paddle2, &Ball1, &Ball2}) DestroyBob(bob);
        for (BitmapImage& background : Backgrounds) DestroyBitmapImage(&background);
        for (BitmapImage* image : {&TitleImage, &LogoImage2, &LogoImage1, &CreditsImage}) {
            DestroyBitmapImage(image);
        }
        StopDisplay();
        StopAllSounds();
        KeyboardShutdown();
        MouseShutdown();
        InputShutdown();
    }
    DataFolder::TearDown();
}

bool DestroyPosted() {
    platform::Message message;
    bool found = false;
    while (platform::PeekMessage(message)) {
        if (message.kind == platform::MessageKind::Destroy) found = true;
    }
    return found;
}

}  // namespace fe
