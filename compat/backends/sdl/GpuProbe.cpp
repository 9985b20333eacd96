#include "sdl/GpuProbe.h"

#include <SDL.h>

#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace compat {

namespace {

bool Named(const char* driver, const char* name) {
    return driver && std::strcmp(driver, name) == 0;
}

// A graphics card's render node (/dev/dri/renderD128, ...) or NVIDIA's device.
bool CardDevicePresent() {
    if (DIR* dri = opendir("/dev/dri")) {
        bool found = false;
        while (const dirent* entry = readdir(dri))
            found = found || std::strncmp(entry->d_name, "renderD", 7) == 0;
        closedir(dri);
        if (found)
            return true;
    }
    return access("/dev/nvidia0", F_OK) == 0;
}

// Whether the X server offers direct rendering (DRI2, DRI3 or NVIDIA's own), asked through
// the Xlib that SDL's X11 driver has loaded already; -1 when Xlib cannot be reached.
int XServerRendersDirect() {
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib)
        return -1;
    using OpenDisplay = void* (*)(const char*);
    using QueryExtension = int (*)(void*, const char*, int*, int*, int*);
    using CloseDisplay = int (*)(void*);
    const auto open = reinterpret_cast<OpenDisplay>(dlsym(xlib, "XOpenDisplay"));
    const auto query = reinterpret_cast<QueryExtension>(dlsym(xlib, "XQueryExtension"));
    const auto close = reinterpret_cast<CloseDisplay>(dlsym(xlib, "XCloseDisplay"));
    void* display = open && query && close ? open(nullptr) : nullptr;
    int result = -1;
    if (display) {
        result = 0;
        for (const char* extension : {"DRI3", "DRI2", "NV-GLX"}) {
            int opcode = 0, event = 0, error = 0;
            if (query(display, extension, &opcode, &event, &error))
                result = 1;
        }
        close(display);
    }
    dlclose(xlib);
    return result;
}

} // namespace

bool NoGpuToAccelerate() {
    const char* software = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    if (software && *software && std::strcmp(software, "0") != 0)
        return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (Named(driver, "dummy") || Named(driver, "offscreen"))
        return true;
    if (Named(driver, "x11"))
        return XServerRendersDirect() == 0;
    if (Named(driver, "wayland"))
        return !CardDevicePresent();
    return false;
}

} // namespace compat
