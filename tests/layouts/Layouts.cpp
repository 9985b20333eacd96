// Compiled, never run, by the tests "layouts.*" for 32-bit and 64-bit targets: the layout checks
// of the Win32 and DirectX headers (static_asserts beside each record) hold for the pointer size
// of each.
#include <ddraw.h>
#include <dsound.h>
#include <mmsystem.h>
#include <windows.h>
#include <winuser.h>
