#include "support/headless_test.h"

namespace support {

void HeadlessTest::Start(const std::string& script, headless::Options options) {
    options.scriptText = script;
    std::string error;
    ASSERT_TRUE(headless::Configure(options, &error)) << error;
    recorder.Clear();
    headless::SetObserver(&recorder);
}

}  // namespace support
