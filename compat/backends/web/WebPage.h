// The web backend: the functions of the page's side (js/*.js), which the C++ side calls.
#pragma once

#include <cstdint>

namespace compat {

// One input event of the page, as the page queues it (js/events.js writes these fields).
struct WebEvent {
    int32_t type = 0; // WebEventType
    int32_t x = 0;    // pointer events: the mode's pixel under the pointer (may lie outside)
    int32_t y = 0;
    int32_t flags = 0;  // WebEventFlag bits; clicks: the click count above them
    char code[32] = {}; // keys: KeyboardEvent.code ("KeyA", "ArrowLeft", ...)
    char key[16] = {};  // keys: KeyboardEvent.key, for the letters of the layout
};

enum WebEventType : int32_t {
    kWebKeyDown = 1,
    kWebKeyUp = 2,
    kWebPointerMoved = 3,
    kWebButtonDown = 4,
    kWebButtonUp = 5,
};

enum WebEventFlag : int32_t {
    kWebAlt = 1,
    kWebRepeat = 2,
    kWebClickShift = 8, // flags >> kWebClickShift: the click count (UIEvent.detail)
};

} // namespace compat

extern "C" {
// Listens to the page's keys, pointer and visibility (once).
void quibbo_web_listen();
// Takes the oldest queued event into `event`; false when none waits.
int quibbo_web_next_event(compat::WebEvent* event);
// The canvas at the mode's size, the page's title and the pointer over the canvas.
void quibbo_web_show_canvas(int width, int height, const char* title, int pointerShown);
void quibbo_web_show_pointer(int shown);
// Puts the part (x, y, w, h) of a whole RGBA frame of width x height on the canvas.
void quibbo_web_put(const uint8_t* rgba, int width, int height, int x, int y, int w, int h);
// Whether the page is visible (its tab shown, the window not minimised).
int quibbo_web_visible();
// The display's frame rate as the page's animation frames show it; 0 until measured.
int quibbo_web_refresh_rate();
// The screen's size in the page's pixels.
void quibbo_web_screen_size(int* width, int* height);
// Full screen becomes the page and the page full screen.
void quibbo_web_switch_full_screen();
// Hands the time to the page until the browser's next animation frame (an Asyncify import),
// which shows the canvas: counts the frame shown then (Quibbo.framesShown, Quibbo.frameTime).
void quibbo_web_wait_for_frame();
}
