// IUnknown: the reference counting every DirectX object shares. Only AddRef and Release, which
// is all the game calls; the objects are C++ classes of the platform layer, not COM servers.
#pragma once

#include "windef.h"

struct IUnknown {
    // One more owner; returns the new count.
    virtual ULONG WINAPI AddRef() = 0;
    // One owner fewer; the object destroys itself when the count reaches 0. Returns the new count.
    virtual ULONG WINAPI Release() = 0;

protected:
    // Objects are destroyed by Release, never deleted through the interface.
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
