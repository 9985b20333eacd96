// The texts of the display's result codes. Several codes share a value (DDERR_INVALIDPARAMS is
// E_INVALIDARG, DDERR_UNSUPPORTED is E_NOTIMPL...), so this is a table, not a switch.
#include "gfx/CGraphics.h"

#include <cstdio>

namespace {

struct ResultText {
    HRESULT result;
    const char* text;
};

constexpr ResultText kResultTexts[] = {
    {DDERR_ALREADYINITIALIZED, "Already initialized"},
    {DDERR_INVALIDCAPS, "Invalid caps"},
    {DDERR_INVALIDMODE, "Invalid Mode"},
    {DDERR_INVALIDOBJECT, "Invalid DirectDraw Object"},
    {DDERR_INVALIDRECT, "Invalid Rect value"},
    {DDERR_NO3D, "No 3d hardware"},
    {DDERR_NODIRECTDRAWSUPPORT, "No DirectDraw Support"},
    {DDERR_NOEXCLUSIVEMODE, "Need exclusive mode"},
    {DDERR_NOFLIPHW, "Flipping not supported"},
    {DDERR_NOGDI, "No GDI is present"},
    {DDERR_NOTFOUND, "Object Not Found"},
    {DDERR_NOTEXTUREHW, "Hardware Texture Mapping not supported"},
    {DDERR_OUTOFVIDEOMEMORY, "Out of video memory"},
    {DDERR_COLORKEYNOTSET, "No Color Key Set"},
    {DDERR_SURFACEBUSY, "Surface busy"},
    {DDERR_CANTLOCKSURFACE, "Can't lock Surface"},
    {DDERR_SURFACELOST, "Surface Lost"},
    {DDERR_INVALIDDIRECTDRAWGUID, "Invalid GUID"},
    {DDERR_DIRECTDRAWALREADYCREATED, "Already have a DirectDraw Object"},
    {DDERR_NOEMULATION, "Software Emulation not available"},
    {DDERR_EXCLUSIVEMODEALREADYSET, "Already in exclusive mode"},
    {DDERR_CANTCREATEDC, "Can't create DC"},
    {DDERR_NODC, "No DC"},
    {DDERR_DCALREADYCREATED, "Already have a DC"},
    {DDERR_UNSUPPORTED, "Unsupported operation"},
    {DDERR_NOTINITIALIZED, "Interface Not Initialized"},
    {DDERR_OUTOFMEMORY, "Out of memory"},
    {DDERR_INVALIDPARAMS, "Invalid Parameter"},
};

constexpr const char* kOtherResult = "DirectDraw operation error";

} // namespace

const char* CGraphics::ErrorText(HRESULT result) {
    const char* text = kOtherResult;
    for (const auto& entry : kResultTexts) {
        if (entry.result == result) {
            text = entry.text;
            break;
        }
    }
    snprintf(errorText.data(), errorText.size(), "%s", text);
    return errorText.data();
}
