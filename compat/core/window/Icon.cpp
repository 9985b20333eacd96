// Module handles, the program's icon from its ICO file, the system icons and the arrow cursor.
#include "window/Icon.h"

#include "files/Files.h"
#include "compat/Seams.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace compat {

namespace {

struct Module {
    std::string iconPath;
    // Loaded on first use; a file that could not be read is tried again next time.
    std::unique_ptr<Icon> icon;
};

// The largest icon file we read: a 256x256 32-bit picture with its mask is about 270 KiB.
constexpr size_t kMaxIconFileBytes = 1 << 20;
constexpr int kMaxIconSide = 256;

// The stand-in modules go, with their icons, on a fresh start for tests.
std::vector<std::unique_ptr<Module>>& StandIns() {
    static std::vector<std::unique_ptr<Module>> modules = [] {
        seams::AddResetHook([] { StandIns().clear(); });
        return std::vector<std::unique_ptr<Module>>{};
    }();
    return modules;
}

Module& Program() {
    static Module module = [] {
        Module made;
        std::error_code error;
        const std::filesystem::path program =
            std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) // else there is no icon file to look for
            made.iconPath = program.string() + ".ico";
        return made;
    }();
    return module;
}

Module* ModuleFromHandle(HINSTANCE handle) {
    if (!handle)
        return nullptr;
    if (reinterpret_cast<HINSTANCE>(&Program()) == handle)
        return &Program();
    for (const auto& module : StandIns())
        if (reinterpret_cast<HINSTANCE>(module.get()) == handle)
            return module.get();
    return nullptr;
}

Icon& SystemIcon() {
    static Icon icon;
    return icon;
}

Icon& Arrow() {
    static Icon arrow;
    return arrow;
}

HICON HandleOf(Icon* icon) {
    return reinterpret_cast<HICON>(icon);
}

// One picture of an ICO file: a BITMAPINFOHEADER of twice the picture's height, the colour
// rows bottom-up, then the 1-bit transparency mask rows.
bool DecodePicture(const uint8_t* data, size_t size, Icon* icon) {
    if (size < 40)
        return false;
    const uint32_t headerSize = ReadU32(data);
    const int32_t width = static_cast<int32_t>(ReadU32(data + 4));
    const int32_t doubleHeight = static_cast<int32_t>(ReadU32(data + 8));
    const uint32_t planes = ReadU16(data + 12);
    const uint32_t bits = ReadU16(data + 14);
    const uint32_t compression = ReadU32(data + 16);
    const uint32_t colorsUsed = ReadU32(data + 32);
    if (headerSize < 40 || headerSize > size || planes != 1 || (bits != 24 && bits != 32) ||
        compression != BI_RGB || colorsUsed > 256)
        return false;
    if (width < 1 || width > kMaxIconSide || doubleHeight < 2 || doubleHeight > 2 * kMaxIconSide ||
        doubleHeight % 2 != 0)
        return false;
    const int height = doubleHeight / 2;
    const size_t colorRow = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const size_t maskRow = (static_cast<size_t>(width) + 31) / 32 * 4;
    const size_t colorsAt = headerSize + size_t{colorsUsed} * 4;
    const size_t maskAt = colorsAt + colorRow * height;
    if (maskAt > size)
        return false;
    // Some writers leave the mask off 32-bit pictures, whose alpha says it all.
    const bool hasMask = maskAt + maskRow * height <= size;

    // Set mask bits mark the pixels that do not show.
    const auto masked = [&](int row, int x) {
        return hasMask && (data[maskAt + maskRow * row + x / 8] & (0x80 >> (x % 8))) != 0;
    };
    icon->width = width;
    icon->height = height;
    icon->argb.assign(static_cast<size_t>(width) * height, 0);
    bool anyAlpha = false;
    for (int row = 0; row < height; ++row) {
        const uint8_t* colors = data + colorsAt + colorRow * row;
        uint32_t* out = icon->argb.data() + static_cast<size_t>(height - 1 - row) * width;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = colors + x * (bits / 8);
            uint32_t alpha = bits == 32 ? p[3] : (masked(row, x) ? 0 : 0xFF);
            anyAlpha |= bits == 32 && alpha != 0;
            out[x] = alpha << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
        }
    }
    if (bits == 32 && !anyAlpha) {
        // An old 32-bit picture with an empty alpha channel: the mask says what shows.
        for (int row = 0; row < height; ++row) {
            uint32_t* out = icon->argb.data() + static_cast<size_t>(height - 1 - row) * width;
            for (int x = 0; x < width; ++x)
                if (!masked(row, x))
                    out[x] |= 0xFF000000u;
        }
    }
    return true;
}

