// The message queue and the game's window: one message per pass, the quit message, characters,
// closing and destroying the window, the screen's size.
#include "DirectDrawFixture.h"
#include "ProgramWindow.h"

#include "compat/InputSeams.h"

#include <cstdlib>

namespace {

using programwindow::DeliveredMessages;
using programwindow::Pass;
using programwindow::PassUntilEmpty;
using Messages = std::vector<UINT>;

class WindowMessages : public testing::Test {
protected:
    void SetUp() override { window = programwindow::Make(); }
    HWND window = nullptr;
};

TEST_F(WindowMessages, EachPeekTakesOneMessageInTheOrderTheyCame) {
    namespace seams = compat::seams;
    EXPECT_EQ(window, seams::GameWindow());
    seams::KeyDown('A');
    seams::MouseMove(1, 2);
    seams::MouseMove(5, 6); // the pointer's latest position replaces the one before
    seams::LeftButtonDown(5, 6);
    EXPECT_EQ(3, seams::PendingMessages());

    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(3, seams::PendingMessages());
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(window, message.hwnd);
    EXPECT_EQ(WM_KEYDOWN, message.message);
    EXPECT_EQ(WPARAM{'A'}, message.wParam);
    EXPECT_EQ(2, seams::PendingMessages());
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(WM_MOUSEMOVE, message.message);
    EXPECT_EQ(MAKELONG(5, 6), message.lParam);
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(WM_LBUTTONDOWN, message.message);
    EXPECT_EQ(WPARAM{MK_LBUTTON}, message.wParam);
    EXPECT_EQ(MAKELONG(5, 6), message.lParam);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowMessages, TheQuitMessageComesOnceNothingElseWaitsAndOnlyToTheThread) {
    PostQuitMessage(3);
    compat::seams::KeyDown(VK_ESCAPE);
    EXPECT_EQ(2, compat::seams::PendingMessages());
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(WM_KEYDOWN, message.message);
    // A peek for the window's own messages does not take the thread's quit message.
    EXPECT_FALSE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(WM_QUIT, message.message);
    EXPECT_EQ(nullptr, message.hwnd);
    EXPECT_EQ(WPARAM{3}, message.wParam);
    EXPECT_EQ(0, DispatchMessageA(&message));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowMessages, TranslatedKeyDownsAreFollowedByTheirCharacters) {
    namespace seams = compat::seams;
    // All typed before the game takes any of it: shift counts as the messages have it.
    seams::KeyDown('Q');
    seams::KeyDown(VK_SHIFT);
    seams::KeyDown('1');
    seams::KeyUp(VK_SHIFT);
    seams::KeyDown(VK_OEM_MINUS);
    seams::KeyDown(VK_F1);
    EXPECT_EQ((Messages{WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN,
                        WM_CHAR, WM_KEYDOWN}),
              PassUntilEmpty());
    const auto& delivered = programwindow::delivered;
    ASSERT_EQ(9u, delivered.size());
    EXPECT_EQ(WPARAM{'q'}, delivered[1].wParam);
    EXPECT_EQ(WPARAM{'!'}, delivered[4].wParam);
    EXPECT_EQ(WPARAM{'-'}, delivered[7].wParam);
    EXPECT_EQ(WPARAM{VK_F1}, delivered[8].wParam);
}

TEST_F(WindowMessages, ClosingTheWindowDestroysItAndEndsTheLoop) {
    namespace seams = compat::seams;
    seams::CloseWindow(window);
    seams::CloseWindow(window); // one close command is enough
    seams::KeyDown(VK_SPACE);
    MSG message{};
    ASSERT_TRUE(Pass(&message));
    EXPECT_EQ(WM_CLOSE, message.message);
    // DefWindowProcA destroyed the window inside the dispatch, telling the procedure first.
    EXPECT_EQ((Messages{WM_CLOSE, WM_DESTROY}), DeliveredMessages());
    EXPECT_EQ(nullptr, seams::GameWindow());
    EXPECT_FALSE(DestroyWindow(window));
    // The destroyed window's key-down left the queue with it.
    ASSERT_TRUE(Pass(&message));
    EXPECT_EQ(WM_QUIT, message.message);
    EXPECT_EQ(WPARAM{0}, message.wParam);
    EXPECT_FALSE(Pass());
}

TEST_F(WindowMessages, ClassesAreRegisteredOnceAndWindowsNeedOne) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &programwindow::Record;
    windowClass.lpszClassName = "quibbo_class"; // names compare without case
    EXPECT_EQ(0, RegisterClassExA(&windowClass));
    windowClass.lpszClassName = "OTHER_CLASS";
    windowClass.cbSize = sizeof windowClass - 8;
    EXPECT_EQ(0, RegisterClassExA(&windowClass));
    EXPECT_EQ(nullptr, CreateWindowExA(0, "OTHER_CLASS", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr));

    compat::seams::FailNext("CreateWindowExA", E_FAIL);
    EXPECT_EQ(nullptr, CreateWindowExA(0, "QUIBBO_CLASS", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                       nullptr, nullptr, nullptr));
    EXPECT_EQ(window, compat::seams::GameWindow());
    EXPECT_FALSE(ShowWindow(window, SW_SHOWNORMAL));
    EXPECT_TRUE(ShowWindow(window, SW_SHOWNORMAL));
}

TEST(MessageBoxOutsideWindows, WritesOneLineAndAnswersOk) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "No display", "Quibbo's puzzle", MB_OK | MB_ICONERROR));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Out of memory", nullptr, MB_OK));
    EXPECT_EQ("Quibbo's puzzle: No display\nError: Out of memory\n",
              testing::internal::GetCapturedStderr());
}

// The game's window as the display: its screen outlives it.
using WindowScreen = programwindow::OnScreen;

TEST_F(WindowScreen, TheScreenSurvivesItsWindowBeingDestroyed) {
    BringUp();
    ASSERT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    compat::seams::CloseWindow(gameWindow);
    EXPECT_EQ((Messages{WM_CLOSE, WM_QUIT}), PassUntilEmpty());
    EXPECT_EQ((Messages{WM_CLOSE, WM_DESTROY}), DeliveredMessages());
    // Still flips (into no window) and paces; the fixture's release finds nothing left over.
    const uint64_t shown = compat::seams::PresentedFrames();
    EXPECT_EQ(DD_OK, Fill(back, 0x1234));
    EXPECT_EQ(DD_OK, primary->Flip(nullptr, DDFLIP_WAIT));
    EXPECT_EQ(shown, compat::seams::PresentedFrames());
    EXPECT_EQ(DD_OK, dd->RestoreDisplayMode());
}

TEST_F(WindowScreen, TheScreenIsTheDesktopOrInAWindowTheDisplayMode) {
    // The dummy driver's desktop.
    EXPECT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(0, GetSystemMetrics(SM_CMOUSEBUTTONS));

    setenv("QUIBBO_WINDOWED", "1", 1);
    EXPECT_EQ(640, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(480, GetSystemMetrics(SM_CYSCREEN));
    BringUp(800, 600, 16);
    EXPECT_EQ(800, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(600, GetSystemMetrics(SM_CYSCREEN));
    unsetenv("QUIBBO_WINDOWED");
    EXPECT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
}

} // namespace
