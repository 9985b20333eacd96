#include "DeviceContext.h"

namespace compat {

namespace {

struct DeviceContext {
    PixelSurface* target = nullptr;
};

} // namespace

HDC OpenDeviceContext(PixelSurface* target) {
    auto* dc = new DeviceContext;
    dc->target = target;
    return reinterpret_cast<HDC>(dc);
}

void CloseDeviceContext(HDC dc) {
    delete reinterpret_cast<DeviceContext*>(dc);
}

PixelSurface* DeviceContextTarget(HDC dc) {
    return dc ? reinterpret_cast<DeviceContext*>(dc)->target : nullptr;
}

} // namespace compat