// Reads the picture of an ICO file: the 32x32 one if there is one, else the first, each of 24
// or 32 bits per pixel with its transparency mask. False for anything else, and for any file
// whose sizes or offsets do not fit.
bool DecodeIco(const uint8_t* data, size_t size, Icon* icon) {
    if (!data || size < 6 || ReadU16(data) != 0 || ReadU16(data + 2) != 1)
        return false;
    const size_t count = ReadU16(data + 4);
    if (count == 0 || 6 + 16 * count > size)
        return false;
    bool found = false;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + 16 * i;
        const size_t bytes = ReadU32(entry + 8);
        const size_t offset = ReadU32(entry + 12);
        if (offset > size || bytes > size - offset)
            continue;
        Icon picture;
        if (!DecodePicture(data + offset, bytes, &picture))
            continue;
        const bool wanted = picture.width == 32 && picture.height == 32;
        if (!found || wanted) {
            *icon = std::move(picture);
            found = true;
        }
        if (wanted)
            break;
    }
    return found;
}

std::unique_ptr<Icon> ReadIconFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (path.empty() || !ReadWholeFile(path.c_str(), kMaxIconFileBytes, &bytes))
        return nullptr;
    auto icon = std::make_unique<Icon>();
    if (!DecodeIco(bytes.data(), bytes.size(), icon.get()))
        return nullptr;
    return icon;
}

} // namespace

HINSTANCE ProgramModule() {
    return reinterpret_cast<HINSTANCE>(&Program());
}

HINSTANCE StandInModule(const std::string& executablePath) {
    auto module = std::make_unique<Module>();
    if (!executablePath.empty())
        module->iconPath = executablePath + ".ico";
    Module* made = module.get();
    StandIns().push_back(std::move(module));
    return reinterpret_cast<HINSTANCE>(made);
}

const Icon* IconFromHandle(HICON handle) {
    if (!handle)
        return nullptr;
    if (handle == HandleOf(&SystemIcon()) || handle == HandleOf(&Arrow()))
        return reinterpret_cast<const Icon*>(handle);
    if (Program().icon && handle == HandleOf(Program().icon.get()))
        return Program().icon.get();
    for (const auto& module : StandIns())
        if (module->icon && handle == HandleOf(module->icon.get()))
            return module->icon.get();
    return nullptr;
}

HCURSOR ArrowCursor() {
    return HandleOf(&Arrow());
}

} // namespace compat

using namespace compat;

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (!IS_INTRESOURCE(lpIconName))
        return nullptr;
    const ULONG_PTR id = reinterpret_cast<ULONG_PTR>(lpIconName);
    if (!hInstance) {
        const bool systemIcon = id >= 32512 && id <= 32517; // IDI_APPLICATION .. IDI_WINLOGO
        return systemIcon ? HandleOf(&SystemIcon()) : nullptr;
    }
    // The program has one icon, whatever its resource number.
    Module* module = ModuleFromHandle(hInstance);
    if (!module)
        return nullptr;
    if (!module->icon)
        module->icon = ReadIconFile(module->iconPath);
    return module->icon ? HandleOf(module->icon.get()) : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance || lpCursorName != IDC_ARROW)
        return nullptr;
    return ArrowCursor();
}
