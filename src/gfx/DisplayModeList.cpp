#include "gfx/DisplayModeList.h"

#include <new>

DisplayModeList::DisplayModeList() : head{}, count(0) {
    head.previous = &head;
    head.next = &head;
}

DisplayModeList::~DisplayModeList() {
    Clear();
}

bool DisplayModeList::Append(const DDSURFACEDESC2& description) {
    auto* mode = new (std::nothrow) DisplayMode{description, head.previous, &head};
    if (!mode)
        return false;
    head.previous->next = mode;
    head.previous = mode;
    ++count;
    return true;
}

DisplayMode* DisplayModeList::Remove(DisplayMode* mode) {
    DisplayMode* following = Next(mode);
    mode->previous->next = mode->next;
    mode->next->previous = mode->previous;
    delete mode;
    --count;
    return following;
}

void DisplayModeList::Clear() {
    for (DisplayMode* mode = First(); mode;)
        mode = Remove(mode);
}

DisplayMode* DisplayModeList::At(int index) const {
    if (index < 0)
        return nullptr;
    DisplayMode* mode = First();
    for (; mode && index > 0; --index)
        mode = Next(mode);
    return mode;
}
