// The stand-in of the camera driver's DirectShow video capture filter
// "ZX600 Video Capture": one capture pin that delivers a moving test pattern.
#pragma once

#include <windows.h>
#define NO_DSHOW_STRSAFE
#include <dshow.h>

// {550538E6-4864-4229-8E78-1931E1E82C6C}
DEFINE_GUID(CLSID_Zx600Capture, 0x550538e6, 0x4864, 0x4229, 0x8e, 0x78, 0x19, 0x31, 0xe1, 0xe8,
            0x2c, 0x6c);
// {4569177C-44D8-45DE-874D-C051344CBDFB}
DEFINE_GUID(CLSID_Zx600CapturePage, 0x4569177c, 0x44d8, 0x45de, 0x87, 0x4d, 0xc0, 0x51, 0x34, 0x4c,
            0xbd, 0xfb);
// The FOURCC subtype 'I420' ({30323449-0000-0010-8000-00AA00389B71}).
DEFINE_GUID(MEDIASUBTYPE_I420_Zx600, 0x30323449, 0x0000, 0x0010, 0x80, 0x00, 0x00, 0xaa, 0x00, 0x38,
            0x9b, 0x71);

extern const wchar_t kFriendlyName[];
extern HINSTANCE filterModule;
extern LONG liveObjects;

// A COM object with one interface besides IUnknown: its reference count, and
// its share of the module's live objects while it exists.
template <class Interface, const IID& kInterfaceId>
class SingleInterfaceObject : public Interface {
public:
    SingleInterfaceObject() { InterlockedIncrement(&liveObjects); }
    virtual ~SingleInterfaceObject() { InterlockedDecrement(&liveObjects); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != kInterfaceId) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG left = InterlockedDecrement(&references_);
        if (!left)
            delete this;
        return left;
    }

private:
    LONG references_ = 1;
};

HRESULT CreateCaptureFilter(REFIID iid, void** object);
HRESULT CreateCapturePage(REFIID iid, void** object);
// Lists the property page of the filter and of its pin.
HRESULT ListCapturePage(CAUUID* pages);
