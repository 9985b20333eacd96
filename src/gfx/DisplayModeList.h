#pragma once

#include <windows.h>
#include <ddraw.h>

// One display mode as the display driver described it.
struct DisplayMode {
    DDSURFACEDESC2 description;
    DisplayMode* previous;
    DisplayMode* next;

    int Width() const { return static_cast<int>(description.dwWidth); }
    int Height() const { return static_cast<int>(description.dwHeight); }
    int BitsPerPixel() const { return static_cast<int>(description.ddpfPixelFormat.dwRGBBitCount); }
};

// The display modes in the order the driver listed them: a doubly linked list with a head node
// and a count.
class DisplayModeList {
public:
    DisplayModeList();
    ~DisplayModeList();
    DisplayModeList(const DisplayModeList&) = delete;
    DisplayModeList& operator=(const DisplayModeList&) = delete;

    // Adds a copy of the description at the end. False when there is no memory for it.
    bool Append(const DDSURFACEDESC2& description);
    // Takes the mode out of the list and returns the one after it (null at the end).
    DisplayMode* Remove(DisplayMode* mode);
    void Clear();

    int Count() const { return count; }
    // The first mode, or null; walk on with Next.
    DisplayMode* First() const { return Next(&head); }
    DisplayMode* Next(const DisplayMode* mode) const {
        return mode->next == &head ? nullptr : mode->next;
    }
    // The mode at index (from 0), or null when there is none.
    DisplayMode* At(int index) const;

private:
    DisplayMode head;
    int count;
};
