// Test access to the display object's flip chain, and a display brought up headless.
#pragma once

#include "gfx/CGraphics.h"

#include "TestFiles.h"
#include "compat/GfxSeams.h"
#include "compat/Seams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

struct CGraphicsProbe {
    CGraphics& graphics;
    IDirectDrawSurface7* Back() const { return graphics.backBuffer; }
    IDirectDrawSurface7* Primary() const { return graphics.primary; }
    IDirectDraw7* DirectDraw() const { return graphics.directDraw; }
};

// Log lines may hold numbers the platform chooses: "%d" in an expected line matches any number.
inline bool LineMatches(const std::string& line, const std::string& expected) {
    std::string pattern;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected.compare(i, 2, "%d") == 0) {
            pattern += "-?[0-9]+";
            ++i;
        } else if (std::string("\\^$.|?*+()[]{}").find(expected[i]) != std::string::npos) {
            pattern += '\\';
            pattern += expected[i];
        } else {
            pattern += expected[i];
        }
    }
    return std::regex_match(line, std::regex(pattern));
}

// The messages of a log after its header line, which must be the log's own.
inline void ExpectLogAfterHeader(const std::string& fileName,
                                 const std::vector<std::string>& expected) {
    std::vector<std::string> messages = testfiles::LogMessages(fileName);
    ASSERT_FALSE(messages.empty()) << fileName;
    EXPECT_EQ(messages.front().rfind("CLOG --- NOTICE --- Log " + fileName + " opened at ", 0), 0u)
        << messages.front();
    messages.erase(messages.begin());
    ASSERT_EQ(messages.size(), expected.size())
        << "log of " << fileName << " has " << messages.size() << " lines";
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(LineMatches(messages[i], expected[i]))
            << "line " << i << ": " << messages[i] << "\nexpected: " << expected[i];
}

// A display object brought up at 640x480x16 in a scratch working folder, as the game does.
class GraphicsTest : public testing::Test {
protected:
    void SetUp() override {
        // Flips pace by sleeping; on a set clock they advance it instead.
        compat::seams::SetTicks(1000);
        window = compat::seams::MakeTestWindow();
    }

    void BringUp(int width = 640, int height = 480, int depth = 16) {
        ASSERT_TRUE(graphics.Init(window, width, height, depth));
    }

    std::vector<std::string> Messages() const {
        return testfiles::LogMessages("logs/graphics.txt");
    }
    // The messages written after the first `skip` ones.
    std::vector<std::string> MessagesAfter(size_t skip) const {
        auto all = Messages();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end()};
    }

    uint32_t BackPixel(int x, int y) { return compat::seams::PixelOf(probe.Back(), x, y); }

    testfiles::ScratchDir dir{true};
    HWND window = nullptr;
    CGraphics graphics;
    CGraphicsProbe probe{graphics};
};
