#include "BmpFiles.h"
#include "CGraphicsProbe.h"

#include <array>

namespace {

using compat::seams::FailNext;

// Every line of a successful start-up at 640x480x16, after the header.
const std::vector<std::string> kStartUp = {
    "NOTICE --- Created DirectDraw object",
    "NOTICE --- Set cooperative level of DirectDraw",
    "NOTICE --- Set display mode to 640x480x16",
    "NOTICE --- Start system analysis",
    "SYSTEM --- Total Video RAM: %d",
    "SYSTEM --- Free Video RAM : %d",
    "NOTICE --- End system analysis",
    "NOTICE --- Initializing surfaces",
    "NOTICE --- Created primary DirectDraw surface",
    "NOTICE --- Created back buffer",
    "NOTICE --- Create DirectDraw Clipper",
    "NOTICE --- Create rectangular region",
    "NOTICE --- Set clip list",
    "NOTICE --- Set clipper to back buffer",
    "NOTICE --- DirectDraw initialization completed OK",
};

const std::array<const char*, 4> kReleaseLines = {
    "NOTICE --- Clipper released", "NOTICE --- Back buffer released",
    "NOTICE --- Primary surface released", "NOTICE --- DirectDraw released"};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(GraphicsTest, StartUpAndShutdownLogEveryStep) {
    BringUp();
    graphics.Release();
    std::vector<std::string> expected = kStartUp;
    expected.insert(expected.end(), kReleaseLines.begin(), kReleaseLines.end());
    expected.push_back("NOTICE --- Shutting down log");
    ExpectLogAfterHeader("logs/graphics.txt", expected);

    // A second release finds nothing to give up and writes nothing (the log is closed).
    graphics.Release();
    EXPECT_EQ(Messages().size(), expected.size() + 1);
}

TEST_F(GraphicsTest, ZeroSizesAndNoWindowAreRefusedBeforeAnythingIsMade) {
    const struct {
        bool window;
        int width, height, depth;
        const char* line;
    } cases[] = {
        {false, 640, 480, 16, "ERROR --- Invalid HWND supplied"},
        {true, 0, 480, 16, "ERROR --- Width = 0"},
        {true, 640, 0, 16, "ERROR --- Height = 0"},
        {true, 640, 480, 0, "ERROR --- Color depth = 0"},
        {false, 0, 0, 0, "ERROR --- Invalid HWND supplied"}, // tested in that order
    };
    for (const auto& c : cases) {
        CGraphics fresh;
        EXPECT_FALSE(fresh.Init(c.window ? window : nullptr, c.width, c.height, c.depth));
        ExpectLogAfterHeader("logs/graphics.txt", {c.line, "NOTICE --- Shutting down log"});
    }
}

TEST_F(GraphicsTest, EachFailingStepOfStartUpLogsItsLineAndReleasesWhatWasMade) {
    const struct {
        const char* operation;
        HRESULT result;
        size_t stepsDone; // lines of the start-up written before the failure
        const char* line;
        size_t objectsMade; // release lines written after it, counted from the DirectDraw object
    } rows[] = {
        {"DirectDrawCreateEx", DDERR_NODIRECTDRAWSUPPORT, 0,
         "ERROR --- Could not initialize DirectDraw: No DirectDraw Support", 0},
        // Success without an object is a failure too.
        {"DirectDrawCreateEx", DD_OK, 0,
         "ERROR --- Could not initialize DirectDraw: DirectDraw operation error", 0},
        {"IDirectDraw7::SetCooperativeLevel", DDERR_EXCLUSIVEMODEALREADYSET, 1,
         "ERROR --- Could not set cooperative level of DirectDraw: Already in exclusive mode", 1},
        {"IDirectDraw7::SetDisplayMode", DDERR_INVALIDMODE, 2,
         "ERROR --- Could not set display mode to 640x480x16: Invalid Mode", 1},
        {"IDirectDraw7::CreateSurface", DDERR_OUTOFVIDEOMEMORY, 8,
         "ERROR --- Could not create primary surface: Out of video memory", 1},
        {"IDirectDrawSurface7::GetAttachedSurface", DDERR_NOTFOUND, 9,
         "ERROR --- Could not create back buffer: Object Not Found", 2},
        {"IDirectDraw7::CreateClipper", E_OUTOFMEMORY, 10,
         "ERROR --- Could not create clipper: Out of memory", 3},
        {"CreateRectRgn", E_FAIL, 11, "ERROR -- Could not create rectangular region", 4},
        {"IDirectDrawClipper::SetClipList", E_INVALIDARG, 12,
         "ERROR --- Could not set clip list for clipper: Invalid Parameter", 4},
        {"IDirectDrawSurface7::SetClipper", E_FAIL, 13,
         "ERROR --- Could not assign clipper to back buffer: DirectDraw operation error", 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.operation);
        FailNext(row.operation, row.result);
        CGraphics fresh;
        CGraphicsProbe freshProbe{fresh};
        EXPECT_FALSE(fresh.Init(window, 640, 480, 16));
        std::vector<std::string> expected(kStartUp.begin(), kStartUp.begin() + row.stepsDone);
        expected.push_back(row.line);
        // Release order: clipper, back buffer, primary surface, DirectDraw object.
        for (size_t i = 4 - row.objectsMade; i < 4; ++i)
            expected.push_back(kReleaseLines[i]);
        expected.push_back("NOTICE --- Shutting down log");
        ExpectLogAfterHeader("logs/graphics.txt", expected);
        EXPECT_EQ(freshProbe.DirectDraw(), nullptr);
        EXPECT_EQ(freshProbe.Primary(), nullptr);

        // A display that did not come up draws nothing, without crashing or logging.
        EXPECT_FALSE(fresh.Flip());
        EXPECT_FALSE(fresh.Fill(0xF0BD3F));
        EXPECT_EQ(fresh.LoadBitmapSurface("missing.bmp", 0, 0), nullptr);
        fresh.PrintText(nullptr, 0xFFFFFF, 0, 0, "Score: %d", 5);
        EXPECT_FALSE(fresh.ChangeMode(800, 600, 16));
        DisplayModeList modes;
        fresh.EnumModes(modes);
        EXPECT_EQ(modes.Count(), 0);
    }
}

TEST_F(GraphicsTest, ALogThatCannotBeOpenedFailsStartUpSilently) {
    std::filesystem::remove_all("logs");
    EXPECT_FALSE(graphics.Init(window, 640, 480, 16));
    EXPECT_FALSE(std::filesystem::exists("logs/graphics.txt"));
    EXPECT_EQ(probe.DirectDraw(), nullptr);
}

TEST_F(GraphicsTest, FlipShowsTheFrameAndClearsTheBackBufferToRawZero) {
    BringUp();
    ASSERT_TRUE(graphics.Fill(0xF0BD3F));
    const uint32_t sky = BackPixel(320, 240);
    EXPECT_NE(sky, 0u);
    ASSERT_TRUE(graphics.Flip());
    EXPECT_EQ(compat::seams::PresentedPixel(320, 240), sky);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(BackPixel(x, y), 0u) << x << ", " << y;

    // A clear that fails after the flip is reported.
    FailNext("IDirectDrawSurface7::Blt", DDERR_SURFACEBUSY);
    EXPECT_FALSE(graphics.Flip());
    EXPECT_EQ(Messages().back(), "ERROR --- IDirectDrawSurface7::Blt failed: Surface busy");
    FailNext("IDirectDrawSurface7::Flip", DDERR_NOFLIPHW);
    EXPECT_FALSE(graphics.Flip());
    EXPECT_EQ(Messages().back(), "ERROR --- Could not flip surfaces: Flipping not supported");
}

TEST_F(GraphicsTest, AFlipOverLostSurfacesRestoresThemWithoutALine) {
    BringUp();
    const size_t lines = Messages().size();
    compat::seams::LoseAllSurfaces();
    EXPECT_FALSE(graphics.Flip());
    EXPECT_EQ(Messages().size(), lines);
    EXPECT_FALSE(compat::seams::IsLost(probe.Back()));
    EXPECT_FALSE(compat::seams::IsLost(probe.Primary()));
    EXPECT_TRUE(graphics.Flip()); // the next frame goes through

    // A fill over a lost back buffer: restored, no line, false.
    compat::seams::LoseAllSurfaces();
    EXPECT_FALSE(graphics.Fill(0));
    EXPECT_EQ(Messages().size(), lines);
    EXPECT_TRUE(graphics.Fill(0));
}

TEST_F(GraphicsTest, ChangeModeRebuildsTheChainAndClipsAtTheNewSize) {
    BringUp();
    const size_t startUpLines = Messages().size();
    ASSERT_TRUE(graphics.ChangeMode(800, 600, 16));
    std::vector<std::string> modeLines(kStartUp.begin() + 2, kStartUp.end() - 1);
    modeLines[0] = "NOTICE --- Set display mode to 800x600x16";
    EXPECT_EQ(MessagesAfter(startUpLines).size(), modeLines.size());
    ExpectLogAfterHeader("logs/graphics.txt", Concat(kStartUp, modeLines));
    EXPECT_EQ(compat::seams::FormatOf(probe.Back()).width, 800);

    // A fill reaches the whole new screen, and a picture past x 640 is drawn.
    ASSERT_TRUE(graphics.Fill(0xFFFFFF));
    EXPECT_NE(BackPixel(799, 599), 0u);
    ASSERT_TRUE(graphics.Flip());
    testfiles::ScratchDir pictures;
    IDirectDrawSurface7* red = graphics.LoadBitmapSurface(
        bmpfiles::WritePicture(pictures / "red.bmp", 8, 8, [](int, int) { return 0x0000FFu; })
            .c_str(),
        0, 0);
    ASSERT_NE(red, nullptr);
    CGraphics::SetColorKey(red, 0);
    EXPECT_TRUE(graphics.Blit(700, 500, 8, 8, red));
    EXPECT_EQ(BackPixel(703, 503), 0xF800u);
    red->Release();
}

TEST_F(GraphicsTest, AFailedModeChangeReleasesTheWholeDisplay) {
    BringUp();
    FailNext("IDirectDraw7::SetDisplayMode", DDERR_INVALIDMODE);
    EXPECT_FALSE(graphics.ChangeMode(1024, 768, 16));
    auto tail = MessagesAfter(kStartUp.size() + 1);
    const std::vector<std::string> expected = {
        "ERROR --- Could not set display mode to 1024x768x16: Invalid Mode",
        "NOTICE --- DirectDraw released", "NOTICE --- Shutting down log"};
    EXPECT_EQ(tail, expected); // the chain was given up quietly before the mode was asked for
    EXPECT_EQ(probe.DirectDraw(), nullptr);
    EXPECT_FALSE(graphics.Flip());
}

TEST_F(GraphicsTest, EnumModesAppendsEveryModeInTheDriversOrder) {
    BringUp();
    DisplayModeList modes;
    graphics.EnumModes(modes);
    const int first = modes.Count();
    ASSERT_GT(first, 0);
    // Every depth is listed; choosing is the caller's business.
    bool depths[33] = {};
    for (DisplayMode* mode = modes.First(); mode; mode = modes.Next(mode))
        if (mode->BitsPerPixel() <= 32)
            depths[mode->BitsPerPixel()] = true;
    EXPECT_TRUE(depths[8] && depths[16] && depths[32]);

    const int firstWidth = modes.First()->Width();
    graphics.EnumModes(modes);
    EXPECT_EQ(modes.Count(), 2 * first);
    EXPECT_EQ(modes.At(first)->Width(), firstWidth);
    EXPECT_EQ(modes.At(2 * first), nullptr);
    // Walking back from the end meets the same modes.
    int counted = 0;
    for (DisplayMode* mode = modes.First(); mode; mode = modes.Remove(mode))
        ++counted;
    EXPECT_EQ(counted, 2 * first);
    EXPECT_EQ(modes.Count(), 0);
}

TEST_F(GraphicsTest, ErrorTextCoversSharedValuesAndUnknownCodes) {
    EXPECT_STREQ(graphics.ErrorText(DD_OK), "DirectDraw operation error");
    EXPECT_STREQ(graphics.ErrorText(static_cast<HRESULT>(0x887601C2)), "Surface Lost");
    EXPECT_STREQ(graphics.ErrorText(E_INVALIDARG), "Invalid Parameter");
    EXPECT_STREQ(graphics.ErrorText(E_NOTIMPL), "Unsupported operation");
    EXPECT_STREQ(graphics.ErrorText(CO_E_NOTINITIALIZED), "Interface Not Initialized");
    EXPECT_STREQ(graphics.ErrorText(E_FAIL), "DirectDraw operation error");
    EXPECT_STREQ(graphics.ErrorText(DDERR_DCALREADYCREATED), "Already have a DC");
    // Every call overwrites the text of the one before.
    const char* text = graphics.ErrorText(DDERR_NODC);
    graphics.ErrorText(DDERR_NOGDI);
    EXPECT_STREQ(text, "No GDI is present");
}

} // namespace
