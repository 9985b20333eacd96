// Inside the platform layer: GDI device contexts that draw into pixels.
#pragma once

#include "pixels/DrawLog.h"
#include "pixels/PendingDrawing.h"
#include "pixels/PixelSurface.h"

#include <windows.h>

namespace compat {

// A device context whose drawing lands in `target` (a DirectDraw surface's pixels, or a
// bitmap's). The target must outlive the context. Null when no context can be made. With
// `leavesOutText` its text is taken as drawn but not put into the pixels (a frame nobody
// will see). What it draws is noted in `log` where one is given; `surface`, where given, may
// have its text and pixels noted rather than drawn (see NotingSurface).
HDC OpenDeviceContext(PixelSurface* target, bool leavesOutText = false, DrawLog* log = nullptr,
                      NotingSurface* surface = nullptr);
// Gives the context up; null is ignored.
void CloseDeviceContext(HDC dc);
// The pixels a context draws into, null for a null or unknown context or a memory context
// with no bitmap selected.
PixelSurface* DeviceContextTarget(HDC dc);

} // namespace compat
