// The two platform calls through which the preview graph obtains its COM
// objects and shows property frames. Tests put fake DirectShow objects behind
// them; the product always uses CoCreateInstance and OleCreatePropertyFrame.
#pragma once

#include <ole2.h>
#include <windows.h>

struct VideoPlatform {
    HRESULT(WINAPI* createObject)
    (REFCLSID id, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
    HRESULT(WINAPI* showPropertyFrame)
    (HWND owner, UINT x, UINT y, LPCOLESTR caption, ULONG objectCount, LPUNKNOWN* objects,
     ULONG pageCount, LPCLSID pages, LCID locale, DWORD reserved, LPVOID reservedPointer);
};

// Replaces the platform calls; a null argument restores the real ones.
void SetVideoPlatform(const VideoPlatform* platform);
