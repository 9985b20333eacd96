// Every test starts from a clean platform: real clock, no forced failures, no injected input.
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ResetSeams : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { compat::seams::ResetAll(); }
    void OnTestEnd(const testing::TestInfo&) override { compat::seams::ResetAll(); }
};

} // namespace

int main(int argc, char** argv) {
    // Headless unless the caller chose otherwise: SDL's dummy video and audio drivers.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ResetSeams);
    return RUN_ALL_TESTS();
}
