// The input contract on the page's events: keys, the pointer and the left button, which the
// page queues (js/events.js) until the game's next peek takes them.
#include "platform/Input.h"

#include "compat/Seams.h"
#include "web/WebKeys.h"
#include "web/WebPad.h"
#include "web/WebPage.h"

#include <cstring>

namespace compat {

namespace {

// Alt+Enter switches between full screen and the page; neither its Enter (down, repeated or
// up) reaches the game. True for the events it takes.
bool TakeSwitchKey(const WebEvent& event) {
    static bool enterTaken = false;
    if (event.type != kWebKeyDown && event.type != kWebKeyUp)
        return false;
    if (std::strcmp(event.code, "Enter") != 0 && std::strcmp(event.code, "NumpadEnter") != 0)
        return false;
    if (event.type == kWebKeyUp) {
        const bool taken = enterTaken;
        enterTaken = false;
        return taken;
    }
    if (!(event.flags & kWebAlt) && !enterTaken)
        return false;
    if (!(event.flags & kWebRepeat) && !enterTaken)
        platform::SwitchFullScreenRequested(nullptr);
    enterTaken = true;
    return true;
}

void Handle(const WebEvent& event) {
    if (TakeSwitchKey(event))
        return;
    switch (event.type) {
    case kWebKeyDown:
    case kWebKeyUp:
        // Auto-repeats come as further key-downs, at the system's rate.
        platform::KeyEvent(nullptr, VirtualKeyFromCode(event.code, event.key),
                           event.type == kWebKeyDown);
        break;
    case kWebPointerMoved:
        platform::PointerMoved(nullptr, event.x, event.y);
        break;
    case kWebButtonDown:
    case kWebButtonUp: {
        // The page counts quick clicks (UIEvent.detail): every second one is a double click.
        const int clicks = event.flags >> kWebClickShift;
        platform::LeftButton(nullptr, event.x, event.y, event.type == kWebButtonDown,
                             clicks > 0 && clicks % 2 == 0);
        break;
    }
    default:
        break;
    }
}

// A fresh start drops the input that has not been pumped yet.
const bool registered = [] {
    seams::AddResetHook([] {
        WebEvent dropped;
        while (quibbo_web_next_event(&dropped)) {
        }
    });
    return true;
}();

} // namespace

} // namespace compat

void platform::PumpEvents() {
    compat::WebEvent event;
    while (quibbo_web_next_event(&event))
        compat::Handle(event);
    compat::WebPadPass();
}
