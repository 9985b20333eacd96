#include "ddraw/Screen.h"

#include "ddraw/FrameChanges.h"
#include "platform/Clock.h"
#include "time/Ticks.h"
#include "window/Cursor.h"
#include "window/Icon.h"

namespace compat {

namespace {

PixelSurface lastFrame;
bool lastFrameWhole = true;
uint64_t frameCount = 0;
int64_t presentingNanoseconds = 0; // of the presenting thread's processor time, pacing left out
// Reading the thread's clock is a system call: it is read only once somebody asked for the
// time presents take (the benchmarks).
bool presentsTimed = false;
// What a frame no window showed changed: found all the same, so that the seams and the
// recorder see the frame.
FrameChanges unseenChanges;
// What drew `lastFrame`, where that is known.
DrawLog lastDrawn;
// Where the frame being presented may differ from `lastFrame`.
platform::FrameDamage damage;

// Tells from the drawing of `frame` and of the last frame where the two may differ.
void FindDamage(const DrawLog* drawn, bool sameScreen) {
    thread_local std::vector<BlitRect> areas;
    damage.anywhere = !drawn || !sameScreen || !drawn->DifferencesFrom(lastDrawn, &areas);
    damage.areas.clear();
    if (!damage.anywhere)
        for (const BlitRect& area : areas)
            damage.areas.push_back(
                platform::FrameRect{area.left, area.top, area.right, area.bottom});
}

// `lastFrame` now holds the frame `drawn` drew.
void NoteDrawn(const DrawLog* drawn) {
    if (drawn)
        lastDrawn = *drawn;
    else
        lastDrawn.Forget();
}

// The screen whose frame `lastFrame` is: the frame another screen showed says nothing about
// what this one's window shows.
const Screen* lastScreen = nullptr;

platform::WindowLook LookOf(const Window& window) {
    platform::WindowLook look;
    look.title = window.title.c_str();
    const Icon* icon = IconFromHandle(window.icon);
    if (!icon || icon->argb.empty())
        icon = IconFromHandle(window.smallIcon);
    if (icon && !icon->argb.empty()) {
        look.iconArgb = icon->argb.data();
        look.iconWidth = icon->width;
        look.iconHeight = icon->height;
    }
    look.pointerShown = CursorIsShown();
    return look;
}

} // namespace

bool Screen::Show(Window* window, int width, int height, int bitsPerPixel) {
    if (!window || !platform::StartVideo())
        return false;
    if (window_ && window_ != window)
        Hide();
    if (!presenter_)
        presenter_ = platform::MakePresenter();
    window_ = window;
    window->presenter = this;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    if (!presenter_->Show(&window->native, LookOf(*window), width, height, bitsPerPixel)) {
        Hide();
        return false;
    }
    pacer_.SetRate(presenter_->RefreshRate());
    pacer_.Restart();
    RedrawWhole();
    return true;
}

void Screen::Hide() {
    if (presenter_)
        presenter_->Hide();
    nobodySees_ = false; // frames are drawn whole again until a present finds otherwise
    if (window_ && window_->presenter == this)
        window_->presenter = nullptr;
    window_ = nullptr;
}

void Screen::WindowGone() {
    // The native window is about to go: the backend lets go of what it drew it with.
    Hide();
}

void Screen::SwitchFullScreen() {
    if (window_ && window_->native)
        presenter_->SwitchFullScreen();
}

bool Screen::TakeRedrawWhole() {
    const bool whole = redrawWhole_ || lastScreen != this;
    lastScreen = this;
    redrawWhole_ = false;
    return whole;
}

bool Screen::Present(const PixelSurface& frame, bool pace, bool drawnWhole, const DrawLog* drawn) {
    const int64_t started = PacingMicroseconds();
    // Nobody sees a minimised, hidden or wholly covered window: no drawing, only the pacing.
    const bool seen = window_ && presenter_->Seen();
    nobodySees_ = window_ && !seen;
    // The processor time of what is shown, where it is asked for.
    const bool timed = seen && presentsTimed;
    const int64_t presentStart = timed ? platform::ThreadNanoseconds() : 0;
    NoteFrameTime(seen && drawnWhole);
    bool shownAtRefresh = false;
    bool taken = false;
    if (window_ && frame.width == width_ && frame.height == height_ &&
        frame.bitsPerPixel == bitsPerPixel_ && !frame.pixels.empty()) {
        bool shown = false;
        if (drawnWhole)
            FindDamage(drawn, lastScreen == this && !lastFrame.pixels.empty());
        if (seen && drawnWhole)
            shown = presenter_->Present(frame, lastFrame, TakeRedrawWhole(), damage);
        shownAtRefresh = shown && presenter_->WaitsForDisplay();
        if (!shown && drawnWhole) {
            // The seams and the recorder still see the frame: the last one shown is brought up
            // to it by what it changes (a few rows a frame in play), not copied whole.
            TakeChanges(frame, lastFrame, lastScreen != this, &unseenChanges, &damage);
            lastScreen = this;
        }
        if (drawnWhole)
            NoteDrawn(drawn);
        taken = drawnWhole;
        // The window gets all of the next frame it shows.
        if (!shown)
            RedrawWhole();
        lastFrameWhole = drawnWhole;
        ++frameCount;
    }
    if (timed)
        presentingNanoseconds += platform::ThreadNanoseconds() - presentStart;
    if (pace && shownAtRefresh)
        pacer_.FollowDisplay(PacingMicroseconds());
    else if (pace)
        pacer_.AfterPresent(started, PacingMicroseconds());
    return taken;
}

POINT Screen::ModePixelFromWindow(int x, int y) const {
    int modeX = x, modeY = y;
    if (window_ && window_->native)
        presenter_->ModePixelFromWindow(x, y, &modeX, &modeY);
    return POINT{modeX, modeY};
}

bool Screen::WindowColor(int x, int y, COLORREF* color) const {
    uint32_t shown = 0;
    if (!window_ || !presenter_->WindowColor(x, y, &shown))
        return false;
    *color = shown;
    return true;
}

bool Screen::ShowsLastFrameWhole() const {
    return window_ && !lastFrame.pixels.empty() && presenter_->ShowsWhole(lastFrame);
}

const PixelSurface& LastPresentedFrame() {
    return lastFrame;
}

bool LastFrameDrawnWhole() {
    return lastFrameWhole;
}

uint64_t PresentedFrameCount() {
    return frameCount;
}

double PresentingSeconds() {
    presentsTimed = true;
    return static_cast<double>(presentingNanoseconds) / 1e9;
}

void ForgetPresentedFrames() {
    lastFrame = PixelSurface{};
    lastDrawn.Forget();
    lastFrameWhole = true;
    frameCount = 0;
    presentingNanoseconds = 0;
}

} // namespace compat
